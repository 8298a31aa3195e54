// Pages made from templates, run through the real program: pieces, the
// frame pass, the customer block, sections, counters, tabs and the page
// control tags, checked byte for byte where the bytes are fixed.
#include <gtest/gtest.h>

#include "support/Site.h"

namespace {
const char* kTva =
    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES('A1','\xC3\x85re Fj\xC3\xA4llhotell','B','1'),"
    "('B2','Bj\xC3\xB6rkbacken','B','0');";

// Runs one request over a site with the given rows and fact template, and
// returns the body of the response.
std::string Sida(const std::string& sql, const std::string& mall, const std::string& query,
                 const std::string& fakeTime = "", TestSite* ut = nullptr) {
  TestSite lokal;
  TestSite& site = ut ? *ut : lokal;
  site.UseDatabase(sql);
  site.WriteFile("www/kund/facts.htm", mall);
  return SplitResponse(site.Get(query, {}, fakeTime).out).body;
}
}  // namespace

TEST(Template, WorkedExample) {
  std::string body = Sida(kTva,
                          "<html><body<!--BAKGRUND-->>\r\n<!--START-->\r\n<p><!--NAMN--></p>\r\n<!--SLUT-->\r\n"
                          "</body></html>\r\n",
                          "kundid=a1&kundid=b2");
  EXPECT_EQ(body,
            "<html><body background=\"/bilder2/bakgrund/qvlogo.gif\">\r\n"
            "<p>Bj&ouml;rkbacken</p>\r\n<p>&Aring;re Fj&auml;llhotell</p>\r\n</body></html>\r\n\r\n");
}

TEST(Template, LinePiecesAndExactTagNames) {
  std::string body = Sida(kTva,
                          "<!--START-->\n<b><!--NAMN--></b>\n<!--NAMN-->\n\n<!--namn-->|<!--NAMN2-->|"
                          "<!-- vanlig kommentar -->|<!--ofullst\xE4ndig\n<!--SLUT-->\n",
                          "kundid=a1");
  EXPECT_EQ(body,
            "<b>&Aring;re Fj&auml;llhotell</b>\r\n&Aring;re Fj&auml;llhotell<!--namn-->|\xC5re Fj\xE4llhotell|"
            "<!-- vanlig kommentar -->|<!--ofullst&auml;ndig\r\n\r\n");
}

TEST(Template, TwoBlocksFormOneAndTextBetweenBelongsToTheTail) {
  std::string body =
      Sida(kTva, "huvud\n<!--START-->\n[<!--KUNDID-->\n<!--SLUT-->\nmitt\n<!--START-->\n]\n<!--SLUT-->\nslut\n",
           "kundid=a1&kundid=b2");
  // A line that ends with a tag brings no line break.
  EXPECT_EQ(body, "huvud\r\n[B2]\r\n[A1]\r\nmitt\r\nslut\r\n\r\n");
}

TEST(Template, WithoutBlockTheCustomersAreStillLogged) {
  TestSite site;
  std::string body = Sida(kTva, "bara text\n", "kundid=a1&kundid=b2", "", &site);
  EXPECT_EQ(body, "bara text\r\n\r\n");
  std::string log = site.ReadFile(site.LogFiles().at(0));
  EXPECT_NE(log.find("[KUND]\r\nkundid=B2\r\nkundid=A1\r\n[STATUS]"), std::string::npos) << log;
}

TEST(Template, EmptyBlockWritesTheTailDirectly) {
  // Nothing was collected, so "b" is still head; the empty tail adds its
  // line end.
  EXPECT_EQ(Sida(kTva, "a\n<!--START--><!--SLUT-->\nb\n", "kundid=a1"), "a\r\nb\r\n\r\n");
}

TEST(Template, NoCustomerFoundGivesTheHeading) {
  EXPECT_EQ(Sida(kTva, "<!--START-->x<!--SLUT-->slut\n", "kundid=zz"),
            "<h1>F&ouml;retaget &auml;r ogiltigt eller saknas</h1>slut\r\n\r\n");
}

TEST(Template, BadCallRendersTheErrorTemplate) {
  TestSite site;
  site.UseDatabase();
  site.WriteFile("www/kund/ERROR.htm", "<h1><!--FELRUBRIK--></h1>\n<p><!--FELMEDDELANDE--></p>\n");
  std::string body = SplitResponse(site.Get("vad=K").out).body;
  EXPECT_EQ(body.rfind("<h1>Felaktigt anrop</h1>\r\n<p>Denna sida skulle egentligen inneh&aring;lla", 0), 0u) << body;
  EXPECT_NE(body.find("anl&auml;ggning.<br>Pga\tett felaktigt anrop"), std::string::npos);
}

TEST(Template, LookupOrderUserCategoryLanguageThenPlain) {
  TestSite site;
  site.UseDatabase(kTva);
  site.WriteFile("www/kund/facts.htm", "plain\n");
  site.WriteFile("www/kund/e/facts.htm", "english\n");
  site.WriteFile("www/kund/KAT/facts.htm", "category\n");
  EXPECT_EQ(SplitResponse(site.Get("kundid=a1").out).body, "plain\r\n\r\n");
  EXPECT_EQ(SplitResponse(site.Get("kundid=a1&sprak=e").out).body, "english\r\n\r\n");
  EXPECT_EQ(SplitResponse(site.Get("kundid=a1&sprak=e&anvkat=kat").out).body, "category\r\n\r\n");
}

TEST(Template, NamesCannotLeaveTheTemplateFolder) {
  TestSite site;
  site.UseDatabase(kTva);
  site.WriteFile("www/secret.htm", "secret\n");
  site.WriteFile("www/kund/facts.htm", "ok\n");
  for (const char* q : {"kundid=a1&mall=../secret", "kundid=a1&mall=..%5Csecret", "kundid=a1&anvkat=..&mall=secret",
                        "kundid=a1&mall=%2Fetc%2Fpasswd%00"}) {
    CgiResult r = site.Get(q);
    EXPECT_EQ(r.out.find("secret\r\n"), std::string::npos) << q;
    EXPECT_NE(r.out.find("Fel i programmet"), std::string::npos) << q;
  }
}

TEST(Sections, LevelSectionsPerCustomer) {
  std::string body = Sida(kTva, "<!--START--><!--KUNDID-->:<!--STARTNIVA0-->noll<!--SLUTNIVA0-->"
                                "<!--STARTNIVA1-->ett<!--SLUTNIVA1-->;<!--SLUT-->\n",
                          "kundid=a1&kundid=b2");
  EXPECT_EQ(body, "B2:noll;A1:ett;\r\n");
}

TEST(Sections, NestingLanguageAndMissingEndMarkers) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Bokningsbyra) VALUES('A1','A','B','1','N');";
  // A dropped section ends at the first end marker of its name.
  EXPECT_EQ(Sida(rader, "<!--START-->a<!--STARTBOKN-->b<!--STARTBOKN-->c<!--SLUTBOKN-->d<!--SLUTBOKN-->e<!--SLUT-->",
                 "kundid=a1"),
            "ade\r\n");
  EXPECT_EQ(Sida(rader, "<!--START--><!--STARTSPRAK(E)-->en<!--SLUTSPRAK(E)--><!--startsprak(E)-->EN"
                        "<!--SLUTSPRAK(E)--><!--STARTSPRAK(e)-->aldrig<!--SLUTSPRAK(e)-->.<!--SLUT-->",
                 "kundid=a1&sprak=e"),
            "enEN.\r\n");
  EXPECT_EQ(Sida(rader, "<!--START-->x<!--STARTSPRAK(E)-->en<!--SLUTSPRAK(E)-->.<!--SLUT-->", "kundid=a1"),
            "x.\r\n");
  EXPECT_EQ(Sida(rader, "<!--START-->[<!--STARTBOKN-->aldrig slut<!--SLUT-->]\n", "kundid=a1"), "[]\r\n\r\n");
}

TEST(Sections, RequestFormKartaAndLinks) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Epost,EjBoknFF,Geokodstatus,Hemsida) VALUES"
      "('A1','A','B','1','a@b.se','j','2','www.a.se'),('B2','B','B','1','b@b.se','N','4','');";
  EXPECT_EQ(Sida(rader,
                 "<!--START--><!--KUNDID--><!--STARTFORFRAGAN-->F<!--SLUTFORFRAGAN--><!--STARTEJFORFRAGAN-->e"
                 "<!--SLUTEJFORFRAGAN--><!--STARTKARTA-->K<!--SLUTKARTA--><!--STARTEJKARTA-->k<!--SLUTEJKARTA-->"
                 "<!--STARTHEMSIDA-->H<!--SLUTHEMSIDA-->;<!--SLUT-->",
                 "kundid=a1&kundid=b2"),
            "A1eKH;B2Fk;\r\n");
}

TEST(Sections, AvailabilityFreshnessByUpdateDate) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,UppdateradKfak) VALUES"
      "('A1','A','B','1','2009-06-04 12:00:00'),('B2','B','B','1','2009-05-24 12:00:00');";
  EXPECT_EQ(Sida(rader, "<!--START--><!--KUNDID--><!--STARTKFAK-->+<!--SLUTKFAK--><!--STARTEJKFAK-->-"
                        "<!--SLUTEJKFAK--><!--SLUT-->",
                 "kundid=a1&kundid=b2&UppdateradDagar=30", "2009-06-24 12:00:00"),
            "A1+B2-\r\n");
}

TEST(Sections, BudgetAndMenuLookups) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Lankod,Kommkod,Markning,Nyheter) VALUES"
      "('A1','A','B','1','01','80','','J'),('B2','B','B','1','01','80','xb2','J');"
      "INSERT INTO Komm(Lankod,Kommkod,Kommnamn,Budget) VALUES('01','80','Stockholm',1500000);"
      "INSERT INTO Nyht(KundId,NyhtId,NyhtVisasFom,NyhtVisasTom) VALUES('A1','1','2009-06-01','2009-06-30');"
      "INSERT INTO Nyka(KundId,NyhtId,NyhtKategori) VALUES('A1','1','MENY');";
  EXPECT_EQ(Sida(rader, "<!--START--><!--KUNDID--><!--STARTBUDGET-->b<!--SLUTBUDGET--><!--STARTMENY-->m"
                        "<!--SLUTMENY-->;<!--SLUT-->",
                 "kundid=a1&kundid=b2", "2009-06-15 12:00:00"),
            "A1bm;B2;\r\n");
}

TEST(Counter, RowsOfThreeAndDroppedIncrementsDoNotCount) {
  std::string rader = "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva) VALUES";
  for (int i = 1; i <= 5; ++i)
    rader += std::string(i > 1 ? "," : "") + "('K" + std::to_string(i) + "','N" + std::to_string(i) + "','B','1')";
  rader += ";";
  EXPECT_EQ(Sida(rader,
                 "<!--START--><!--COUNTER(3,|)--><!--KUNDID--><!--INCCOUNTER--><!--STARTNIVA0--><!--INCCOUNTER-->"
                 "<!--SLUTNIVA0--><!--SLUT-->",
                 "niva=1"),
            "|K1K2K3|K4K5\r\n");
  EXPECT_EQ(Sida(rader, "<!--START--><!--COUNTER(2,a,b)--><!--SLUT-->", "kundid=k1"),
            "<!--COUNTER(2,a,b)-->\r\n");
  EXPECT_NE(Sida(rader, "<!--START--><!--COUNTER(0,x)--><!--SLUT-->", "kundid=k1").find("Fel i programmet"),
            std::string::npos);
}

TEST(Frame, PageLevelTagsAnywhere) {
  std::string rader = std::string(kTva);
  std::string body = Sida(rader,
                          "<!--START--><!--TITEL-->|<!--KUNDID-->|<!--SLUT-->\n"
                          "<!--KUNDLISTA--><!--VISASIDA(index.htm)--><!--visasida(a)--><!--VISASIDA(a,b)-->\n",
                          "kundid=a1&kundid=b2");
  // The title is the first piece after START, so it lands in the head; the
  // index after the block lands in the tail (written without entities),
  // VISASIDA is written at once.
  EXPECT_EQ(body,
            "Bj&ouml;rkbacken m flindex.htma|B2||A1|<a href=#B2>Bj\xF6rkbacken</a><br>"
            "<a href=#A1>\xC5re Fj\xE4llhotell</a><br><!--VISASIDA(a,b)-->\r\n");
}

TEST(Frame, FieldTagsOutsideTheBlockStayComments) {
  EXPECT_EQ(Sida(kTva, "<!--NAMN--><!--START-->x<!--SLUT--><!--NAMN-->\n", "kundid=a1"),
            "<!--NAMN-->x<!--NAMN-->\r\n");
}

TEST(Tabs, VisibleTabsMoveUpAndLinkToEachOther) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Konferenslokal,Logi) VALUES('A1','A','B','1','N','J');";
  std::string mall =
      "<!--FLIKDEF=KUND,konf,LOGI--><!--FLIKBREDD=120--><!--FLIKHOJD=25--><!--START-->"
      "<!--FLIKSTART=LOGI--><!--FLIKNAMN=LOGI-->1:<!--FLIK=1-->2:<!--FLIK=2-->3:<!--FLIK=3-->x:<!--FLIK=x-->"
      "<!--FLIKSLUT--><!--FLIKSTART=KONF-->konf<!--FLIKSLUT--><!--FLIKSTARTEJ=KONF-->ingen konf<!--FLIKSLUTEJ-->"
      "<!--SLUT-->";
  EXPECT_EQ(Sida(rader, mall, "kundid=a1&sprak=e"),
            "<a name=fliklogiA1></a>1:<a href=#flikkundA1><img src=\"/bilder2/kund/fakta/e/flikkundej.gif\" "
            "width=120 height=25 border=\"0\"></a>2:<img src=\"/bilder2/kund/fakta/e/fliklogi.gif\" width=120 "
            "height=25 border=\"0\">3:<img src=\"/bilder2/kund/fakta/e/flikingen.gif\" width=120 height=25 "
            "border=\"0\">x:&nbsp;ingen konf<!--FLIKSLUTEJ-->\r\n");
}

TEST(Tabs, ChristmasWindowByDateAndYear) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Julbord) VALUES('A1','A','B','1','J');"
      "INSERT INTO Julb(Kundid,JulbAr) VALUES('A1','2009');";
  const char* mall = "<!--FLIKDEF=JULB--><!--START--><!--FLIKSTART=JULB-->jul<!--FLIKSLUT--><!--SLUT-->";
  EXPECT_EQ(Sida(rader, mall, "kundid=a1", "2009-08-15 12:00:00"), "jul\r\n");
  EXPECT_EQ(Sida(rader, mall, "kundid=a1", "2009-06-30 12:00:00"), "\r\n");
  EXPECT_EQ(Sida(rader, mall, "kundid=a1", "2010-08-15 12:00:00"), "\r\n");
  EXPECT_EQ(Sida(rader, mall, "kundid=a1", "2010-09-01 12:00:00"), "jul\r\n");
  EXPECT_EQ(Sida(rader, mall, "kundid=a1", "2009-12-25 12:00:00"), "\r\n");
  EXPECT_EQ(Sida(rader, mall, "kundid=a1&vad=j", "2010-03-01 12:00:00"), "jul\r\n");
}

TEST(PageControl, BackgroundStylesheetAndEscapedRequestValues) {
  const char* mall = "<body<!--BAKGRUND-->><!--STYLESHEETDEF--><!--START--><!--MALL-->|<!--VAD-->|<!--STYLESHEET-->"
                     "|<!--LANG-->|<!--SPRAKDIR-->|<!--PARMANTAL-->|<!--SLUT-->";
  EXPECT_EQ(Sida(kTva, mall, "kundid=a1&bgcolor=ffcc00&antal=25&sprak=d"),
            "<body bgcolor=\"#FFCC00\"><link rel=\"Stylesheet\" type=\"text/css\" href=\"/csslib/vexa2.css\">"
            "facts||/csslib/vexa2.css|ger|/d|25|\r\n");
  std::string body = Sida(kTva, mall,
                          "kundid=a1&background=%22%3E%3Cscript%3Ex%3C/script%3E&vad=%3Cb%3E&"
                          "stylesheet=x%22%3E%3Cscript%3E");
  EXPECT_EQ(body.find("<script>"), std::string::npos) << body;
  EXPECT_NE(body.find(" background=\"&#34;&#62;&#60;script&#62;x&#60;/script&#62;\""), std::string::npos) << body;
  EXPECT_NE(body.find("|&#60;B&#62;|"), std::string::npos) << body;
}

TEST(PageControl, LanguageSwitchKeepsTheSelection) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Lankod,Kommkod) VALUES('A1','A','B','1','01','80');";
  std::string body = Sida(rader, "<!--START--><!--BYTSPRAK--><!--SLUT-->", "kundid=a1&sprak=e&kommun=0180&kommun=0181");
  const std::string p = "&funktion=FAKTA&mall=facts&kundid=A1&kommun=0180&kommun=0181&antal=-1&antbaddar=-1"
                        "&antrum=-1&stylesheet=/csslib/vexa2.css";
  EXPECT_EQ(body,
            "<a href=\"/cgi-win/vemlo3.exe?sprak=s" + p +
                "\"><img src=\"/images/symbols/flagga_s.gif\" alt=\"Svenska\" title=\"Svenska\" width=20 height=12 "
                "border=0></a>&nbsp;<a href=\"/cgi-win/vemlo3.exe?sprak=d" +
                p +
                "\"><img src=\"/images/symbols/flagga_d.gif\" alt=\"Deutsch\" title=\"Deutsch\" width=20 height=12 "
                "border=0></a>&nbsp;\r\n");
}

TEST(PageControl, TipBadgeSymbolsAndIds) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Tips,Klassificering,Avtal,Medlem) VALUES"
      "('A1','A','B','1','0904,0905','4','XP0P5','s0');"
      "INSERT INTO Logi(Kundid,AntBaddar) VALUES('A1',120);";
  std::string body = Sida(rader, "<!--START--><!--ID-->|<!--TIPS-->|<!--SYMBOLER--><!--SLUT-->", "kundid=a1",
                          "2009-05-14 08:03:09");
  EXPECT_EQ(body.rfind("<!ID=A1><a name=A1></a>|<img src=\"/bilder2/symbol/tips.gif\" width=100 height=40 "
                       "alt=\"M&aring;nadens tips\" border=0 align=right>|<im",
                       0),
            0u)
      << body;
  EXPECT_NE(body.find("<img border=0 src=\"/bilder2/symbol/baddar.gif\" width=20 height=20 alt=\"Antal b&auml;ddar\" "
                      "title=\"Antal b&auml;ddar\">&nbsp;<font size=-1>120</font>&nbsp;&nbsp;<br><a href=\""),
            std::string::npos)
      << body;
  EXPECT_NE(body.find("stars17_4.gif"), std::string::npos);
  EXPECT_NE(body.find("porrfritt.gif"), std::string::npos);
  EXPECT_EQ(body.find("roks.gif"), std::string::npos);
  EXPECT_EQ(Sida(rader, "<!--START--><!--TIPS--><!--SLUT-->", "kundid=a1", "2009-06-14 08:03:09"), "\r\n");
}

TEST(SimpleFields, OpeningMonthsAndOrderDate) {
  const char* rader =
      "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Oppet,BestTom) VALUES"
      "('A1','A','B','1','JFMAMJJASOND','2024-03-05'),('B2','B','B','1','J',NULL);";
  std::string body = Sida(rader, "<!--START--><!--KUNDID-->:<!--BESTTOM-->:<!--OPPET-->;<!--SLUT-->",
                          "kundid=a1&kundid=b2&sprak=e");
  EXPECT_NE(body.find("A1:2024-03-05:<table border=0 cellpadding=0 cellspacing=0><tr><td><img "
                      "src=\"/bilder2/symbol/e/oppet.gif\" height=11 alt=\""),
            std::string::npos)
      << body;
  EXPECT_NE(body.find("<td><img src=\"/bilder2/symbol/e/helaaret.gif\" height=11 border=0></td></tr></table>;"),
            std::string::npos);
  EXPECT_NE(body.find("B2:1899-12-30:"), std::string::npos);
  EXPECT_NE(body.find("/man1.gif\" height=11 border=0></td><td><img src=\"/bilder2/symbol/e/man2ej.gif\""),
            std::string::npos);
}
