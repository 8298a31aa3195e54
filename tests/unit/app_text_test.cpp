// Text helpers, dates and numbers of the regional settings, and the
// request parameters.
#include <gtest/gtest.h>

#include "app/Config.h"
#include "app/vemlo3f.h"
#include "support/EngineHarness.h"

namespace {
struct Modul {
  std::string out;
  RequestScope scope{out};
  TForm1 form{false};
  std::string Skrivet() {
    scope.Flush();
    std::string r;
    r.swap(out);
    return r;
  }
};
}  // namespace

TEST(TextHelpers, SeparatorsFollowOnlyNonEmptyText) {
  Modul m;
  TForm1& f = m.form;
  EXPECT_EQ(f.komma(""), "");
  EXPECT_EQ(f.komma("a"), "a, ");
  EXPECT_EQ(f.och(f.och("") + "A") + "B", "A AND B");
  EXPECT_EQ(f.eller(f.eller(f.eller("") + "A") + "B") + "C", "A OR B OR C");
  EXPECT_EQ(f.parentes(""), "");
  EXPECT_EQ(f.parentes("x"), "(x)");
  EXPECT_EQ(f.br2("a") + f.hr("") + f.cr("b"), "a<br><br>b\r\n");
}

TEST(TextHelpers, ReplacingAndBlanks) {
  Modul m;
  TForm1& f = m.form;
  EXPECT_EQ(f.Ersatt("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(f.Ersatt("abc", "x", "y"), "abc");
  EXPECT_EQ(f.Ersatt("abc", "", "y"), "abc");
  EXPECT_EQ(f.RensaBlanka(" a b\tc "), "ab\tc");
  EXPECT_EQ(f.BytBlanka("a b"), "a&nbsp;b");
  EXPECT_EQ(f.InledVersal("\xF6l och mat"), "\xD6l och mat");
  EXPECT_EQ(f.InledVersal("\xE5"), "\xC5");
  EXPECT_EQ(f.InledVersal(""), "");
}

TEST(TextHelpers, EntitiesForWesternLettersOnly) {
  Modul m;
  m.form.PutAAO("\xC5re & \xD6land <b>");
  EXPECT_EQ(m.Skrivet(), "&Aring;re & &Ouml;land <b>");
  m.form.PutAAO("\xE5\xE4\xF6\xE9\xFC\xE6\xF8\xDF\xC5\xC4\xD6\xC9\xDC\xC6\xD8\xE8");
  EXPECT_EQ(m.Skrivet(),
            "&aring;&auml;&ouml;&eacute;&uuml;&aelig;&oslash;&szlig;&Aring;&Auml;&Ouml;&Eacute;&Uuml;&AElig;&Oslash;"
            "\xE8");
  // A letter at every place of the runs of plain text that are passed over
  // eight bytes at a time, and plain text of every length around them.
  for (size_t len = 0; len <= 20; ++len) {
    std::string plain(len, 'a');
    m.form.PutAAO(plain);
    EXPECT_EQ(m.Skrivet(), plain);
    for (size_t at = 0; at < len; ++at) {
      std::string s = plain, want = plain;
      s[at] = '\xF6';
      want.replace(at, 1, "&ouml;");
      m.form.PutAAO(s);
      EXPECT_EQ(m.Skrivet(), want) << len << " " << at;
      EXPECT_EQ(Entitetstext(s), want) << len << " " << at;
      // A high byte that has no entity stops the quick pass but stays as it is.
      s[at] = '\xE8';
      s += '\xE5';
      want = plain;
      want[at] = '\xE8';
      want += "&aring;";
      m.form.PutAAO(s);
      EXPECT_EQ(m.Skrivet(), want) << len << " " << at;
      EXPECT_EQ(Entitetstext(s), want) << len << " " << at;
    }
  }
  EXPECT_EQ(Entitetstext("\x80\xFF plain"), "\x80\xFF plain");
  m.form.PutAAOnbsp(" ");
  m.form.PutAAOnbsp("");
  m.form.PutAAOnbsp("  ");
  EXPECT_EQ(m.Skrivet(), "&nbsp;&nbsp;  ");
}

TEST(TextHelpers, LineBreakingOfLongAddresses) {
  Modul m;
  TForm1& f = m.form;
  std::string exakt(50, 'x');
  EXPECT_EQ(f.Radbryt(exakt, 50, 50), exakt);
  std::string adress = "http://www.example.se/" + std::string(40, 'a') + "/" + std::string(40, 'b') + "/slut.htm";
  std::string r = f.Radbryt(adress, 50, 50);
  EXPECT_EQ(r, "http://www.example.se/<br>" + std::string(40, 'a') + "/<br>" + std::string(40, 'b') + "/slut.htm");
  // A blank exactly at the width does not count; the last separator does.
  EXPECT_EQ(f.Radbryt("abc.def ghijkl", 8, 8), "abc.<br>def <br>ghijkl");
  EXPECT_EQ(f.Radbryt(std::string(12, 'z'), 5, 5), "zzzzz<br>zzzzz<br>zz");
}

TEST(TextHelpers, SplittingAtAnyOfTheSeparators) {
  Modul m;
  using V = std::vector<std::string>;
  EXPECT_EQ(m.form.DelaUppString("a,b,", ","), (V{"a", "b", ""}));
  EXPECT_EQ(m.form.DelaUppString("", ","), (V{""}));
  EXPECT_EQ(m.form.DelaUppString("a;b,,c", ",;"), (V{"a", "b", "", "c"}));
  EXPECT_EQ(m.form.ForstaAvgransare("abc;d", ",;"), 4);
  EXPECT_EQ(m.form.ForstaAvgransare("abc", ","), 0);
}

TEST(TextHelpers, NumbersAndMonths) {
  Modul m;
  EXPECT_EQ(m.form.ExtToStr(1234.5), "1234.50");
  EXPECT_EQ(m.form.DaysInMonth(EncodeDate(1900, 2, 10)), 28);
  EXPECT_EQ(m.form.DaysInMonth(EncodeDate(2000, 2, 10)), 29);
  EXPECT_EQ(m.form.DaysInMonth(EncodeDate(2024, 12, 31)), 31);
}

TEST(Regional, SwedishDatesTimesAndNumbers) {
  TDateTime t = EncodeDate(2009, 5, 3) + EncodeTime(8, 3, 9);
  EXPECT_EQ(DateToStr(t), "2009-05-03");
  EXPECT_EQ(DateTimeToStr(t), "2009-05-03 08:03:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2009, 5, 3)), "2009-05-03");
  EXPECT_EQ(FormatDateTime("yymm", t), "0905");
  EXPECT_EQ(FormatDateTime("d mmmm yyyy, dddd", t), "3 maj 2009, s\xF6ndag");
  EXPECT_EQ(FormatDateTime("hh:mm", t), "08:03");
  EXPECT_EQ(FormatDateTime("mm\"/\"dd\"/\"yyyy", t), "05/03/2009");
  // Leading zeros to the field's width, never cut to it.
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", EncodeDate(5, 1, 2) + EncodeTime(0, 0, 0, 7)),
            "0005-01-02 00:00:00.007");
  EXPECT_EQ(FormatDateTime("yyyy yy", EncodeDate(9999, 12, 31)), "9999 99");
  EXPECT_EQ(DayOfWeek(t), 1);
  EXPECT_EQ(DayOfWeek(0), 7);
  EXPECT_EQ(DateToStr(0), "1899-12-30");
  EXPECT_EQ(FloatToStr(1234.5), "1234,5");
  EXPECT_EQ(FloatToStr(25), "25");
  EXPECT_EQ(FloatToStr(-0.0), "0");
  EXPECT_EQ(FloatToStr(-7), "-7");
  EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(-0.25), "-0,25");
  EXPECT_EQ(FloatToStr(1.5e20), "1,5E20");
  TDateTime p;
  ASSERT_TRUE(TryParseDateTime("2024-02-29 23:59:59", p));
  EXPECT_EQ(DateTimeToStr(p), "2024-02-29 23:59:59");
  EXPECT_FALSE(TryParseDateTime("2023-02-29", p));
}

TEST(Regional, IntegerConversion) {
  int32_t v;
  EXPECT_TRUE(TryStrToInt("  25", v));
  EXPECT_EQ(v, 25);
  EXPECT_FALSE(TryStrToInt("25 ", v));
  EXPECT_FALSE(TryStrToInt("abc", v));
  EXPECT_FALSE(TryStrToInt("", v));
  EXPECT_FALSE(TryStrToInt("2147483648", v));
  EXPECT_TRUE(TryStrToInt("-2147483648", v));
  EXPECT_THROW(StrToInt("x"), EConvertError);
}

namespace {
// Reads the parameters of a request with the given form text.
TRequestState Parametrar(const std::string& form) {
  Modul m;
  RS() = TRequestState{};
  RS().Starttid = EncodeDate(2009, 5, 14) + EncodeTime(8, 3, 9);
  ParseFormText(form + "&", *ERS().FormFields);
  m.form.HamtaFormparametrar();
  return RS();
}
}  // namespace

TEST(Parameters, DefaultsAndNormalisations) {
  TRequestState s = Parametrar("");
  EXPECT_EQ(s.Funktion, "FAKTA");
  EXPECT_EQ(s.Mall, "ERROR");
  EXPECT_EQ(s.Sprak, "S");
  EXPECT_EQ(s.Stylesheet, "/csslib/vexa2.css");
  EXPECT_EQ(s.UppdateradDagar, 7);
  EXPECT_EQ(s.Antal, -1);
  EXPECT_TRUE(s.FelaktigtAnrop);
  EXPECT_EQ(s.FelRubrik, "Felaktigt anrop");

  s = Parametrar("kundid=a1&Mall=facts.HTM&Funktion=ktips&sprak=e&antal=abc&UppdateradDagar=0&debug=j");
  EXPECT_EQ(s.Mall, "facts");
  EXPECT_EQ(s.Funktion, "TIPS");
  EXPECT_EQ(s.ArMan, "0905");
  EXPECT_EQ(s.Sprak, "E");
  EXPECT_EQ(s.SprakKatalog, "/e");
  EXPECT_EQ(s.SprakSuffix, "E");
  EXPECT_EQ(s.Antal, -1);
  EXPECT_EQ(s.UppdateradDagar, 0);
  EXPECT_TRUE(s.DebugBegart);
  EXPECT_FALSE(s.FelaktigtAnrop);

  s = Parametrar("kundid=a1&Mall=.htm&Funktion=popup&sprak=x&debug=yes&UppdateradDagar=-1&ftagnamn=sj%F6");
  EXPECT_EQ(s.Mall, ".htm");
  EXPECT_EQ(s.Funktion, "FAKTA");
  EXPECT_EQ(s.Sprak, "S");
  EXPECT_EQ(s.SprakKatalog, "");
  EXPECT_EQ(s.SprakSuffix, "");
  EXPECT_FALSE(s.Debug);
  EXPECT_FALSE(s.DebugBegart);
  EXPECT_EQ(s.UppdateradDagar, 7);
  EXPECT_EQ(s.Ftagnamn, "SJ\xD6");
  EXPECT_EQ(s.ArMan, "");
}

TEST(Parameters, ListsKeepTheirRoomAndStopAtTheRequestsValues) {
  std::string form;
  for (int i = 1; i <= 31; ++i) form += "&kundid=k" + std::to_string(i);
  for (int i = 1; i <= 301; ++i) form += "&kommun=" + std::to_string(1000 + i);
  TRequestState s = Parametrar(form.substr(1));
  EXPECT_EQ(s.Kundid[30], "K30");
  EXPECT_EQ(s.Kommun[300], "1300");
  EXPECT_EQ(s.Kundid[1], "K1");
  s = Parametrar("kundid=a&kundid=&kundid=c");
  EXPECT_EQ(s.Kundid[1], "A");
  EXPECT_EQ(s.Kundid[2], "");
  EXPECT_EQ(s.Kundid[3], "C");
  EXPECT_EQ(s.Kundid[4], "");
}

TEST(Parameters, AddressesWithAnotherSchemeThanHttpCountAsNotGiven) {
  TRequestState s = Parametrar("kundid=a1&visasida=javascript:alert(document.cookie)&stylesheet=%20JaVa%09ScRiPt%3Ax"
                               "&background=data:image/svg%2Bxml,%3Csvg%3E");
  EXPECT_EQ(s.Visasida, "");
  EXPECT_EQ(s.Stylesheet, "/csslib/vexa2.css");
  EXPECT_EQ(s.Background, "");
  s = Parametrar("kundid=a1&visasida=vbscript:x&stylesheet=%01jav%0Aascript:x&background=j%00avascript:x");
  EXPECT_EQ(s.Visasida, "");
  EXPECT_EQ(s.Stylesheet, "/csslib/vexa2.css");
  EXPECT_EQ(s.Background, "");
  // Relative and http(s) addresses stay as given, another site's too; a
  // colon after the path has begun is no scheme.
  s = Parametrar("kundid=a1&visasida=HTTPS://andra.se/a?b%3Dc:d&stylesheet=//cdn.se/x.css&background=bild.gif?t%3D1:2");
  EXPECT_EQ(s.Visasida, "HTTPS://andra.se/a?b=c:d");
  EXPECT_EQ(s.Stylesheet, "//cdn.se/x.css");
  EXPECT_EQ(s.Background, "bild.gif?t=1:2");
  s = Parametrar("kundid=a1&visasida=%20http%3A//x.se/&stylesheet=/css/a.css&background=/b/c:d.gif");
  EXPECT_EQ(s.Visasida, "http://x.se/");
  EXPECT_EQ(s.Stylesheet, "/css/a.css");
  EXPECT_EQ(s.Background, "/b/c:d.gif");
}

TEST(Parameters, TheDebugEchoOnlyForTheClientsTheOperatorAllows) {
  SiteConfig c;
  for (const char* a : {"127.0.0.1", "::1", "::ffff:127.0.0.1", " 127.0.0.1 "}) EXPECT_TRUE(DebugAllowedFor(c, a)) << a;
  for (const char* a : {"10.0.0.7", "127.0.0.2", "", "::ffff:10.0.0.7", "127.0.0.1.evil"})
    EXPECT_FALSE(DebugAllowedFor(c, a)) << a;
  c.DebugFran = "10.0.0.7, 2001:DB8::5";
  EXPECT_TRUE(DebugAllowedFor(c, "10.0.0.7"));
  EXPECT_TRUE(DebugAllowedFor(c, "2001:db8::5"));
  EXPECT_FALSE(DebugAllowedFor(c, "127.0.0.1"));
  c.DebugFran = "*";
  EXPECT_TRUE(DebugAllowedFor(c, "192.0.2.1"));
  c.DebugFran = "";
  EXPECT_FALSE(DebugAllowedFor(c, "127.0.0.1"));

  // Read from the request's client address; the request's wish is kept.
  for (const auto& [addr, echo] : {std::pair<const char*, bool>{"127.0.0.1", true}, {"10.0.0.7", false}}) {
    std::string out;
    RequestScope scope(out, {std::string("REMOTE_ADDR=") + addr});
    TForm1 form(false);
    RS() = TRequestState{};
    ParseFormText("kundid=a1&debug=j&", *ERS().FormFields);
    form.HamtaFormparametrar();
    EXPECT_EQ(RS().Debug, echo) << addr;
    EXPECT_TRUE(RS().DebugBegart) << addr;
  }
}

TEST(Parameters, WhatCountsAsASelection) {
  EXPECT_TRUE(Parametrar("vad=KONF").FelaktigtAnrop);
  EXPECT_TRUE(Parametrar("vad=K&anvkat=x&sprak=e&antal=5&xkntkundid=1&visasida=a").FelaktigtAnrop);
  EXPECT_FALSE(Parametrar("funktion=tips").FelaktigtAnrop);
  for (const char* q : {"omrade=01", "kommun=0180", "ftagnamn=a", "avtal=x", "status=b", "niva=1", "undhgenre=x",
                        "fdaginriktning=x", "kedja=x"})
    EXPECT_FALSE(Parametrar(q).FelaktigtAnrop) << q;
}

TEST(ErrorPage, MessageCannotCloseItsComment) {
  Modul m;
  m.form.SkrivFelsida(Exception("x --> <script>alert(1)</script> ---"));
  std::string page = m.Skrivet();
  size_t open = page.find("<!--");
  size_t close = page.find("-->", open);
  EXPECT_EQ(page.substr(close), "-->\r\n</body></html>");
  EXPECT_NE(page.find("Message=x - -> <script>alert(1)</script> - - -\r\nHelpContext=0\r\n"), std::string::npos) << page;
}

TEST(ErrorPage, ControlCharactersOfTheMessageAreLeftOutOfItsComment) {
  Modul m;
  m.form.SkrivFelsida(Exception(std::string("Mall a\0b\r\nSet-Cookie: x\x1b[1m\x7f", 28)));
  std::string page = m.Skrivet();
  EXPECT_NE(page.find("Message=Mall a b  Set-Cookie: x [1m \r\nHelpContext=0\r\n"), std::string::npos) << page;
  EXPECT_EQ(page.find('\0'), std::string::npos);
}
