// Offer, calendar and geography tags in whole pages of the real program,
// at fixed clock times.
#include <gtest/gtest.h>

#include "support/Site.h"

namespace {

// Rows in UTF-8, as the SQLite database holds them.
const char* kRader =
    "INSERT INTO Kund(Kundid,Ftagnamn,Status,Niva,Tips,AvsSthlm,Landskod,Lankod) VALUES"
    "('A1','Sj\xC3\xB6hotellet','B','1','2312','110','SE','03');"
    "INSERT INTO Laen(Lankod,Lannamn) VALUES('03','Uppsala l\xC3\xA4n');"
    "INSERT INTO Konf(Kundid,AntKonfRum,KonfNamn1,AntBio1) VALUES('A1',2,'Stora salen',80);"
    "INSERT INTO Kopa(KopaId,Kundid,KopaNamn,KopaVisasFom,KopaVisasTom) VALUES"
    "('P1','A1','Dagkonferens i sk\xC3\xA4rg\xC3\xA5rden','2024-01-01','2024-01-31'),"
    "('P2','A1','Sommarpaket','2024-06-01','2024-08-31');"
    "INSERT INTO Kfak(KundId,Datum,AntBaddar,AntBio,Text,Uppdaterad) VALUES"
    "('A1','2024-01-20',0,40,NULL,'2024-01-19 08:00:00'),"
    "('A1','2024-01-31',10,40,NULL,'2024-01-19 08:00:00'),"
    "('A1','2024-02-11',0,40,NULL,'2024-01-19 08:00:00');";

std::string Sida(const std::string& mall, const std::string& query, const std::string& tid,
                 const std::string& mallnamn = "facts") {
  TestSite site;
  site.UseSqlite(kRader);
  site.WriteFile("www/kund/" + mallnamn + ".htm", mall);
  return SplitResponse(site.Get(query, {}, tid).out).body;
}

size_t Count(const std::string& s, const std::string& part) {
  size_t n = 0;
  for (size_t p = 0; (p = s.find(part, p)) != std::string::npos; p += part.size()) ++n;
  return n;
}

TEST(TagsInPages, FactPageOnTheRequestDay) {
  const std::string body =
      Sida("<!--START-->\n<!--KONFKAPACITET(kap)-->\n<!--KONFPAKET(_top)-->\n<!--KONFAKUTEN-->\n<!--AVSTAND-->\n"
           "<!--SVERIGEKARTA-->\n<!--MANADTIPS-->\n<!--SLUT-->\n",
           "kundid=a1&vad=konf", "2024-01-20 10:00:00");
  // Letters of the texts come out as entities.
  EXPECT_NE(body.find("<b>Konferenslokaler:</b><br>2 konferensrum<br><table border=0 cellpadding=1 cellspacing=0 "
                      "class=\"kap\">"),
            std::string::npos)
      << body;
  // Only the package of the request's month is listed, with the request's parameters.
  EXPECT_NE(body.find("-&nbsp;<a href=\"/cgi-win/vemalfa3.exe?funktion=fakta&kundid=A1&vad=KONF&sprak=S&fmall=facts"
                      "&stylesheet=/csslib/vexa2.css&kopaid=P1\" target=\"_top\">Dagkonferens i sk&auml;rg&aring;rden"
                      "</a>"),
            std::string::npos)
      << body;
  EXPECT_EQ(body.find("Sommarpaket"), std::string::npos);
  // The strip starts on the request's day: January has 12 days of it.
  EXPECT_NE(body.find("<td colspan=12><font size=-1><b>&nbsp;Jan&nbsp;</b></font></td><td colspan=10>"),
            std::string::npos);
  EXPECT_EQ(Count(body, "ledigt.gif\" width=11 height=11><font size=-1>"), 1u);       // 20 January
  EXPECT_EQ(Count(body, "ledigtnatt.gif\" width=11 height=11><font size=-1>"), 1u);  // 31 January
  EXPECT_NE(body.find("&nbsp;19/1</font></td></tr></table>"), std::string::npos);
  EXPECT_NE(body.find("Stockholm:&nbsp;</font></td><td align=right><font size=-1>110km"), std::string::npos);
  EXPECT_NE(body.find("alt=\"Uppsala l&auml;n\">"), std::string::npos);
  EXPECT_NE(body.find("Dec 2023"), std::string::npos);
}

TEST(TagsInPages, StripMovesWithTheClock) {
  const std::string body =
      Sida("<!--START--><!--KONFAKUTEN--><!--SLUT-->\n", "kundid=a1&uppdateradDagar=30", "2024-01-31 08:00:00");
  // 31 January to 21 February: one day of January, 21 of February; the
  // availability of 11 February is inside, the row of 20 January is not.
  EXPECT_NE(body.find("<td colspan=1><font size=-1><b>&nbsp;Jan&nbsp;</b></font></td><td colspan=21>"),
            std::string::npos)
      << body;
  EXPECT_EQ(Count(body, "ledigtnatt.gif\" width=11 height=11><font size=-1>"), 1u);
  EXPECT_EQ(Count(body, "ledigt.gif\" width=11 height=11><font size=-1>"), 1u);
}

TEST(TagsInPages, TipsPageMonthAndChooser) {
  const std::string mall = "<h1><!--MANAD--></h1><select><!--MANADSLISTA--></select>\n<!--START--><!--SLUT-->\n";
  std::string body = Sida(mall, "funktion=tips", "2010-03-15 12:00:00");
  EXPECT_EQ(body.find("<h1>Mar 2010</h1><select><option value=\"0909\">Sep 2009"), 0u) << body;
  EXPECT_NE(body.find("<option value=\"1003\" selected>Mar 2010<option value=\"1004\">Apr 2010"
                      "<option value=\"1005\">Maj 2010</select>"),
            std::string::npos);
  body = Sida(mall, "funktion=tips&arman=0912", "2010-03-15 12:00:00");
  EXPECT_EQ(body.find("<h1>Dec 2009</h1>"), 0u) << body;
  EXPECT_NE(body.find("<option value=\"0912\" selected>Dec 2009"), std::string::npos);
}

TEST(TagsInPages, RequestValuesInLinksAreEscaped) {
  const std::string body = Sida("<!--START--><!--KONFPAKET(_top)--><!--SLUT-->\n",
                                "kundid=a1&vad=%22%3E%3Cscript%3Ex&anvkat=a%22b", "2024-01-20 10:00:00");
  EXPECT_EQ(body.find("<SCRIPT>"), std::string::npos) << body;
  EXPECT_NE(body.find("&vad=%22%3E%3CSCRIPT%3EX&sprak=S&anvkat=A%22B&"), std::string::npos) << body;
}

}  // namespace
