-- Demo data, part 2: 37 invented customers of every category and level,
-- their offers, availability, news, packages and programmes. UTF-8.
-- Dates are computed when the file is loaded, relative to the loading day:
-- date('now','localtime','+3 day') and the like (db/load_pg.sh rewrites
-- these few forms for PostgreSQL).
--
-- Levels: Niva 0 = basic listing, 1 = extended, 2 = premium.
-- Status: B, F, P, G, A are shown; any other status is hidden from searches.

-------------------------------------------------------------------------------
-- Conference venues
-------------------------------------------------------------------------------

-- 1001: the flagship, premium manor house by a lake in the archipelago: every
-- kind of offer, availability, news with a menu and ghost stories, packages.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Kedja, Avtal, Lankod, Kommkod, Tips, Medlem, Klassificering,
  TfaKod, Certifiering, Sprak, Lage, Karaktar, Faciliteter, EgenInr, AktvInriktning, WendInriktning,
  Aktivitetsarrangor, Konferenslokal, Festlokal, Julbord, Logi, Weekendresor, Nyheter,
  Bestallare, BestEpost, BestTom, Oppet, EgenText, EgenTextEng, EgenTextTy, EgenTextMini, EgenTextMiniEng, EgenTextMiniTy,
  Vagbeskrivning, VagbeskrivningEng, VagbeskrivningTy, VagbeskrivningBildfil, Bildfil, MiniBildfil, LogotypeFil,
  Adress, Pstnr, Padress, Landskod, Land, Badress, Tele, MobilTele, Telefax, Epost, TeleText, TeleTextEng, TeleTextTy,
  TeleCentralBokning, EpostCentralBokning, HemsidaCentralBokning, LogotypeCentralBokningFil,
  Markning, Hemsida, HemsidaVR, HemsidaMM, HemsidaFacebook, HemsidaOnlineBokning, OnlineBokningTyp,
  HemsidaOnlineBokningKonf, OnlineBokningTypKonf, Geokodstatus, KartaHemsida, UppdateradKfak,
  AvsSthlm, AvsGbg, AvsMalmo, Ort1, AvsOrt1, Ort2, AvsOrt2, AvsInrFlyg, AvsUtrFlyg, AvsJvg, AvsLokalKomm, AvsCentrum,
  AvsGolf, AvsSkidlift, AvsBadplats, AvsHav, XKoordinat, YKoordinat, Latitud, Longitud)
VALUES ('1001', 'Sjöviks Herrgård', '2', 'B', 'SK', 'T0P0', '01', '20',
  substr(strftime('%Y%m','now','localtime'),3) || ',' || substr(strftime('%Y%m','now','localtime','+1 month'),3), 'S0MM', '4',
  'SJO1001', 'MIKV', 'SVENDEFI', 'SJSG', 'HE', 'BAPOSPWIPA', 'KREKBV', 'KATB', 'SPGO',
  'J', 'J', 'J', 'J', 'J', 'J', 'J',
  'Åsa Lindqvist', 'asa.lindqvist@sjovik.example', date('now','localtime','+200 day'), 'JFMAMJJASOND',
  'Välkommen till <b>Sjöviks Herrgård</b>, en 1700-talsgård vid Ålviken i Värmdös skärgård. Här möts ni i rofylld miljö med utsikt över fjärden, äter närproducerad mat och somnar till ljudet av vågor.<br>Vi tar emot grupper på 5 till 180 personer.',
  'Welcome to <b>Sjövik Manor</b>, an 18th-century estate on the Ålviken bay in the Värmdö archipelago. Meet in peaceful surroundings with a view of the bay, enjoy local food and fall asleep to the sound of the waves.<br>We welcome groups of 5 to 180.',
  'Willkommen auf <b>Gut Sjövik</b>, einem Herrenhof aus dem 18. Jahrhundert an der Bucht Ålviken in den Schären von Värmdö. Tagen Sie in ruhiger Umgebung mit Blick aufs Wasser und genießen Sie regionale Küche.<br>Wir empfangen Gruppen von 5 bis 180 Personen.',
  'Herrgård vid fjärden, 40 minuter från Stockholm.', 'Manor by the bay, 40 minutes from Stockholm.', 'Herrenhaus am Wasser, 40 Minuten von Stockholm.',
  'Ta väg 222 mot Gustavsberg, sväng vänster vid Ålviksskylten och följ grusvägen 3 km till gården.',
  'Take road 222 towards Gustavsberg, turn left at the Ålviken sign and follow the gravel road for 3 km.',
  'Nehmen Sie die Straße 222 Richtung Gustavsberg, biegen Sie am Schild Ålviken links ab und folgen Sie dem Schotterweg 3 km.',
  '/bilder2/kunder/karta_sjovik.png', '/bilder2/kunder/herrgard.png', '/bilder2/kunder/herrgard_mini.png', '/bilder2/kunder/logo_sjovik.png',
  'Ålviksvägen 12', '139 90', 'Värmdö', 'SE', NULL, 'Gårdsplanen, Ålviksvägen 14', '08-570 123 00', '070-123 45 67', '08-570 123 01', 'info@sjovik.example',
  'Receptionen har öppet 07-22 alla dagar.', 'The reception is open 7 am to 10 pm every day.', 'Die Rezeption ist täglich von 7 bis 22 Uhr geöffnet.',
  '0771-11 22 33', 'bokning@sjostugekedjan.example', 'www.sjostugekedjan.example', '/bilder2/kunder/logo_kedja.png',
  'B2', 'www.sjovik.example', 'www.sjovik.example/rundtur', 'www.youtube.com/watch?v=sjovik1700', 'www.facebook.com/sjovikherrgard',
  '1001', 'RUMSBOKAREN', 'sjovik-konferens', 'MOTESBOKAREN', '1', 'J', datetime('now','localtime','-1 day'),
  '35', '470', '610', 'Gustavsberg', '9', 'Nacka', '22', '45', '70', '30', '1', '9', '2', '6', '0,2', '0',
  '6581234', '1645678', '59.3312', '18.4570');

INSERT INTO "Konf" (Kundid, KonfEgenText, KonfEgenTextEng, KonfEgenTextTy, KonfBildfil, KonfKontaktBokning, KonfTeleDir,
  KonfMobilTeleDir, KonfTelefaxDir, KonfEpostDir, Profil, KnfUtrustnAV, KnfUtrustnData, KnfUtrustnOvr, KnfUtrustnText,
  KnfUtrustnTextEng, KnfUtrustnTextTy, AntKonfRum, AntKongressHall, AntGruppRum,
  KonfNamn1, AntBio1, AntSkol1, AntUsittn1, AntSsittn1, AntOar1,
  KonfNamn2, AntBio2, AntSkol2, AntUsittn2, AntSsittn2, AntOar2,
  KonfNamn3, AntBio3, AntSkol3, AntUsittn3, AntSsittn3, AntOar3,
  KonfNamn4, AntBio4, AntSkol4, AntUsittn4, AntSsittn4, AntOar4,
  KonfNamn5, AntBio5, AntSkol5, AntUsittn5, AntSsittn5, AntOar5,
  AntUtsLokal, UtsYtaInomhus, UtsYtaUtomhus, UtsYta1, UtsYta2, PrisDagMin, PrisDagMax, PrisDygnMin, PrisDygnMax)
VALUES ('1001', 'Sju konferensrum i herrgården och ladan, alla med dagsljus och utsikt mot vattnet. Magasinet rymmer 180 personer i biosittning.',
  'Seven conference rooms in the manor and the barn, all with daylight and a view of the water. The Granary seats 180 theatre style.',
  'Sieben Konferenzräume im Herrenhaus und in der Scheune, alle mit Tageslicht und Blick aufs Wasser. Der Speicher fasst 180 Personen.',
  '/bilder2/kunder/konferens.png', 'Maria Öberg', '08-570 123 10', '070-123 45 10', NULL, 'konferens@sjovik.example',
  'KRSMUT', 'PRHOMIVI', 'WISK', 'BLWH', 'Trådlöst nätverk i hela huset. Tekniker finns på plats dagtid.',
  'Wireless network throughout. A technician is on site during the day.', NULL, 7, 1, 4,
  'Magasinet', 180, 96, 40, 30, 120,
  'Biblioteket', 40, 24, 20, 18, 24,
  'Orangeriet', 30, 18, 16, 14, 0,
  '', 0, 0, 0, 12, 0,
  'Ladan', 0, 0, 0, 0, 8,
  1, 300, 1200, 300, 120, 795, 1150, 1995, 2695);

INSERT INTO "Logi" (Kundid, LogiEgenText, LogiEgenTextEng, LogiEgenTextTy, LogiBildfil, LogiKontaktBokning, LogiTeleDir,
  LogiEpostDir, LogiFaciliteter, StndKomfort, StndTeknik, LogiSamarbete, AntBaddar, AntRum, AntEnkel, AntEnTvaBadd,
  AntTvaBadd, AntDubbel, AntKombi, AntFlerBadd, AntMiniSviter, AntSviter, AntHandikapp, AntRokfria, AntAllergi,
  AntLagenhet, AntStugor, PrisMin, PrisMax, InklFrukost)
VALUES ('1001', '62 rum i herrgården och i flyglarna, alla individuellt inredda med gustavianska möbler.',
  '62 rooms in the manor and its wings, each furnished in the Gustavian style.',
  '62 Zimmer im Herrenhaus und in den Flügeln, jedes im gustavianischen Stil eingerichtet.',
  '/bilder2/kunder/hotell.png', 'Jonas Ärlig', '08-570 123 20', 'logi@sjovik.example', 'TVMIHI', 'HO', 'DU', 'SA',
  118, 62, 8, 10, 20, 18, 2, 1, 2, 1, 1, 62, 4, 0, 3, 1195, 1795, 'JA');

INSERT INTO "Rfst" (Kundid, RfstEgenText, RfstEgenTextEng, RfstEgenTextTy, RfstBildfil, RfstKontaktBokning, RfstTeleDir,
  RfstEpostDir, Arrangemang, RfstEgenInr, Temamiddagar, UtrustnFaciliteter, AntMatsalar, AntRest1, AntRest2, AntRest3,
  AntFestvaningar, AntFestSittande, AntFestStaende, AntSbord1, AntLbord1, AntEbord1, AntUbord1, AntSbord2, AntLbord2,
  AntEbord2, AntUbord2, AntSallskapsrum)
VALUES ('1001', 'Köket lagar mat från gårdens egna odlingar och fisk från fjärden.', 'Our kitchen cooks with vegetables from the estate garden and fish from the bay.',
  'Unsere Küche kocht mit Gemüse aus dem eigenen Garten und Fisch aus der Bucht.',
  '/bilder2/kunder/restaurang.png', 'Lotta Strömgren', '08-570 123 30', 'fest@sjovik.example', 'BRJUFO', 'KAUT', 'VIMO', 'DAPILJ',
  2, 120, 40, 0, 1, 160, 250, 160, 120, 90, 60, 0, 40, 0, 30, 3);

INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvEgenTextEng, AktvEgenTextTy, AktvBildfil, AktvKontaktBokning, AktvTeleDir,
  AktvEpostDir, AktvEgenskaper, AktvSport, AktvTeam, AktvSyfte, AktvSasong, AktvVaraktighet, AktvOvr, AktvText, AktvTextEng,
  AktvTextTy, AntAktivitet)
VALUES ('1001', 'Kajakpaddling i skärgården, flottbygge på stranden och skattjakt i parken.', 'Sea kayaking, raft building on the beach and a treasure hunt in the park.',
  'Kajakfahren in den Schären, Floßbau am Strand und eine Schatzsuche im Park.',
  '/bilder2/kunder/kajak.png', 'Erik Ångström', '08-570 123 40', 'aktivitet@sjovik.example', 'UTGU', 'PACY', 'FLSK', 'SAKOGL',
  'VASOHO', 'HAHE', 'UTFI', 'Alla aktiviteter kan kombineras med middag.', 'All activities can be combined with dinner.', NULL, 60);

INSERT INTO "Wend" (Kundid, WendEgenText, WendEgenTextEng, WendEgenTextTy, WendBildfil, WendKontaktBokning, WendTeleDir,
  WendEpostDir, WendAktivitet, WendAvkoppling, WendEgenskaper, WendKulturNoje, WendSasong, WendSyfte, WendOvr, WendText,
  WendTextEng, WendTextTy, WendPrisMin, WendPrisMax)
VALUES ('1001', 'Skärgårdshelg med bastu vid sjön, trerättersmiddag och frukost på sängen.', 'Archipelago weekend with a lakeside sauna, a three-course dinner and breakfast in bed.',
  'Schärenwochenende mit Sauna am See, Drei-Gänge-Menü und Frühstück im Bett.',
  '/bilder2/kunder/weekend.png', 'Jonas Ärlig', '08-570 123 20', 'logi@sjovik.example', 'VACY', 'SPBA', 'PA', 'KO', 'HE', 'ROAV',
  'MASE', 'Fredag till söndag.', 'Friday to Sunday.', 'Freitag bis Sonntag.', 1895, 2495);

INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, JulbBildfil, JulbKontaktBokning, JulbTeleDir,
  JulbEpostDir, JulbInriktning, JulbArrangemang, JulbArrangemangText, AntJulbord, JulbPris1, JulbPrisNot1, JulbPris2,
  JulbPrisNot2, JulbPris3, JulbPrisNot3, JulbPrisBarn, JulbPrisNotBarn)
VALUES ('1001', strftime('%Y','now','localtime'), 'Skärgårdsjulbord i Magasinet',
  'Sill i tolv sorter, gravad lax från fjärden, Janssons frestelse och risgrynsgröt. Julmust och glögg ingår.',
  'Fredagar och lördagar 24 november - 21 december, söndagar julbordsbrunch.', '/bilder2/kunder/julbord.png',
  'Lotta Strömgren', '08-570 123 30', 'julbord@sjovik.example', 'TRSK', 'LUTODA', 'Luciatåg varje lördag kl 19.', 180,
  595, 'fredag och lördag', 495, 'söndagsbrunch', NULL, 'Gruppris för sällskap över 30 personer', 0, 'barn under 6 år äter gratis');

INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
('1001', date('now','localtime'), 20, 40, 'Ring gärna för fler lediga datum!', datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+1 day'), 0, 40, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+3 day'), 30, 120, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+4 day'), 0, 120, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+7 day'), 12, 30, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+8 day'), 0, 8, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+10 day'), 40, 180, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+11 day'), 40, 180, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+14 day'), 0, 24, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+17 day'), 8, 30, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+21 day'), 60, 180, NULL, datetime('now','localtime','-1 day')),
('1001', date('now','localtime','+25 day'), 60, 180, NULL, datetime('now','localtime','-1 day'));

INSERT INTO "Nyht" (KundId, NyhtId, NyhtVisasFom, NyhtVisasTom) VALUES
('1001', 'N1', date('now','localtime','-10 day'), date('now','localtime','+60 day')),
('1001', 'N2', date('now','localtime','-30 day'), date('now','localtime','+300 day')),
('1001', 'N3', date('now','localtime','-90 day'), date('now','localtime','-5 day'));
INSERT INTO "Nyka" (KundId, NyhtId, NyhtKategori) VALUES
('1001', 'N1', 'MENY'), ('1001', 'N2', 'SPOKEN'), ('1001', 'N3', 'UDDARUM');

INSERT INTO "Kopa" (KopaId, Kundid, KopaNamn, KopaNamnEng, KopaNamnTy, KopaVisasFom, KopaVisasTom) VALUES
('KP1', '1001', 'Dagkonferens Ålviken', 'Day conference Ålviken', 'Tageskonferenz Ålviken', date('now','localtime','-30 day'), date('now','localtime','+180 day')),
('KP2', '1001', 'Internat med skärgårdsmiddag', 'Residential with archipelago dinner', NULL, date('now','localtime','-30 day'), date('now','localtime','+180 day')),
('KP3', '1001', 'Höstpaket (utgånget)', 'Autumn package (expired)', NULL, date('now','localtime','-200 day'), date('now','localtime','-10 day')),
('KP4', '1001', 'Vinterpaket (kommande)', 'Winter package (coming)', NULL, date('now','localtime','+30 day'), date('now','localtime','+120 day'));
INSERT INTO "Akpr" (AkprId, Kundid, AkprNamn, AkprNamnEng, AkprNamnTy, AkprVisasFom, AkprVisasTom) VALUES
('AP1', '1001', 'Kajaksafari i skärgården', 'Sea kayak safari', 'Kajaksafari in den Schären', date('now','localtime','-30 day'), date('now','localtime','+90 day')),
('AP2', '1001', 'Flottbygge och skattjakt', 'Raft building and treasure hunt', NULL, date('now','localtime','-30 day'), date('now','localtime','+90 day'));
INSERT INTO "Wepa" (WepaId, Kundid, WepaNamn, WepaNamnEng, WepaNamnTy, WepaVisasFom, WepaVisasTom) VALUES
('WP1', '1001', 'Romantisk skärgårdshelg', 'Romantic archipelago weekend', 'Romantisches Schärenwochenende', date('now','localtime','-10 day'), date('now','localtime','+100 day'));

-- 1002: a day-conference centre in a stable yard in Uppsala; its
-- availability rows are older than a week (shown as "contact us").
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Sprak, Lage, Karaktar, Faciliteter,
  EgenText, EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus,
  UppdateradKfak, AvsSthlm, AvsCentrum, AvsJvg, AvsInrFlyg, AvsUtrFlyg, Klassificering, Tips)
VALUES ('1002', 'Stallgården Konferens', '1', 'F', '03', '80', 'J', 'SVEN', 'STLA', 'KO', 'WIPA',
  'Dagkonferens i ett ombyggt stall från 1880-talet, fem minuter från Uppsala centralstation.',
  'Day conferences in a converted 1880s stable, five minutes from Uppsala central station.', NULL,
  '/bilder2/kunder/stall.png', 'Stallgatan 4', '753 20', 'Uppsala', 'SE', '018-12 34 50', 'hej@stallgarden.example',
  'www.stallgarden.example', 'JFMAMJ  SOND', '2', datetime('now','localtime','-20 day'), '70', '1', '1', '35', '35', '3',
  substr(strftime('%Y%m','now','localtime'),3));
INSERT INTO "Konf" (Kundid, KonfEgenText, AntKonfRum, AntGruppRum, KonfNamn1, AntBio1, AntSkol1, AntUsittn1, AntSsittn1,
  KonfNamn2, AntBio2, AntSsittn2, PrisDagMin, PrisDagMax)
VALUES ('1002', 'Fyra ljusa rum med whiteboardväggar och höj- och sänkbara bord.', 3, 2, 'Sadelkammaren', 60, 36, 24, 20,
  'Höskullen', 24, 14, 545, 545);
INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
('1002', date('now','localtime','+2 day'), 0, 60, NULL, datetime('now','localtime','-20 day')),
('1002', date('now','localtime','+5 day'), 0, 60, NULL, datetime('now','localtime','-20 day'));

-- 1003: a mountain conference hotel with spa, weekend packages and a
-- Christmas buffet of this year.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Kedja, Lankod, Kommkod, Konferenslokal, Logi, Weekendresor,
  Aktivitetsarrangor, Julbord, Sprak, Lage, Karaktar, Faciliteter, EgenInr, AktvInriktning, Medlem, Klassificering,
  EgenText, EgenTextEng, EgenTextTy, Bildfil, MiniBildfil, LogotypeFil, Adress, Pstnr, Padress, Landskod, Tele, Telefax,
  Epost, Hemsida, HemsidaFacebook, HemsidaOnlineBokning, Oppet, Geokodstatus, UppdateradKfak, Avtal,
  AvsSthlm, AvsGbg, AvsMalmo, Ort1, AvsOrt1, AvsInrFlyg, AvsJvg, AvsSkidlift, AvsCentrum, XKoordinat, YKoordinat)
VALUES ('1003', 'Fjällstugan Åre Konferens & Spa', '2', 'P', 'NH', '23', '21', 'J', 'J', 'J', 'J', 'J', 'SVENDE', 'FJ', 'HO',
  'BASPGYWI', 'BV', 'SK', 'EK', '4',
  'Konferens, skidåkning och spa på 800 meters höjd. Liften går tvåhundra meter från entrén.',
  'Conferences, skiing and spa at 800 metres. The ski lift is two hundred metres from the entrance.',
  'Tagungen, Skifahren und Spa auf 800 Metern Höhe. Der Lift ist zweihundert Meter vom Eingang entfernt.',
  '/bilder2/kunder/fjall.png', '/bilder2/kunder/fjall_mini.png', '/bilder2/kunder/logo_fjallstugan.png',
  'Fjällvägen 88', '837 52', 'Åre', 'SE', '0647-500 00', '0647-500 01', 'info@fjallstugan.example', 'www.fjallstugan.example',
  'www.facebook.com/fjallstugan', 'https-less.fjallstugan.example/boka', 'JFMA    SOND', '3', datetime('now','localtime','-3 day'), 'P5',
  '620', '750', '1190', 'Östersund', '100', '80', '2', '0,2', '1', '7034567', '1398765');
INSERT INTO "Konf" (Kundid, KonfEgenText, KonfEgenTextEng, AntKonfRum, AntGruppRum, KonfNamn1, AntBio1, AntSkol1, AntUsittn1,
  AntSsittn1, AntOar1, KonfNamn2, AntBio2, AntSkol2, AntUsittn2, AntSsittn2, PrisDagMin, PrisDygnMin, PrisDygnMax)
VALUES ('1003', 'Två konferensrum med panoramafönster mot Åreskutan.', 'Two conference rooms with panoramic windows facing the mountain.',
  2, 6, 'Toppstugan', 120, 70, 40, 30, 80, 'Dalsalen', 40, 24, 18, 16, 695, 2195, 0);
INSERT INTO "Logi" (Kundid, LogiEgenText, AntBaddar, AntRum, AntDubbel, AntSviter, AntLagenhet, AntStugor, PrisMin, PrisMax, InklFrukost, StndKomfort, StndTeknik)
VALUES ('1003', 'Rum i huvudbyggnaden och fjällägenheter med egen bastu.', 210, 80, 70, 10, 24, 6, 0, 2400, 'JA', 'HO', 'DU');
INSERT INTO "Wend" (Kundid, WendEgenText, WendAktivitet, WendAvkoppling, WendSasong, WendPrisMin, WendPrisMax, WendKontaktBokning)
VALUES ('1003', 'Skidhelg med liftkort och spa.', 'VA', 'SP', 'HE', 2900, 2900, 'Sara Fjällström');
INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvSport, AktvSasong, AntAktivitet) VALUES ('1003', 'Skidskola och snöskoterturer.', 'SK', 'VI', 40);
INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, JulbInriktning, AntJulbord, JulbPris1, JulbPrisNot1, JulbPrisBarn)
VALUES ('1003', strftime('%Y','now','localtime'), 'Fjälljulbord', 'Renskav, rökt röding och hjortronparfait.', 'Lördagar i december.', 'TR', 140, 650, NULL, 295);
INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
('1003', date('now','localtime','+2 day'), 50, 120, 'Fjällbjörkens veckor: 20 % rabatt.', datetime('now','localtime','-3 day')),
('1003', date('now','localtime','+9 day'), 0, 40, NULL, datetime('now','localtime','-3 day')),
('1003', date('now','localtime','+16 day'), 20, 120, NULL, datetime('now','localtime','-3 day'));
INSERT INTO "Wepa" (WepaId, Kundid, WepaNamn, WepaNamnEng, WepaNamnTy, WepaVisasFom, WepaVisasTom) VALUES
('WP2', '1003', 'Skidhelg med spa', 'Ski weekend with spa', 'Skiwochenende mit Spa', date('now','localtime','-10 day'), date('now','localtime','+150 day'));

-- 1004: a congress centre in Stockholm with exhibition space.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Sprak, Lage, Certifiering, EgenText,
  EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Badress, Tele, Epost, Hemsida, HemsidaOnlineBokningKonf,
  OnlineBokningTypKonf, Oppet, Geokodstatus, UppdateradKfak, AvsCentrum, AvsJvg, AvsLokalKomm, AvsUtrFlyg, AvsInrFlyg, TfaKod)
VALUES ('1004', 'Kvarnholmens Konferenscenter', '1', 'B', '01', '80', 'J', 'SVENFR', 'ST', 'KVTI',
  'Kongresser och mässor för upp till 900 deltagare i en ombyggd kvarn vid Saltsjön.',
  'Congresses and fairs for up to 900 delegates in a converted mill by the water.',
  'Kongresse und Messen für bis zu 900 Teilnehmer in einer umgebauten Mühle am Wasser.',
  '/bilder2/kunder/kongress.png', 'Box 1204', '111 82', 'Stockholm', 'SE', 'Kvarnkajen 2, Stockholm', '08-410 200 00',
  'kongress@kvarnholmen.example', 'www.kvarnholmen.example', 'kvarnholmen', 'MOTESBOKAREN', 'JFMAMJ  SOND', '1',
  datetime('now','localtime'), '2', '3', '0,1', '40', '9', 'KVH1004');
INSERT INTO "Konf" (Kundid, KonfEgenText, Profil, KnfUtrustnAV, KnfUtrustnText, AntKonfRum, AntKongressHall, AntGruppRum,
  KonfNamn1, AntBio1, AntSkol1, AntUsittn1, AntSsittn1, AntOar1, KonfNamn2, AntBio2, AntSkol2, AntUsittn2, AntSsittn2, AntOar2,
  KonfNamn3, AntBio3, AntSkol3, KonfNamn4, AntBio4, AntSkol4, KonfNamn5, AntBio5, AntSkol5,
  AntUtsLokal, UtsYtaInomhus, UtsYtaUtomhus, UtsYta1, UtsYta2, UtsYta3, UtsYta4, UtsYta5, PrisDagMin, PrisDagMax, PrisDygnMin, PrisDygnMax)
VALUES ('1004', 'Kongresshall med fast scen och tolkbås.', 'ST', 'PRHOMIVI', 'Tolkutrustning för fyra språk.', 12, 1, 10,
  'Kvarnsalen', 900, 450, 0, 0, 400, 'Siloetagen', 220, 120, 50, 40, 150, 'Mjölnaren', 60, 40, 'Kvarnstenen', 40, 24,
  'Vattenhjulet', 24, 16, 3, 2400, 800, 1200, 600, 300, 200, 100, 595, 895, 0, 0);
INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
('1004', date('now','localtime','+1 day'), 0, 220, 'Hotellrum bokas via Stockholms hotellförmedling.', datetime('now','localtime')),
('1004', date('now','localtime','+2 day'), 0, 900, NULL, datetime('now','localtime')),
('1004', date('now','localtime','+6 day'), 0, 60, NULL, datetime('now','localtime')),
('1004', date('now','localtime','+13 day'), 0, 900, NULL, datetime('now','localtime')),
('1004', date('now','localtime','+20 day'), 0, 900, NULL, datetime('now','localtime'));
INSERT INTO "Kopa" (KopaId, Kundid, KopaNamn, KopaNamnEng, KopaNamnTy, KopaVisasFom, KopaVisasTom) VALUES
('KP5', '1004', 'Kongresspaket heldag', 'Full-day congress package', 'Kongresspaket ganztags', date('now','localtime','-60 day'), date('now','localtime','+365 day'));

-- 1005: a harbour warehouse with conference rooms, restaurant and party floor.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Festlokal, Sprak, Lage, Karaktar,
  EgenText, EgenTextEng, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, MobilTele, Epost, Hemsida, HemsidaVR, Oppet,
  Geokodstatus, AvsMalmo, AvsCentrum, AvsHav, AvsBadplats, AvsJvg, Tips)
VALUES ('1005', 'Hamnmagasinet Ystad', '1', 'G', '12', '86', 'J', 'J', 'SVDE', 'HAST', 'HO',
  'Konferens och fest i ett rött tegelmagasin vid hamnen. Färjorna till Bornholm lägger till utanför fönstren.',
  'Conferences and parties in a red-brick warehouse on the harbour.', '/bilder2/kunder/magasin.png',
  'Hamngatan 1', '271 39', 'Ystad', 'SE', '0411-55 66 70', '0709-55 66 71', 'info@hamnmagasinet.example',
  'www.hamnmagasinet.example', 'www.hamnmagasinet.example/360', 'JFMAMJJASOND', '12', '60', '0,5', '0,05', '1', '0,4',
  substr(strftime('%Y%m','now','localtime','+1 month'),3));
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1, AntSkol1, AntUsittn1, KonfNamn2, AntBio2, AntSkol2, PrisDagMin, PrisDagMax)
VALUES ('1005', 2, 'Loftet', 80, 48, 30, 'Kajrummet', 20, 12, 0, 650);
INSERT INTO "Rfst" (Kundid, RfstEgenText, Arrangemang, AntMatsalar, AntRest1, AntRest2, AntFestvaningar, AntFestSittande,
  AntFestStaende, AntSbord1, AntLbord1, AntSallskapsrum)
VALUES ('1005', 'Skånsk husmanskost och färsk fisk från hamnen.', 'BRJUFO', 1, 90, 0, 1, 110, 200, 110, 90, 1);

-- 1006: a basic listing (level 0) of an inn: only the customer tab.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Logi, Sprak, Lage, Karaktar, EgenText,
  Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Certifiering, Oppet, Geokodstatus, VisaEjTele)
VALUES ('1006', 'Gästgiveriet Lilla Bön', '0', 'A', '08', '84', 'J', 'J', 'SV', 'LA', 'PE',
  'Ett litet gästgiveri i Vimmerbys skogar.', '/bilder2/kunder/torp.png', 'Bönvägen 3', '598 91', 'Vimmerby', 'SE',
  '0492-300 00', 'lillabon@example.se', 'MI', '    MJJA    ', '4', 'J');
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1) VALUES ('1006', 1, 'Salongen', 20);
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum) VALUES ('1006', 14, 7);

-------------------------------------------------------------------------------
-- Lodging
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Logi, Sprak, Lage, Karaktar, Faciliteter, EgenText,
  EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus,
  AvsCentrum, AvsSkidlift, AvsBadplats, AvsJvg)
VALUES ('1007', 'Vandrarhemmet Tallbacken', '1', 'B', '20', '62', 'J', 'SVENDE', 'SKSJ', 'VA', 'BAPA',
  'Vandrarhem i timmerhus vid Siljans strand. Lägenheter och stugor för familjer och grupper.',
  'Log-house hostel on the shore of Lake Siljan. Apartments and cottages for families and groups.',
  'Jugendherberge in Blockhäusern am Siljansee. Wohnungen und Hütten für Familien und Gruppen.',
  '/bilder2/kunder/vandrarhem.png', 'Tallbacksvägen 9', '792 30', 'Mora', 'SE', '0250-100 20', 'tallbacken@example.se',
  'www.tallbacken.example', 'JFMAMJJASOND', '1', '2', '15', '0,3', '2');
INSERT INTO "Logi" (Kundid, LogiEgenText, LogiEgenTextEng, LogiFaciliteter, StndKomfort, StndTeknik, AntBaddar, AntRum, AntEnkel,
  AntTvaBadd, AntFlerBadd, AntHandikapp, AntRokfria, AntAllergi, AntLagenhet, AntStugor, PrisMin, PrisMax, InklFrukost)
VALUES ('1007', 'Egen kokmöjlighet i varje hus.', 'Self-catering in every house.', 'KO', 'EN', 'KO', 64, 22, 4, 12, 6, 1, 22, 2, 3, 5,
  295, 650, 'NE');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Logi, Aktivitetsarrangor, Festlokal, Sprak, Lage, Karaktar,
  Faciliteter, AktvInriktning, EgenText, EgenTextEng, EgenTextTy, Bildfil, LogotypeFil, Adress, Pstnr, Padress, Landskod, Tele,
  Epost, Hemsida, HemsidaMM, Oppet, Geokodstatus, AvsInrFlyg, AvsUtrFlyg, AvsCentrum, AvsJvg, Klassificering, Tips, Medlem)
VALUES ('1008', 'Hotell Norrskenet', '2', 'B', '25', '84', 'J', 'J', 'J', 'SVENDEFI', 'FJ', 'HO', 'BAWIGY', 'SK',
  'Hotell i Kiruna med glastak i restaurangen, så att ni kan se norrskenet medan ni äter.',
  'A hotel in Kiruna with a glass-roofed restaurant, so you can watch the northern lights while you dine.',
  'Ein Hotel in Kiruna mit Glasdach über dem Restaurant, damit Sie beim Essen das Nordlicht sehen.',
  '/bilder2/kunder/norrsken.png', '/bilder2/kunder/logo_norrsken.png', 'Malmvägen 40', '981 31', 'Kiruna', 'SE', '0980-123 00',
  'info@norrskenet.example', 'www.norrskenet.example', 'vimeo.example/norrskenet', 'JFMA   ASOND', '2', '8', '8', '0,5', '1', '3',
  substr(strftime('%Y%m','now','localtime'),3), 'S0');
INSERT INTO "Logi" (Kundid, LogiEgenText, AntBaddar, AntRum, AntEnkel, AntDubbel, AntSviter, PrisMin, PrisMax, InklFrukost, LogiKontaktBokning, LogiTeleDir)
VALUES ('1008', 'Rum med mörkläggningsgardiner och väckning vid norrsken.', 92, 46, 6, 36, 4, 1450, 1450, 'JA', 'Nils Mäkelä', '0980-123 10');
INSERT INTO "Rfst" (Kundid, RfstEgenText, Temamiddagar, AntMatsalar, AntRest1, AntFestSittande) VALUES ('1008', 'Samisk meny med ren, röding och lingon.', 'VI', 1, 80, 80);
INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvSport, AktvEgenskaper, AktvSasong, AktvVaraktighet, AntAktivitet)
VALUES ('1008', 'Hundspann, snöskoter och norrskensjakt.', 'SK', 'UTGU', 'VI', 'HAHE', 24);
INSERT INTO "Akpr" (AkprId, Kundid, AkprNamn, AkprNamnEng, AkprNamnTy, AkprVisasFom, AkprVisasTom) VALUES
('AP3', '1008', 'Norrskensjakt med hundspann', 'Northern lights by dog sled', 'Nordlichtjagd mit Hundeschlitten', date('now','localtime','-5 day'), date('now','localtime','+120 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Logi, Weekendresor, Sprak, Lage, Karaktar, EgenText,
  EgenTextEng, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus, AvsHav, AvsBadplats, AvsGbg, AvsGolf)
VALUES ('1009', 'Strandpensionatet Hav & Sand', '1', 'F', '13', '80', 'J', 'J', 'SVDE', 'HA', 'PE',
  'Pensionat i sekelskiftesstil direkt på stranden. Sommarens bästa frukost enligt gästerna.',
  'A turn-of-the-century guest house right on the beach.', '/bilder2/kunder/strand.png', 'Strandpromenaden 21', '302 70', 'Halmstad',
  'SE', '035-70 80 90', 'hej@havochsand.example', 'www.havochsand.example', '   AMJJAS   ', '2', '0,05', '0,05', '140', '4');
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum, AntDubbel, AntEnkel, PrisMin, PrisMax, InklFrukost) VALUES ('1009', 30, 16, 12, 4, 895, 0, 'JA');
INSERT INTO "Wend" (Kundid, WendEgenText, WendSasong, WendSyfte, WendPrisMin, WendPrisMax) VALUES ('1009', 'Strandhelg med cykel och picknickkorg.', 'SO', 'AV', 0, 1795);
INSERT INTO "Wepa" (WepaId, Kundid, WepaNamn, WepaNamnEng, WepaNamnTy, WepaVisasFom, WepaVisasTom) VALUES
('WP3', '1009', 'Strandhelg', 'Beach weekend', 'Strandwochenende', date('now','localtime','-10 day'), date('now','localtime','+60 day'));

-------------------------------------------------------------------------------
-- Restaurants and party floors
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Festlokal, Julbord, Nyheter, Sprak, Lage, EgenText,
  EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus,
  AvsCentrum, AvsJvg, EjBoknFF)
VALUES ('1010', 'Restaurang Kopparkitteln', '1', 'B', '20', '80', 'J', 'J', 'J', 'SVEN', 'ST',
  'Restaurang i gamla gruvkontoret i Falun. Kopparkittelns pyttipanna har serverats sedan 1952.',
  'A restaurant in the old mine office in Falun, serving its famous hash since 1952.',
  'Ein Restaurant im alten Grubenbüro von Falun.', '/bilder2/kunder/restaurang2.png', 'Gruvgatan 7', '791 61', 'Falun', 'SE',
  '023-150 00', 'bord@kopparkitteln.example', 'www.kopparkitteln.example', 'JFMAMJJASOND', '1', '0,2', '1', 'j');
INSERT INTO "Rfst" (Kundid, RfstEgenText, RfstEgenTextEng, RfstBildfil, Arrangemang, RfstEgenInr, Temamiddagar, UtrustnFaciliteter,
  AntMatsalar, AntRest1, AntRest2, AntRest3, AntFestvaningar, AntFestSittande, AntFestStaende, AntSbord1, AntLbord1, AntEbord1,
  AntUbord1, AntSbord2, AntLbord2, AntSbord3, AntSallskapsrum, RfstKontaktBokning, RfstEpostDir)
VALUES ('1010', 'Tre matsalar och en festvåning i källarvalven.', 'Three dining rooms and a banquet hall in the vaulted cellar.',
  '/bilder2/kunder/fest.png', 'JUFOMI', 'KA', 'MO', 'DALJ', 3, 60, 40, 24, 2, 140, 200, 140, 120, 90, 60, 60, 50, 30, 2,
  'Pernilla Koppar', 'fest@kopparkitteln.example');
INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, JulbInriktning, JulbArrangemang, AntJulbord, JulbPris1,
  JulbPrisNot1, JulbPris2, JulbPrisNot2, JulbPrisNotBarn)
VALUES ('1010', strftime('%Y','now','localtime'), 'Bergsmansjulbord', 'Dalasill, kalvsylta, prinskorv och saffranspannkaka.',
  'Alla dagar 28 november - 23 december.', 'TRVE', 'TO', 140, 545, 'lunch', 695, 'kväll', 'barnpris halva priset');
INSERT INTO "Nyht" (KundId, NyhtId, NyhtVisasFom, NyhtVisasTom) VALUES ('1010', 'M1', date('now','localtime','-3 day'), date('now','localtime','+30 day'));
INSERT INTO "Nyka" (KundId, NyhtId, NyhtKategori) VALUES ('1010', 'M1', 'MENY');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Festlokal, Sprak, Lage, EgenText, EgenTextEng, Bildfil,
  Adress, Pstnr, Padress, Landskod, Tele, Telefax, Epost, Hemsida, Oppet, Geokodstatus, AvsCentrum, AvsLokalKomm, Tips)
VALUES ('1011', 'Festvåningen Gula Villan', '1', 'P', '14', '80', 'J', 'SVEN', 'ST',
  'Jugendvilla med tre salonger för bröllop, jubileer och minnesstunder.', 'An Art Nouveau villa for weddings and anniversaries.',
  '/bilder2/kunder/villa.png', 'Villagatan 5', '411 38', 'Göteborg', 'SE', '031-20 30 40', '031-20 30 41', 'fest@gulavillan.example',
  'www.gulavillan.example', 'JFMAMJJASOND', '3', '1', '0,2', substr(strftime('%Y%m','now','localtime','-1 month'),3));
INSERT INTO "Rfst" (Kundid, Arrangemang, AntFestvaningar, AntFestSittande, AntFestStaende, AntLbord1, AntUbord1, AntSbord2, AntEbord2, AntSallskapsrum)
VALUES ('1011', 'BRJUMI', 3, 150, 220, 150, 60, 40, 36, 1);

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Festlokal, Julbord, Sprak, Lage, EgenText, Bildfil,
  Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus, AvsSthlm, AvsHav)
VALUES ('1012', 'Krogen Ankaret', '1', 'B', '01', '87', 'J', 'J', 'SV', 'SGHA',
  'Krog på bryggan i Vaxholm med skärgårdsbåten utanför dörren.', '/bilder2/kunder/krog.png', 'Hamngatan 2', '185 32', 'Vaxholm', 'SE',
  '08-541 300 00', 'ankaret@example.se', 'www.ankaret.example', '   AMJJAS   ', '1', '35', '0');
INSERT INTO "Rfst" (Kundid, AntRest1, AntFestSittande) VALUES ('1012', 70, 60);
-- Last year's Christmas buffet: the tab shows only from September, and the
-- texts ask the visitor to call.
INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, AntJulbord, JulbPris1, JulbBildfil)
VALUES ('1012', strftime('%Y','now','localtime','-1 year'), 'Julbord på bryggan', 'Förra årets julbord.', 'December.', 60, 495, '/bilder2/kunder/julbord.png');

-------------------------------------------------------------------------------
-- Activity organisers
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Aktivitetsarrangor, Sprak, AktvInriktning, EgenText,
  EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, MobilTele, Epost, Hemsida, HemsidaFacebook, Oppet,
  Geokodstatus, AvsCentrum, Tips)
VALUES ('1013', 'Äventyrsbolaget Forsränning', '1', 'B', '17', '80', 'J', 'SVENDE', 'FOTB',
  'Forsränning, flottfärder och kanot på Klarälven för grupper från 6 till 200 personer.',
  'White-water rafting, log rafting and canoeing on the Klarälven river for groups of 6 to 200.',
  'Rafting, Floßfahrten und Kanu auf dem Klarälven für Gruppen von 6 bis 200 Personen.',
  '/bilder2/kunder/forsranning.png', 'Älvvägen 100', '653 40', 'Karlstad', 'SE', '054-22 33 44', '070-222 33 44',
  'fors@aventyrsbolaget.example', 'www.aventyrsbolaget.example', 'www.facebook.com/aventyrsbolaget', '   AMJJAS   ', '1', '12',
  substr(strftime('%Y%m','now','localtime'),3));
INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvEgenTextEng, AktvBildfil, AktvKontaktBokning, AktvMobilTeleDir, AktvEgenskaper,
  AktvSport, AktvTeam, AktvSyfte, AktvSasong, AktvVaraktighet, AktvOvr, AktvText, AntAktivitet)
VALUES ('1013', 'Våra guider har certifikat i forsräddning.', 'All our guides are certified in river rescue.', '/bilder2/kunder/forsranning.png',
  'Olle Forsberg', '070-222 33 45', 'UTGU', 'FOPA', 'FLOR', 'SAGL', 'VASOHO', 'HAHETI', 'UTFI', 'Våtdräkter finns i alla storlekar.', 200);
INSERT INTO "Akpr" (AkprId, Kundid, AkprNamn, AkprNamnEng, AkprNamnTy, AkprVisasFom, AkprVisasTom) VALUES
('AP4', '1013', 'Forsränning halvdag', 'Half-day rafting', 'Rafting halbtags', date('now','localtime','-30 day'), date('now','localtime','+200 day')),
('AP5', '1013', 'Flottfärd med övernattning', 'Log raft trip with overnight stay', NULL, date('now','localtime','-30 day'), date('now','localtime','+200 day')),
('AP6', '1013', 'Vinterpaddling (avslutad)', 'Winter paddling (ended)', NULL, date('now','localtime','-300 day'), date('now','localtime','-1 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Aktivitetsarrangor, Sprak, AktvInriktning, EgenText,
  EgenTextEng, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus, AvsHav, AvsCentrum)
VALUES ('1014', 'Gotlands Kajak & Cykel', '1', 'F', '09', '80', 'J', 'SVEN', 'KACY',
  'Kajakturer längs raukarna och cykelturer mellan kyrkorna på norra Gotland.', 'Kayaking along the sea stacks and cycling between the churches of northern Gotland.',
  '/bilder2/kunder/kajak.png', 'Strandvägen 3', '621 57', 'Visby', 'SE', '0498-21 21 21', 'tur@gotlandskajak.example',
  'www.gotlandskajak.example', '    MJJAS   ', '2', '0', '1');
INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvSport, AktvSasong, AntAktivitet) VALUES ('1014', 'Guidade turer varje dag klockan 10.', 'PACY', 'SO', 30);

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Aktivitetsarrangor, Sprak, AktvInriktning, EgenText, Adress,
  Pstnr, Padress, Landskod, Tele, Epost, Oppet)
VALUES ('1015', 'Skogens Teambuilding', '0', 'A', '06', '80', 'J', 'SV', 'TB', 'Teambuilding i skogarna söder om Jönköping.',
  'Skogsstigen 1', '556 10', 'Jönköping', 'SE', '036-10 20 30', 'skog@example.se', 'JFMAMJJASOND');
INSERT INTO "Aktv" (Kundid, AntAktivitet) VALUES ('1015', 40);

-------------------------------------------------------------------------------
-- Entertainers
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Underhallning, Sprak, UndhGenre, EgenText, EgenTextEng,
  EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, MobilTele, Epost, Hemsida, HemsidaMM, Oppet)
VALUES ('1016', 'Trion Dragspelsdrömmar', '1', 'B', '05', '80', 'J', 'SVDE', 'DR',
  'Tre dragspel, en kontrabas och fyrtio års erfarenhet av gammeldans, schlager och vals.',
  'Three accordions, a double bass and forty years of old-time dance music.', 'Drei Akkordeons, ein Kontrabass und vierzig Jahre Tanzmusik.',
  '/bilder2/kunder/dragspel.png', 'Musikvägen 8', '582 22', 'Linköping', 'SE', '073-111 22 33', 'spela@dragspelsdrommar.example',
  'www.dragspelsdrommar.example', 'www.youtube.com/watch?v=dragspel3', 'JFMAMJJASOND');
INSERT INTO "Undh" (Kundid, UndhEgenText, UndhEgenTextEng, UndhEgenTextTy, UndhBildfil, UndhKontaktBokning, UndhTeleDir, UndhEpostDir,
  UndhMerit, UndhMeritEng, UndhMeritTy, UndhReferens, UndhReferensEng, UndhReferensTy, UndhEgenskaper, UndhForedrag, UndhMusik,
  UndhScenkonst, UndhSyfte, UndhSasong, UndhVaraktighet, UndhArrangemang, UndhMalgrupp, UndhOvr, UndhText, UndhTextEng, UndhTextTy)
VALUES ('1016', 'Vi spelar till dans eller som taffelmusik under middagen.', 'We play for dancing or as dinner music.',
  'Wir spielen zum Tanz oder als Tafelmusik.', '/bilder2/kunder/dragspel.png', 'Göte Bälg', '073-111 22 33', 'gote@dragspelsdrommar.example',
  'Vinnare av Dragspelsgalan i Ösmo 1998.', 'Winners of the Ösmo accordion gala 1998.', 'Gewinner der Akkordeon-Gala Ösmo 1998.',
  'Sjöviks Herrgård, Kopparkitteln, Linköpings stadsfest.', 'Sjövik Manor, Kopparkitteln, Linköping town festival.', NULL,
  'AKEG', 'HU', 'DAVITA', '', 'FEKI', 'HEJU', 'TIKV', 'BRFO', 'VUBA', 'RE', 'Vi tar med egen ljudanläggning.',
  'We bring our own sound system.', 'Wir bringen unsere eigene Musikanlage mit.');
INSERT INTO "Unpr" (UnprId, Kundid, UnprNamn, UnprNamnEng, UnprNamnTy, UnprVisasFom, UnprVisasTom) VALUES
('UP1', '1016', 'Gammeldanskväll', 'Old-time dance evening', 'Tanzabend', date('now','localtime','-400 day'), date('now','localtime','+100 day')),
('UP2', '1016', 'Taffelmusik till julbordet', 'Christmas dinner music', NULL, date('now','localtime','+10 day'), date('now','localtime','+100 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Underhallning, Foredrag, Sprak, UndhGenre, FdagInriktning,
  EgenText, EgenTextEng, Bildfil, Adress, Pstnr, Padress, Landskod, MobilTele, Epost, Hemsida, Oppet)
VALUES ('1017', 'Trollkarlen Magnus Ödman', '1', 'B', '18', '80', 'J', 'J', 'SVEN', 'TR', 'MO',
  'Trolleri vid borden, på scenen och som inspirerande föredrag om det omöjliga.', 'Close-up magic, stage shows and inspiring talks about the impossible.',
  '/bilder2/kunder/trollkarl.png', 'Trollvägen 13', '702 10', 'Örebro', 'SE', '076-131 31 31', 'magnus@odmanmagi.example',
  'www.odmanmagi.example', 'JFMAMJJASOND');
INSERT INTO "Undh" (Kundid, UndhEgenText, UndhScenkonst, UndhForedrag, UndhMalgrupp, UndhSyfte, UndhText)
VALUES ('1017', 'Bordstrolleri under middagen, en show efter kaffet.', 'TR', 'HU', 'VUBA', 'FE', 'Reser gärna, även utomlands.');
INSERT INTO "Fdag" (Kundid, FdagEgenText, FdagEgenTextEng, FdagMerit, FdagForetag, FdagPersUtv, FdagVaraktighet, FdagMalgrupp)
VALUES ('1017', 'Föredraget "Det omöjliga tar lite längre tid" om kreativitet och mod.', 'The talk "The impossible just takes a little longer".',
  'Svensk mästare i trolleri 2011.', 'FO', 'ST', 'TI', 'AL');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Underhallning, Sprak, UndhGenre, EgenText, Bildfil, Adress,
  Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet)
VALUES ('1018', 'Improgruppen Ögonblick', '1', 'G', '12', '80', 'J', 'SVEN', 'IMST',
  'Improvisationsteater där publiken bestämmer vad som händer. Passar kick-off och fest.', '/bilder2/kunder/scen.png', 'Teatergatan 2',
  '211 34', 'Malmö', 'SE', '040-12 12 12', 'hej@ogonblick.example', 'www.ogonblick.example', 'JFMAMJJASOND');
INSERT INTO "Undh" (Kundid, UndhScenkonst, UndhSyfte, UndhVaraktighet, UndhMerit) VALUES ('1018', 'IM', 'KIFE', 'TI', 'Har spelat på över 400 företagsfester.');

-------------------------------------------------------------------------------
-- Lecturers
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Foredrag, Sprak, FdagInriktning, EgenText, EgenTextEng,
  EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, MobilTele, Epost, Hemsida, Oppet, Tips)
VALUES ('1019', 'Karin Åberg Föreläsningar', '1', 'B', '01', '80', 'J', 'SVENDE', 'LEHAMO',
  'Karin Åberg föreläser om ledarskap, återhämtning och hur man leder sig själv i förändring.',
  'Karin Åberg speaks about leadership, recovery and leading yourself through change.',
  'Karin Åberg spricht über Führung, Erholung und Selbstführung im Wandel.',
  '/bilder2/kunder/forelasare.png', 'Sveavägen 99', '113 50', 'Stockholm', 'SE', '070-999 88 77', 'karin@karinaberg.example',
  'www.karinaberg.example', 'JFMAMJ  SOND', substr(strftime('%Y%m','now','localtime'),3));
INSERT INTO "Fdag" (Kundid, FdagEgenText, FdagEgenTextEng, FdagEgenTextTy, FdagBildfil, FdagKontaktBokning, FdagTeleDir, FdagEpostDir,
  FdagMerit, FdagMeritEng, FdagMeritTy, FdagReferens, FdagReferensEng, FdagReferensTy, FdagEgenskaper, FdagMalgrupp, FdagVaraktighet,
  FdagForetag, FdagPersUtv, FdagNoje, FdagOvr, FdagText, FdagTextEng, FdagTextTy)
VALUES ('1019', 'Föreläsningar på 45 minuter eller halvdagar med workshop.', 'Talks of 45 minutes or half-day workshops.',
  'Vorträge von 45 Minuten oder halbtägige Workshops.', '/bilder2/kunder/forelasare.png', 'Lisa Ärnström', '08-999 88 00',
  'bokning@karinaberg.example', 'Fil. dr i organisationspsykologi. Tidigare vd för Åbergs Resor.', 'PhD in organisational psychology. Former CEO of Åberg Travel.',
  'Promovierte Organisationspsychologin.', 'Uppsala kommun, Sjöviks Herrgård, Norrlands bank.', 'Uppsala municipality, Sjövik Manor.', NULL,
  'INBI', 'CHAL', 'TIHA', 'LEFO', 'ST', 'HI', 'EN', 'Material skickas ut före föreläsningen.', 'Material is sent out before the talk.', NULL);
INSERT INTO "Fdpr" (FdprId, Kundid, FdprNamn, FdprNamnEng, FdprNamnTy, FdprVisasFom, FdprVisasTom) VALUES
('FP1', '1019', 'Led dig själv i förändring', 'Leading yourself through change', 'Selbstführung im Wandel', date('now','localtime','+30 day'), date('now','localtime','+300 day')),
('FP2', '1019', 'Återhämtningens konst', 'The art of recovery', NULL, date('now','localtime','-100 day'), date('now','localtime','+300 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Foredrag, Sprak, FdagInriktning, EgenText, Adress, Pstnr,
  Padress, Landskod, Tele, Epost, Oppet)
VALUES ('1020', 'Professor Göran Ek', '1', 'F', '03', '80', 'J', 'SVEN', 'HINA',
  'Populärvetenskapliga föredrag om Sveriges historia och om stjärnhimlen.', 'Universitetsvägen 1', '752 36', 'Uppsala', 'SE',
  '018-47 11 00', 'goran.ek@example.se', 'JFMAMJJASOND');
INSERT INTO "Fdag" (Kundid, FdagEgenText, FdagNoje, FdagMerit, FdagMeritEng, FdagReferens) VALUES ('1020', 'Föredrag med bilder på 60 minuter.', 'HI',
  'Professor emeritus i astronomi.', 'Professor emeritus of astronomy.', 'Föreläser varje vår på Uppsala stadsbibliotek.');

-------------------------------------------------------------------------------
-- Christmas buffets
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Julbord, Festlokal, Sprak, EgenText, Bildfil, Adress, Pstnr,
  Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus, Tips)
VALUES ('1021', 'Slottskrogen Västerås', '1', 'B', '19', '80', 'J', 'J', 'SVEN',
  'Krog i slottets gamla vagnslider med julbord i tre sittningar.', '/bilder2/kunder/slott.png', 'Slottsgatan 1', '722 11', 'Västerås',
  'SE', '021-10 10 10', 'krogen@slottskrogen.example', 'www.slottskrogen.example', 'JFMAMJJASOND', '1',
  substr(strftime('%Y%m','now','localtime','+1 month'),3));
INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, JulbBildfil, JulbKontaktBokning, JulbTeleDir, JulbEpostDir,
  JulbInriktning, JulbArrangemang, JulbArrangemangText, AntJulbord, JulbPris1, JulbPrisNot1, JulbPris2, JulbPrisNot2, JulbPris3, JulbPrisNot3,
  JulbPrisBarn, JulbPrisNotBarn)
VALUES ('1021', strftime('%Y','now','localtime'), 'Slottsjulbord', 'Julbord med vilt från slottets marker och hembakat vörtbröd.',
  'Torsdag-söndag från första advent till den 22 december.', '/bilder2/kunder/julbord.png', 'Kajsa Julin', '021-10 10 20', 'jul@slottskrogen.example',
  'TRVE', 'LUDA', 'Spelmän spelar varje lördag.', 200, 495, 'lunch', 745, 'kväll', 895, 'kväll med dryckespaket', 245, 'barn 4-12 år');
INSERT INTO "Rfst" (Kundid, AntRest1, AntFestSittande) VALUES ('1021', 120, 200);

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Julbord, Sprak, EgenText, Bildfil, Adress, Pstnr, Padress, Landskod,
  Tele, Epost, Oppet)
VALUES ('1022', 'Båtluncher i Skärgården', '1', 'P', '01', '20', 'J', 'SV', 'Julbord ombord på ångbåten Ejdern.', '/bilder2/kunder/bat.png',
  'Strömkajen', '111 48', 'Stockholm', 'SE', '08-555 44 33', 'ombord@batluncher.example', '     JJA  ND');
INSERT INTO "Julb" (Kundid, JulbAr, JulbRubrik, JulbEgenText, JulbOppet, AntJulbord, JulbPris1, JulbPrisNot1, JulbPrisBarn, JulbPrisNotBarn)
VALUES ('1022', strftime('%Y','now','localtime','-1 year'), 'Julbordskryssning', 'Tre timmars kryssning med julbord.', 'Lördagar.', 90,
  695, 'inkl kryssning', 0, 'barn under 12 år');

-------------------------------------------------------------------------------
-- Weekend packages
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Weekendresor, Sprak, WendInriktning, EgenText, EgenTextEng,
  EgenTextTy, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Tips)
VALUES ('1023', 'Weekendresor Bohuslän', '1', 'B', '14', '84', 'J', 'SVENDE', 'GONA',
  'Skaldjurssafari, klippbad och övernattning i fiskeläget Lysekil.', 'Seafood safari, rock bathing and a night in the fishing village of Lysekil.',
  'Meeresfrüchte-Safari, Baden an den Klippen und eine Nacht im Fischerdorf Lysekil.', '/bilder2/kunder/bohuslan.png',
  'Kungsgatan 30', '453 30', 'Lysekil', 'SE', '0523-66 77 88', 'resor@weekendbohuslan.example', 'www.weekendbohuslan.example',
  'JFMAMJJASOND', substr(strftime('%Y%m','now','localtime'),3));
INSERT INTO "Wend" (Kundid, WendEgenText, WendEgenTextEng, WendBildfil, WendKontaktBokning, WendEpostDir, WendAktivitet, WendEgenskaper,
  WendKulturNoje, WendSasong, WendSyfte, WendOvr, WendText, WendPrisMin, WendPrisMax)
VALUES ('1023', 'Två nätter med hummerfiske på lördagen.', 'Two nights with lobster fishing on Saturday.', '/bilder2/kunder/bohuslan.png',
  'Hanna Hummer', 'hanna@weekendbohuslan.example', 'VA', 'PAFA', 'MU', 'SO', 'RO', 'MA', 'Hummerfisket äger rum i oktober och november.', 2450, 3950);
INSERT INTO "Wepa" (WepaId, Kundid, WepaNamn, WepaNamnEng, WepaNamnTy, WepaVisasFom, WepaVisasTom) VALUES
('WP4', '1023', 'Hummerhelg', 'Lobster weekend', 'Hummerwochenende', date('now','localtime','-10 day'), date('now','localtime','+90 day')),
('WP5', '1023', 'Ostronsafari', 'Oyster safari', NULL, date('now','localtime','-10 day'), date('now','localtime','+90 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Weekendresor, Logi, Sprak, WendInriktning, Lage, EgenText, Bildfil,
  Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Markning)
VALUES ('1024', 'Spahelger på Ängsbacka', '1', 'B', '04', '80', 'J', 'J', 'SVEN', 'SP', 'LA',
  'Spa i en gammal mejerigård utanför Nyköping.', '/bilder2/kunder/spa.png', 'Ängsbackavägen 2', '611 92', 'Nyköping', 'SE',
  '0155-22 00 00', 'spa@angsbacka.example', 'www.angsbacka.example', 'JFMAMJJASOND', 'B2C7');
INSERT INTO "Wend" (Kundid, WendEgenText, WendAvkoppling, WendSasong, WendPrisMin, WendPrisMax) VALUES ('1024', 'Två behandlingar per person ingår.', 'SP', 'HE', 1990, 0);
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum, AntDubbel, PrisMin, PrisMax) VALUES ('1024', 40, 20, 20, 1290, 1290);

-------------------------------------------------------------------------------
-- Booking agencies and the customers they book for
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Bokningsbyra, Sprak, EgenText, EgenTextEng, EgenTextTy, Bildfil,
  LogotypeFil, Adress, Pstnr, Padress, Landskod, Tele, Telefax, Epost, Hemsida, Oppet)
VALUES ('1025', 'Konferensbokarna i Mälardalen', '2', 'B', '01', '80', 'J', 'SVENDE',
  'Vi bokar konferenser, kick-offer och resor på ett fyrtiotal utvalda gårdar i Mälardalen. Kostnadsfritt för er.',
  'We book conferences, kick-offs and trips at some forty hand-picked venues around Lake Mälaren, free of charge.',
  'Wir buchen Tagungen, Kick-offs und Reisen auf rund vierzig ausgewählten Höfen am Mälarsee, kostenlos für Sie.',
  '/bilder2/kunder/byra.png', '/bilder2/kunder/logo_byra.png', 'Kungsgatan 12', '111 35', 'Stockholm', 'SE', '08-440 00 00',
  '08-440 00 01', 'boka@konferensbokarna.example', 'www.konferensbokarna.example', 'JFMAMJJASOND');
INSERT INTO "Bokn" (Kundid, BoknEgenText, BoknEgenTextEng, BoknEgenTextTy, BoknBildfil, BoknReferenser, BoknBokar, BoknEgenskaper,
  BoknGruppStorlek, BoknOmrade1, BoknKontaktOmrade1, BoknTeleDirOmrade1, BoknEpostDirOmrade1, BoknOmrade2, BoknKontaktOmrade2,
  BoknOmrade3, BoknTeleDirOmrade3, BoknEpostDirOmrade3, BoknOmrade4, BoknKontaktOmrade4, BoknEpostDirOmrade4,
  BoknAktvInriktning, BoknFdagInriktning, BoknKonfInriktning, BoknLogiKaraktar, BoknRfstArrangemang, BoknUndhGenre, BoknWendInriktning)
VALUES ('1025', 'Ett samtal, en kontakt, hela arrangemanget.', 'One call, one contact, the whole arrangement.', 'Ein Anruf, ein Kontakt, alles organisiert.',
  '/bilder2/kunder/byra.png', 'Över 2 000 bokade konferenser sedan 1996.', 'KOKIRE', 'KOPE', 'SMST',
  'Uppland', 'Anna Uppström', '08-440 00 10', 'uppland@konferensbokarna.example', 'Västmanland', NULL,
  'Södermanland', '08-440 00 30', 'sormland@konferensbokarna.example', 'Stockholm', 'Peter Holm', 'stockholm@konferensbokarna.example',
  'TBUT', 'IN', 'DAIN', 'HEHO', 'FE', 'MU', 'SP');
INSERT INTO "Boob" (BoobId, Kundid, BoobNamn, BoobNamnEng, BoobNamnTy, BoobVisasFom, BoobVisasTom) VALUES
('BO1', '1025', 'Torpet Ekbacken', 'Ekbacken Cottage', 'Kate Ekbacken', date('now','localtime','-100 day'), date('now','localtime','+365 day')),
('BO2', '1025', 'Prästgården Vreta', 'Vreta Rectory', 'Pfarrhof Vreta', date('now','localtime','-100 day'), date('now','localtime','+365 day')),
('BO3', '1025', 'Mälarslottet (såld)', 'Mälaren Castle (sold)', NULL, date('now','localtime','-500 day'), date('now','localtime','-100 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Bokningsbyra, Sprak, EgenText, Adress, Pstnr, Padress, Landskod,
  Tele, Epost, VisaEjEpost, Hemsida, Oppet)
VALUES ('1026', 'Eventbyrån Nordkust', '1', 'F', '22', '81', 'J', 'SV', 'Event och konferenser längs Höga kusten.', 'Storgatan 1', '852 30',
  'Sundsvall', 'SE', '060-61 00 00', 'event@nordkust.example', 'J', 'www.nordkust.example', 'JFMAMJJASOND');
INSERT INTO "Bokn" (Kundid, BoknEgenText, BoknBokar, BoknGruppStorlek) VALUES ('1026', 'Vi ordnar allt från båttur till fjällkonferens.', 'EVKO', 'SM');

-- Booked through the agency 1025: the contact tags show the agency.
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Logi, Sprak, Lage, Karaktar, EgenText, EgenTextEng,
  Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, EjDirektbokning, BokasViaKundId, Oppet, Geokodstatus, AvsSthlm, UppdateradKfak)
VALUES ('1027', 'Torpet Ekbacken', '1', 'B', '03', '81', 'J', 'J', 'SV', 'SKLA', 'GA',
  'Rött torp med vita knutar i ekhagen. Perfekt för ledningsgruppen.', 'A red cottage in an oak meadow, perfect for management teams.',
  '/bilder2/kunder/torp.png', 'Ekbacken 1', '745 91', 'Enköping', 'SE', '0171-40 40 40', 'torpet@ekbacken.example', 'www.ekbacken.example',
  'J', '1025', '   AMJJASO  ', '1', '80', datetime('now','localtime','-2 day'));
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1, AntSsittn1, PrisDygnMin, PrisDygnMax) VALUES ('1027', 1, 'Stora stugan', 20, 14, 1850, 2250);
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum) VALUES ('1027', 16, 8);
INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
('1027', date('now','localtime','+5 day'), 16, 20, 'Boka via Konferensbokarna.', datetime('now','localtime','-2 day')),
('1027', date('now','localtime','+6 day'), 16, 20, NULL, datetime('now','localtime','-2 day'));

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Sprak, Lage, EgenText, Bildfil, Adress, Pstnr, Padress,
  Landskod, Tele, Epost, Hemsida, EjDirektbokning, BokasViaKundId, Oppet, Geokodstatus)
VALUES ('1028', 'Prästgården Vreta', '1', 'F', '05', '80', 'J', 'SV', 'LA', 'Prästgård från 1700-talet vid Göta kanal.',
  '/bilder2/kunder/prastgard.png', 'Vreta klosterväg 5', '585 94', 'Linköping', 'SE', '013-16 16 16', 'vreta@example.se', 'www.vretaprastgard.example',
  'J', '1025', 'JFMAMJJASOND', '2');
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1, AntSkol1, PrisDagMin, PrisDagMax) VALUES ('1028', 2, 'Prostens sal', 40, 24, 0, 0);

-------------------------------------------------------------------------------
-- Trade suppliers
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Branschleverantor, Sprak, EgenText, EgenTextEng, EgenTextTy,
  Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet)
VALUES ('1029', 'Ljud & Ljus Teknik AB', '1', 'B', '01', '80', 'J', 'SVEN',
  'Uthyrning av ljud, ljus och projektorer till konferenser och event i hela landet.',
  'Sound, lighting and projectors for hire for conferences and events all over Sweden.', 'Verleih von Ton-, Licht- und Projektionstechnik.',
  '/bilder2/kunder/teknik.png', 'Teknikvägen 5', '171 54', 'Solna', 'SE', '08-730 00 00', 'hyra@ljudochljus.example', 'www.ljudochljus.example', 'JFMAMJJASOND');
INSERT INTO "Blev" (Kundid, BlevEgenText, BlevEgenTextEng, BlevEgenTextTy, BlevBildfil, BlevKontaktBokning, BlevTeleDir, BlevEpostDir, BlevReferens,
  BlevProdukter, BlevTjanster, BlevEgenskaper, BlevKundgrupp, BlevPrisinfo)
VALUES ('1029', 'Vi levererar, monterar och kör tekniken.', 'We deliver, install and operate the equipment.', 'Wir liefern, montieren und betreuen die Technik.',
  '/bilder2/kunder/teknik.png', 'Tekniker-Tina', '08-730 00 10', 'tina@ljudochljus.example', 'Kvarnholmens Konferenscenter, Stockholms mässdagar.',
  'HOPR', 'TEMO', 'LEUT', 'KOEV', 'OFRA');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Branschleverantor, Sprak, EgenText, Adress, Pstnr, Padress,
  Landskod, Tele, Epost)
VALUES ('1030', 'Konferensmöbler Norden', '0', 'A', '06', '83', 'J', 'SV', 'Stapelbara stolar och fällbord.', 'Industrigatan 9', '331 40',
  'Värnamo', 'SE', '0370-60 00 00', 'order@konferensmobler.example');
INSERT INTO "Blev" (Kundid, BlevProdukter) VALUES ('1030', 'PR');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Branschleverantor, Sprak, EgenText, Bildfil, Adress, Pstnr,
  Padress, Landskod, Tele, Epost, Hemsida)
VALUES ('1031', 'Tryckeriet Pappersbruket', '1', 'G', '21', '80', 'J', 'SV', 'Program, namnskyltar och profilprodukter till er konferens.',
  '/bilder2/kunder/tryckeri.png', 'Bruksgatan 3', '802 80', 'Gävle', 'SE', '026-14 14 14', 'tryck@pappersbruket.example', 'www.pappersbruket.example');
INSERT INTO "Blev" (Kundid, BlevEgenText, BlevTjanster, BlevKundgrupp) VALUES ('1031', 'Leverans inom tre dagar.', 'MO', 'KO');

-------------------------------------------------------------------------------
-- Foreign customers
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Konferenslokal, Logi, Sprak, Lage, EgenText, EgenTextEng, EgenTextTy, Bildfil,
  Adress, Pstnr, Padress, Landskod, Land, Tele, Epost, Hemsida, Oppet, AvsUtrFlyg, AvsCentrum)
VALUES ('1032', 'Fjordhotellet Bergen', '1', 'B', 'J', 'J', 'ENNO', 'HAST',
  'Hotell vid fjorden med konferensrum för 150 personer, tio minuter från Bryggen.', 'A fjord-side hotel with conference rooms for 150, ten minutes from Bryggen.',
  'Ein Hotel am Fjord mit Konferenzräumen für 150 Personen.', '/bilder2/kunder/fjord.png', 'Fjordveien 20', '5003', 'Bergen', 'NO', 'Norge',
  '+47 55 00 00 00', 'post@fjordhotellet.example', 'www.fjordhotellet.example', 'JFMAMJJASOND', '20', '1');
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1, AntSkol1, KonfNamn2, AntBio2, PrisDagMin, PrisDagMax) VALUES ('1032', 2, 'Fjordsalen', 150, 80, 'Bryggen', 30, 890, 1100);
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum, PrisMin, PrisMax, InklFrukost) VALUES ('1032', 180, 95, 1450, 2100, 'JA');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Logi, Festlokal, Sprak, EgenText, EgenTextEng, EgenTextTy, Bildfil, Adress, Pstnr,
  Padress, Landskod, Land, Tele, Epost, Hemsida, Oppet)
VALUES ('1033', 'Gasthaus Sonnenhügel', '1', 'B', 'J', 'J', 'DESV', 'Familjedrivet gästhus i Harz med svensktalande värdpar.',
  'A family-run guest house in the Harz mountains with Swedish-speaking hosts.', 'Familiengeführtes Gasthaus im Harz mit schwedischsprachigen Gastgebern.',
  '/bilder2/kunder/gasthaus.png', 'Sonnenweg 7', '38700', 'Braunlage', 'DE', 'Tyskland', '+49 5520 0000', 'gast@sonnenhuegel.example',
  'www.sonnenhuegel.example', 'JFMAMJJASOND');
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum, AntDubbel, PrisMin, PrisMax) VALUES ('1033', 24, 12, 12, 650, 900);
INSERT INTO "Rfst" (Kundid, RfstEgenText, RfstEgenTextTy, AntRest1, AntFestSittande) VALUES ('1033', 'Hemlagad mat från Harz.', 'Hausmannskost aus dem Harz.', 40, 40);

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Logi, Sprak, EgenText, Adress, Pstnr, Padress, Landskod, Land, Tele, Epost)
VALUES ('1034', 'Hotel Kaskadi Helsingfors', '0', 'P', 'J', 'FISV', 'Hotell i centrala Helsingfors.', 'Esplanadi 3', '00130', 'Helsingfors', 'FI',
  'Finland', '+358 9 000 000', 'info@kaskadi.example');

-------------------------------------------------------------------------------
-- Tourist office, a farm with unusual rooms, and a hidden customer
-------------------------------------------------------------------------------

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Turistbyra, Sprak, EgenText, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida)
VALUES ('1035', 'Turistbyrån Siljan', '0', 'A', '20', '62', 'J', 'SVENDE', 'Allt om Siljansbygden: boende, evenemang och utflykter.', 'Stationsvägen 1',
  '792 32', 'Mora', 'SE', '0250-59 20 20', 'info@siljanturist.example', 'www.siljanturist.example');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, Aktivitetsarrangor, Festlokal, Sprak, Lage, Karaktar,
  EgenText, EgenTextEng, Bildfil, Adress, Pstnr, Padress, Landskod, Tele, Epost, Hemsida, Oppet, Geokodstatus, AvsGbg, Markning)
VALUES ('1036', 'Ödegårdens Gård', '1', 'B', '14', '90', 'J', 'J', 'J', 'SVEN', 'LASK', 'GA',
  'Konferens i höskullen, fest i logen och övernattning i trädkojor.', 'Meetings in the hayloft, parties in the barn and nights in tree houses.',
  '/bilder2/kunder/gard.png', 'Ödegården 1', '504 94', 'Borås', 'SE', '033-20 20 20', 'hej@odegarden.example', 'www.odegarden.example',
  '   AMJJAS   ', '1', '65', 'C7');
INSERT INTO "Konf" (Kundid, AntKonfRum, KonfNamn1, AntBio1, AntUsittn1, AntOar1, PrisDagMin, PrisDagMax) VALUES ('1036', 1, 'Höskullen', 50, 20, 40, 495, 695);
INSERT INTO "Aktv" (Kundid, AktvEgenText, AktvTeam, AntAktivitet) VALUES ('1036', 'Traktorrace och yxkastning.', 'SK', 50);
INSERT INTO "Rfst" (Kundid, AntFestSittande, AntFestStaende, RfstEgenText) VALUES ('1036', 120, 150, 'Logen rymmer 120 sittande.');
INSERT INTO "Nyht" (KundId, NyhtId, NyhtVisasFom, NyhtVisasTom) VALUES ('1036', 'U1', date('now','localtime','-30 day'), date('now','localtime','+300 day'));
INSERT INTO "Nyka" (KundId, NyhtId, NyhtKategori) VALUES ('1036', 'U1', 'UDDARUM');

INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod, Konferenslokal, EgenText)
VALUES ('1037', 'Nedlagda Badhotellet', '1', 'X', '13', '80', 'J', 'Stängt sedan förra året; syns inte i sökningar.');
