// Contact and web tags in a whole page of the real program: letters become
// entities on the way out, the agency switch leaves the page's customer in
// place for the tags that follow, and request parameters reach the links
// escaped.
#include <gtest/gtest.h>

#include "support/Site.h"

namespace {

// Rows in UTF-8, as the test database stores them.
const char* kRader =
    "INSERT INTO Kund (Kundid, Ftagnamn, Status, Niva, Tele, Hemsida, EjDirektbokning, BokasViaKundId) VALUES "
    "('AG', 'Stugan vid sj\xC3\xB6n', 'B', '1', '08-egen', 'stugan.se', 'J', 'BY'),"
    "('BY', 'Byr\xC3\xA5n', 'B', '0', '08-byr\xC3\xA5', NULL, NULL, NULL),"
    "('EG', 'G\xC3\xA5rden', 'B', '0', '08-1', 'garden.se', NULL, NULL);"
    // The agreement search must find the customer with the odd agreement.
    "UPDATE Kund SET Avtal = 'x</A>' WHERE Kundid = 'EG';";

std::string Sida(const std::string& mall, const std::string& query) {
  TestSite site;
  site.UseSqlite(kRader);
  site.WriteFile("www/kund/facts.htm", mall);
  return SplitResponse(site.Get(query).out).body;
}

TEST(KontaktSida, AgencyNumbersAndTheCustomersOwnName) {
  EXPECT_EQ(Sida("<!--START--><!--TELEFON-->|<!--NAMN-->|<!--HEMSIDA-->|<!--NAMNLANK(_blank)-->|<!--BOKASVIANAMN-->"
                 "<!--SLUT-->\n",
                 "kundid=ag"),
            "Tel: 08-byr&aring;|Stugan vid sj&ouml;n||Stugan vid sj&ouml;n|Byr&aring;n\r\n");
}

TEST(KontaktSida, RequestParametersReachTheLinksFormEncoded) {
  const std::string body = Sida("<!--START--><!--HEMSIDA(EJQV)-->|<!--NAMNLANK--><!--SLUT-->\n",
                                "kundid=eg&vad=%22%3E%3Cscript%3E&anvkat=a%26b&avtal=%3C%2Fa%3E&xkntkundid=x");
  EXPECT_EQ(body,
            "<a href=\"/cgi-win/redir.exe?kundid=EG&vad=%22%3E%3CSCRIPT%3E&sprak=S&anvkat=A%26B"
            "&avtal=%3C/A%3E&qv=n&url=http://garden.se\" target=_top>garden.se</a>|"
            "<a href=\"/cgi-win/redir.exe?kundid=EG&vad=%22%3E%3CSCRIPT%3E&anvkat=A%26B&avtal=%3C/A%3E"
            "&sprak=S&url=http://garden.se\">G&aring;rden</a>\r\n");
}

}  // namespace
