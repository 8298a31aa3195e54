// Second-customer tags: the agency a customer books through and the customer
// the request names, found or missing, and an id that tries to change the
// statement.
#include "tags_customer_module.h"

namespace {

class AndraKundTest : public TagTest {
protected:
  void SetUp() override {
    Data(R"SQL(
INSERT INTO Kund (Kundid, Ftagnamn, BokasViaKundId) VALUES ('K1', 'Stugan', 'BY');
INSERT INTO Kund (Kundid, Ftagnamn, BildFil, LogotypeFil, EgenText, EgenTextEng, EgenTextTy)
  VALUES ('BY', 'Byr)SQL" "\xE5" R"SQL(n', '/b/by.jpg', NULL, 'Vi <b>bokar</b>', 'We book', '');
INSERT INTO Kund (Kundid, Ftagnamn, BokasViaKundId) VALUES ('K2', 'Utan', '');
)SQL");
  }
};

TEST_F(AndraKundTest, AgencyOfTheCustomer) {
  Page("K1");
  EXPECT_EQ(F().BOKASVIANAMN(), "Byr\xE5n");
  EXPECT_EQ(F().BOKASVIABILD(), "<img border=0 src=\"/b/by.jpg\">");
  // The column is not tested: the element stands without an address too.
  EXPECT_EQ(F().BOKASVIALOGOTYP(), "<img border=0 src=\"\"><br>");
  EXPECT_EQ(F().BOKASVIATEXT(), "Vi <b>bokar</b>");
  EXPECT_EQ(F().q_temp.SQL.Items(), (std::vector<std::string>{"SELECT EgenText, EgenTextEng, EgenTextTy",
                                                              "FROM [Tallbrun].[dbo].[Kund]", "WHERE KundId = 'BY'"}));
  EXPECT_FALSE(F().q_temp.Active());
  Page("K1", "E");
  EXPECT_EQ(F().BOKASVIATEXT(), "We book");
  Page("K1", "D");  // no German text: nothing, not another language
  EXPECT_EQ(F().BOKASVIATEXT(), "");
  EXPECT_EQ(PageCustomer(), "K1");
}

TEST_F(AndraKundTest, NoAgency) {
  Page("K2");
  for (auto tag : {&TForm1::BOKASVIANAMN, &TForm1::BOKASVIABILD, &TForm1::BOKASVIALOGOTYP, &TForm1::BOKASVIATEXT})
    EXPECT_EQ((F().*tag)(), "");
}

TEST_F(AndraKundTest, CustomerNamedByTheRequest) {
  Page("K2");
  RS().XKntKundId = "BY";
  RS().Debug = true;
  EXPECT_EQ(F().XKNTNAMN(), "Byr\xE5n");
  EXPECT_EQ(F().XKNTBILD(), "<img border=0 src=\"/b/by.jpg\">");
  EXPECT_EQ(F().XKNTLOGOTYP(), "<img border=0 src=\"\"><br>");
  EXPECT_EQ(F().XKNTTEXT(), "Vi <b>bokar</b>");
  EXPECT_NE(fx_->TakeOutput().find("SELECT LogotypeFil"), std::string::npos);  // echoed in debug mode
  RS().Debug = false;

  for (const char* id : {"", "SAKNAS", "BY' OR '1'='1", "BY'; DROP TABLE Kund; --"}) {
    RS().XKntKundId = id;
    for (auto tag : {&TForm1::XKNTNAMN, &TForm1::XKNTBILD, &TForm1::XKNTLOGOTYP, &TForm1::XKNTTEXT})
      EXPECT_EQ((F().*tag)(), "") << id;
  }
  EXPECT_EQ(F().q_temp.SQL[2], "WHERE KundId = 'BY''; DROP TABLE Kund; --'");
  RS().XKntKundId = "BY";
  EXPECT_EQ(F().XKNTNAMN(), "Byr\xE5n");  // the table is still there
}

}  // namespace
