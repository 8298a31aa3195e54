// Web links through the redirect program: the "(EJQV)" forms, link types,
// agency-booked customers, the video option, online-booking prefixes, name
// links, and request values that try to break out of the link.
#include <unistd.h>

#include "app/Config.h"
#include "tags_customer_module.h"

namespace {

const std::string kLang = "www.exempel.se/sv/mycket/lang/sokvag/till/en/sida/som/aldrig/tar/slut.html";

class WebbTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Ftagnamn, Epost, Hemsida, HemsidaVR, HemsidaMM, HemsidaFacebook,
                  HemsidaOnlineBokning, OnlineBokningTyp, HemsidaOnlineBokningKonf)
  VALUES ('W1', 'G)SQL" "\xE5" R"SQL(rden', 'w1@x.se', 'www.garden.se', 'tur.se/garden', 'www.YouTube.com/embed/abc',
          'facebook.com/garden', 'boka?id=7', 'bokaweb', 'konf/7');
INSERT INTO Kund (Kundid, Ftagnamn, Epost, Hemsida, HemsidaVR, HemsidaMM, HemsidaFacebook, HemsidaOnlineBokning,
                  EjDirektbokning, BokasViaKundId)
  VALUES ('AG', 'Stugan', 'ag@x.se', 'www.ag.se', 'tur.se/ag', 'vimeo.com/1', 'facebook.com/ag', 'ag/boka', 'J', 'W1');
INSERT INTO Kund (Kundid, Hemsida, HemsidaMM, HemsidaOnlineBokning, OnlineBokningTyp)
  VALUES ('LONG', ')SQL" + kLang + R"SQL(', 'www.youtube.com/watch?v=abc', 'x', 'bo''ka');
INSERT INTO Kund (Kundid, Ftagnamn, HemsidaMM) VALUES ('NO', 'Ingen', 'vimeo.com/123');
INSERT INTO Kund (Kundid, Ftagnamn, Hemsida) VALUES ('k5', 'Liten', 'liten.se');
INSERT INTO Parm (Parmtyp, ParmNamn, ParmVarde) VALUES ('ONLINEBOKNINGTYP', 'BOKAWEB', 'bokaweb.se/'),
  ('ONLINEBOKNINGTYPKONF', 'BOKAWEB', 'fel.se/');
INSERT INTO Sprk (TextS, TextE) VALUES ('Virtuell rundvandring', 'Virtual tour'), ('Hemsida', 'Web site');
)SQL");
  }

  void Context(const std::string& vad, const std::string& anvkat = "", const std::string& avtal = "") {
    RS().Vad = vad;
    RS().AnvKat = anvkat;
    RS().Avtal = avtal;
  }
};

TEST_F(WebbTest, WebSiteAndTourThroughTheRedirect) {
  Page("W1");
  Context("KONF");
  const std::string ctx = "/cgi-win/redir.exe?kundid=W1&vad=KONF&sprak=S&anvkat=&avtal=";
  const std::string site = "&url=http://www.garden.se\" target=_top>www.garden.se</a><br>";
  EXPECT_EQ(F().HEMSIDA(true), "<a href=\"" + ctx + site + "<a href=\"" + ctx +
                                   "&lanktyp=vr&url=http://tur.se/garden\" target=_top>Virtuell rundvandring</a>");
  // The "(EJQV)" form differs only by "&qv=n" before the target.
  EXPECT_EQ(F().HEMSIDA(false),
            "<a href=\"" + ctx + "&qv=n" + site + "<a href=\"" + ctx +
                "&lanktyp=vr&qv=n&url=http://tur.se/garden\" target=_top>Virtuell rundvandring</a>");
  // A new window, and a tour link without its link type.
  EXPECT_EQ(F().HEMSIDABLANK(true),
            "<a href=\"" + ctx + "&url=http://www.garden.se\" target=_blank>www.garden.se</a><br><a href=\"" + ctx +
                "&url=http://tur.se/garden\" target=_blank>Virtuell rundvandring</a>");
  EXPECT_EQ(F().HEMSIDAURL(true), ctx + "&url=http://www.garden.se");
  EXPECT_EQ(F().HEMSIDAVRURL(false), ctx + "&lanktyp=vr&qv=n&url=http://tur.se/garden");
  Page("W1", "E");
  EXPECT_NE(
      F().HEMSIDA(true).find("&sprak=E&anvkat=&avtal=&lanktyp=vr&url=http://tur.se/garden\" target=_top>Virtual tour"),
      std::string::npos);
}

TEST_F(WebbTest, LongAddressIsBrokenOnlyInTheLinkText) {
  Page("LONG");
  const std::string link = F().HEMSIDA(true);
  EXPECT_NE(link.find("&url=http://" + kLang + "\""), std::string::npos);
  EXPECT_NE(link.find("\" target=_top>" + F().Radbryt(kLang, 50, 50) + "</a>"), std::string::npos);
  EXPECT_NE(F().Radbryt(kLang, 50, 50), kLang);
}

TEST_F(WebbTest, NothingToLinkTo) {
  Page("NO");
  EXPECT_EQ(F().HEMSIDA(true), "&nbsp;");
  EXPECT_EQ(F().HEMSIDABLANK(false), "&nbsp;");
  EXPECT_EQ(F().HEMSIDAURL(true), "");
  EXPECT_EQ(F().HEMSIDAVRURL(true), "");
  EXPECT_EQ(F().HEMSIDAFACEBOOK(), "");
  EXPECT_EQ(F().HEMSIDAFACEBOOKURL(true), "");
  EXPECT_EQ(F().HEMSIDAOLURL(true), "");
  EXPECT_EQ(F().HEMSIDAOLKONFURL(true), "");
  EXPECT_EQ(F().NAMNLANK("_top"), "Ingen");
  EXPECT_EQ(F().NAMNDIREKTLANK(""), "Ingen");
}

TEST_F(WebbTest, AgencyBookedCustomerHasNoLinksOfItsOwn) {
  Page("AG");
  EXPECT_EQ(F().HEMSIDA(true), "");
  EXPECT_EQ(F().HEMSIDABLANK(true), "");
  EXPECT_EQ(F().HEMSIDAURL(true), "");
  EXPECT_EQ(F().HEMSIDAVRURL(true), "");
  EXPECT_EQ(F().HEMSIDAMM(), "");
  EXPECT_EQ(F().HEMSIDAMMURL(true), "");
  EXPECT_EQ(F().HEMSIDAFACEBOOK(), "");
  EXPECT_EQ(F().HEMSIDAFACEBOOKURL(true), "");
  EXPECT_EQ(F().HEMSIDAOLURL(true), "");
  EXPECT_EQ(F().NAMNLANK(""), "Stugan");
  EXPECT_EQ(F().NAMNDIREKTLANK(""), "Stugan");
  // INTERNET shows the agency's e-mail but no web address.
  EXPECT_EQ(F().INTERNET(), "E-post: <a href=\"mailto:Kontakt via Tallbrun <w1@x.se>\">w1@x.se</a>");
  EXPECT_EQ(PageCustomer(), "AG");
}

TEST_F(WebbTest, InternetForThePageCustomer) {
  Page("W1", "E");
  Context("");
  const std::string ctx = "/cgi-win/redir.exe?kundid=W1&vad=&sprak=E&anvkat=&avtal=";
  EXPECT_EQ(F().INTERNET(), "E-post: <a href=\"mailto:Kontakt via Tallbrun <w1@x.se>\">w1@x.se</a><br>"
                            "Web site: <a href=\"" + ctx + "&url=http://www.garden.se\" target=_top>www.garden.se</a>"
                            "<br><a href=\"" + ctx + "&url=http://tur.se/garden\" target=_top>Virtual tour</a>");
  EXPECT_NE(F().INTERNETBLANK().find("www.garden.se\" target=_blank>www.garden.se</a>"), std::string::npos);
  Page("NO");
  EXPECT_EQ(F().INTERNET(), "&nbsp;");
}

TEST_F(WebbTest, VideoOptionOnTheVideoServiceOnly) {
  Page("W1");
  Context("");
  EXPECT_EQ(F().HEMSIDAMM(), "http://www.YouTube.com/embed/abc?rel=0");
  EXPECT_EQ(F().HEMSIDAMMURL(false), "/cgi-win/redir.exe?kundid=W1&vad=&sprak=S&anvkat=&avtal=&lanktyp=mm&qv=n"
                                     "&url=http://www.YouTube.com/embed/abc%3Frel%3D0");
  EXPECT_EQ(F().HEMSIDAFACEBOOK(), "http://facebook.com/garden");
  EXPECT_EQ(F().HEMSIDAFACEBOOKURL(true),
            "/cgi-win/redir.exe?kundid=W1&vad=&sprak=S&anvkat=&avtal=&lanktyp=mm&url=http://facebook.com/garden");
  Page("LONG");  // an address with a query already takes the option as one more parameter
  EXPECT_EQ(F().HEMSIDAMM(), "http://www.youtube.com/watch?v=abc&rel=0");
  Page("NO");
  EXPECT_EQ(F().HEMSIDAMM(), "http://vimeo.com/123");

  // The service is the operator's setting.
  fx_->Site().WriteFile("www/cgi-win/vemlo3.conf", "videovard = vimeo.com\n");
  ReloadConfig();
  EXPECT_EQ(F().HEMSIDAMM(), "http://vimeo.com/123?rel=0");
  fx_->Site().WriteFile("www/cgi-win/vemlo3.conf", "videovard =\n");
  ReloadConfig();
  EXPECT_EQ(F().HEMSIDAMM(), "http://vimeo.com/123");
  unlink("vemlo3.conf");
  ReloadConfig();
}

TEST_F(WebbTest, OnlineBookingWithTheSystemsPrefix) {
  Page("W1");
  Context("");
  EXPECT_EQ(F().HEMSIDAOLURL(true),
            "/cgi-win/redir.exe?&kundid=W1&vad=&sprak=S&anvkat=&avtal=&lanktyp=ol&url=http://bokaweb.se/boka%3Fid%3D7");
  EXPECT_EQ(F().q_temp.SQL.Items(),
            (std::vector<std::string>{"SELECT ParmVarde", "FROM [Tallbrun].[dbo].[Parm]",
                                      "WHERE (Parmtyp = 'ONLINEBOKNINGTYP')", " AND  (upper(ParmNamn) = 'BOKAWEB')"}));
  // Without a booking system the address stands alone.
  EXPECT_EQ(F().HEMSIDAOLKONFURL(false),
            "/cgi-win/redir.exe?kundid=W1&vad=&sprak=S&anvkat=&avtal=&lanktyp=ol&qv=n&url=http://konf/7");
  // A system without a parameter row: no prefix; its name is quoted.
  Page("LONG");
  EXPECT_EQ(F().HEMSIDAOLURL(true),
            "/cgi-win/redir.exe?&kundid=LONG&vad=&sprak=S&anvkat=&avtal=&lanktyp=ol&url=http://x");
  EXPECT_EQ(F().q_temp.SQL[3], " AND  (upper(ParmNamn) = 'BO''KA')");
}

TEST_F(WebbTest, NameLinks) {
  Page("k5", "E");
  Context("", "X");
  EXPECT_EQ(F().NAMNLANK("_blank"),
            "<a href=\"/cgi-win/redir.exe?kundid=K5&anvkat=X&sprak=E&url=http://liten.se\" target=_blank>Liten</a>");
  Context("KONF", "", "J");
  EXPECT_EQ(F().NAMNLANK(""),
            "<a href=\"/cgi-win/redir.exe?kundid=K5&vad=KONF&avtal=J&sprak=E&url=http://liten.se\">Liten</a>");
  EXPECT_EQ(F().NAMNDIREKTLANK("_top"), "<a href=\"http://liten.se\" target=_top>Liten</a>");
}

TEST_F(WebbTest, RequestValuesCannotLeaveTheLink) {
  Page("k5");
  const std::string attack = "\"><script>alert(1)</script>";
  const std::string escaped = "%22%3E%3Cscript%3Ealert%281%29%3C/script%3E";
  Context(attack, attack + "a", attack + "b");
  RS().Sprak = attack;
  EXPECT_EQ(F().HEMSIDAURL(true), "/cgi-win/redir.exe?kundid=k5&vad=" + escaped + "&sprak=" + escaped +
                                      "&anvkat=" + escaped + "a&avtal=" + escaped + "b&url=http://liten.se");
  EXPECT_EQ(F().NAMNLANK(""), "<a href=\"/cgi-win/redir.exe?kundid=K5&vad=" + escaped + "&anvkat=" + escaped +
                                  "a&avtal=" + escaped + "b&sprak=" + escaped + "&url=http://liten.se\">Liten</a>");
  RS().Sprak = "S";  // parameter handling admits only S, E and D
  for (const std::string& html : {F().HEMSIDA(true), F().HEMSIDABLANK(false), F().NAMNLANK("")}) {
    EXPECT_EQ(html.find("<script>"), std::string::npos) << html;
    EXPECT_EQ(html.find("\">\""), std::string::npos) << html;
  }
}

}  // namespace
