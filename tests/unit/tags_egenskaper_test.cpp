// Property lists: single lists, dash lists, joined pairs, lists with a text
// and lists under headings, with the level flag where it matters.
#include "tags_customer_module.h"

namespace {

class EgenskaperTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Niva, Lage, Karaktar, Kedja, Medlem, Certifiering, Sprak, EgenInr, AktvInriktning, UndhGenre)
  VALUES ('K1', '1', 'SJCE', 'HO', 'BW', 'SHSR', 'MI', 'ENTY', 'BA', 'PA', 'RO');
INSERT INTO Kund (Kundid, Niva, Lage, Certifiering, Sprak, EgenInr, UndhGenre)
  VALUES ('K0', '0', 'ZZ', 'MI', 'ENTY', 'BA', 'RO');
INSERT INTO Kund (Kundid, Niva, Lage, Medlem) VALUES ('K9', '1', 'X', 'SR');
INSERT INTO Aktv (Kundid, AktvSyfte, AktvSasong, AktvVaraktighet) VALUES ('K1', 'TEMOKO', 'SO', '');
INSERT INTO Konf (Kundid, Profil, KnfUtrustnAV, KnfUtrustnOvr, KnfUtrustnText, KnfUtrustnTextEng)
  VALUES ('K1', 'QQ', 'PR', 'WI', 'Whiteboard', 'Whiteboards');
INSERT INTO Konf (Kundid, KnfUtrustnText) VALUES ('K0', 'Whiteboard');
INSERT INTO Logi (Kundid, StndTeknik) VALUES ('K1', 'TV');
INSERT INTO Fdag (Kundid, FdagNoje, FdagTextEng) VALUES ('K1', 'MA', 'Ask us');
INSERT INTO Undh (Kundid, UndhMusik, UndhOvr, UndhText)
  VALUES ('K1', 'JA', 'LJ', 'Egen ljudanl)SQL" "\xE4" R"SQL(ggning');
INSERT INTO Julb (Kundid, JulbArrangemang, JulbArrangemangText, JulbAr)
  VALUES ('K1', 'SK', 'Sl)SQL" "\xE4" R"SQL(de', '1999');
INSERT INTO Fork (Tabell, Falt, Fork, Forknamn, ForknamnE, ForknamnD) VALUES
  ('KUND', 'Lage', 'SJ', 'Sj)SQL" "\xF6" R"SQL(n)SQL" "\xE4" R"SQL(ra', 'By the lake', ''),
  ('KUND', 'Lage', 'CE', 'Centralt', 'Central', 'Zentral'),
  ('KUND', 'Lage', 'LA', 'Landsbygd', 'Countryside', ''),
  ('KUND', 'Karaktar', 'HO', 'Hotell', 'Hotel', ''),
  ('KUND', 'Kedja', 'BW', 'Best Inn', '', ''),
  ('KUND', 'Medlem', 'SH', 'Svenska Hotell', '', ''),
  ('KUND', 'Medlem', 'SR', 'Sveriges Resor', '', ''),
  ('KUND', 'Certifiering', 'MI', 'Milj)SQL" "\xF6" R"SQL(m)SQL" "\xE4" R"SQL(rkt', 'Eco-labelled', ''),
  ('KUND', 'Sprak', 'EN', 'Engelska', 'English', ''),
  ('KUND', 'Sprak', 'TY', 'Tyska', 'German', ''),
  ('KUND', 'EgenInr', 'BA', 'Bastu', 'Sauna', ''),
  ('KUND', 'AktvInriktning', 'PA', 'Paintball', '', ''),
  ('KUND', 'UndhGenre', 'RO', 'Rock', '', ''),
  ('AKTV', 'AktvSyfte', 'TE', 'Teambuilding', '', ''),
  ('AKTV', 'AktvSyfte', 'MO', 'Motivation', '', ''),
  ('AKTV', 'AktvSyfte', 'KO', 'Kick-off', '', ''),
  ('AKTV', 'AktvSasong', 'SO', 'Sommar', 'Summer', ''),
  ('KONF', 'KnfUtrustnAV', 'PR', 'Projektor', 'Projector', ''),
  ('KONF', 'KnfUtrustnOvr', 'WI', 'Tr)SQL" "\xE5" R"SQL(dl)SQL" "\xF6" R"SQL(st n)SQL" "\xE4" R"SQL(t', 'Wireless', ''),
  ('LOGI', 'StndTeknik', 'TV', 'TV', '', ''),
  ('FDAG', 'FdagNoje', 'MA', 'Magi', 'Magic', ''),
  ('UNDH', 'UndhMusik', 'JA', 'Jazz', '', ''),
  ('UNDH', 'UndhOvr', 'LJ', 'Ljus', '', ''),
  ('JULB', 'JulbArrangemang', 'SK', 'Sk)SQL" "\xE4" R"SQL(rg)SQL" "\xE5" R"SQL(rdsbuss', '', '');
INSERT INTO Sprk (TextS, TextE) VALUES ('S)SQL" "\xE4" R"SQL(song', 'Season'), (')SQL" "\xD6" R"SQL(vrigt', 'Other'),
  ('N)SQL" "\xF6" R"SQL(je', 'Entertainment');
)SQL");
  }
};

TEST_F(EgenskaperTest, SingleListsInNameOrderAndLanguage) {
  Page("K1");
  EXPECT_EQ(F().LAGE(), "Centralt<br>Sj\xF6n\xE4ra");
  Page("K1", "E");
  EXPECT_EQ(F().LAGE(), "By the lake<br>Central");
  Page("K1", "D");  // no German name: the Swedish one
  EXPECT_EQ(F().LAGE(), "Sj\xF6n\xE4ra<br>Zentral");
  Page("K0");  // codes the table does not know
  EXPECT_EQ(F().LAGE(), "&nbsp;");
  EXPECT_EQ(F().KARAKTAR(), "&nbsp;");
  Page("K9");  // a lone character: every name of the code set
  EXPECT_EQ(F().LAGE(), "Centralt<br>Landsbygd<br>Sj\xF6n\xE4ra");
}

TEST_F(EgenskaperTest, DashListsAndJoinedPairs) {
  Page("K1");
  EXPECT_EQ(F().AKTVSYFTE(), "-&nbsp;Kick-off<br>-&nbsp;Motivation<br>-&nbsp;Teambuilding");
  EXPECT_EQ(F().KONFPROFIL(), "-&nbsp;");  // unknown codes: the lone dash
  EXPECT_EQ(F().KEDJA(), "Best Inn, Svenska Hotell, Sveriges Resor");
  EXPECT_EQ(F().KARAKTARLAGE(), "Hotell<br>Centralt<br>Sj\xF6n\xE4ra");
  EXPECT_EQ(F().LOGISTANDARD(), "TV");  // only the second field
  Page("K9");
  EXPECT_EQ(F().KEDJA(), "Sveriges Resor");
  EXPECT_EQ(F().AKTVSYFTE(), "&nbsp;");
  EXPECT_EQ(F().BLEVPRODUKTERTJANSTER(), "&nbsp;");
}

TEST_F(EgenskaperTest, BuffetArrangementsIgnoreTheYear) {
  Page("K1");
  EXPECT_EQ(F().JULBARRANGEMANG(), "Sk\xE4rg\xE5rdsbuss<br>Sl\xE4" "de");
  EXPECT_EQ(F().JULBINRIKTNINGARRANGEMANG(), "Sk\xE4rg\xE5rdsbuss<br>Sl\xE4" "de");
  Page("K0");
  EXPECT_EQ(F().JULBARRANGEMANG(), "&nbsp;");
  EXPECT_EQ(F().JULBINRIKTNINGARRANGEMANG(), "&nbsp;");
}

TEST_F(EgenskaperTest, HeadedListsSkipEmptyFields) {
  Page("K1");
  EXPECT_EQ(F().AKTVSASONGVAR(), "<b>S\xE4song:</b><br>Sommar");
  Page("K1", "E");
  EXPECT_EQ(F().AKTVSASONGVAR(), "<b>Season:</b><br>Summer");
  Page("K0");
  EXPECT_EQ(F().AKTVSASONGVAR(), "&nbsp;");
  EXPECT_EQ(F().UNDHARRMALGRUPP(), "&nbsp;");
}

TEST_F(EgenskaperTest, CustomerLanguagesAndOwnFacilitiesNeedTheLevelFlag) {
  Page("K1");
  EXPECT_EQ(F().OVRIGT(), "<b>Certifiering:</b><br>Milj\xF6m\xE4rkt<br><b>Spr\xE5k:</b><br>Engelska<br>Tyska");
  EXPECT_EQ(F().EGENINR(), "Bastu<br><b>Aktiviteter:</b><br>Paintball<br><b>Genre:</b><br>Rock");
  Page("K0");
  EXPECT_EQ(F().OVRIGT(), "<b>Certifiering:</b><br>Milj\xF6m\xE4rkt");
  EXPECT_EQ(F().EGENINR(), "<b>Genre:</b><br>Rock");
  // The customer's language column, not the request's language.
  Page("K0", "E");
  EXPECT_EQ(F().OVRIGT(), "<b>Certifiering:</b><br>Eco-labelled");
}

TEST_F(EgenskaperTest, OtherInformationBlocks) {
  Page("K1");
  EXPECT_EQ(F().UNDHSPECIALITET(), "<b>Musik:</b><br>Jazz<br><b>\xD6vrigt:</b><br>Ljus<br>Egen ljudanl\xE4ggning");
  EXPECT_EQ(F().FDAGAMNEN(), "<b>N\xF6je:</b><br>Magi");  // English text only: nothing on a Swedish page
  Page("K1", "E");
  EXPECT_EQ(F().FDAGAMNEN(), "<b>Entertainment:</b><br>Magic<br><b>Other:</b><br>Ask us");
  Page("K0");
  EXPECT_EQ(F().UNDHSPECIALITET(), "&nbsp;");
  EXPECT_EQ(F().FDAGAMNEN(), "&nbsp;");
}

TEST_F(EgenskaperTest, EquipmentTextJoinsOrStartsTheOtherHeading) {
  Page("K1");
  EXPECT_EQ(F().KONFUTRUSTNING(),
            "<b>A/V:</b><br>Projektor<br><b>\xD6vrigt:</b><br>Tr\xE5" "dl\xF6st n\xE4t<br>Whiteboard");
  Page("K1", "E");
  EXPECT_EQ(F().KONFUTRUSTNING(), "<b>A/V:</b><br>Projector<br><b>Other:</b><br>Wireless<br>Whiteboards");
  Page("K0");
  EXPECT_EQ(F().KONFUTRUSTNING(), "<b>\xD6vrigt:</b><br>Whiteboard");
  Page("K9");
  EXPECT_EQ(F().KONFUTRUSTNING(), "&nbsp;");
}

}  // namespace
