// Page texts in the request's language and code names.
#include "data_testdb.h"

namespace {

class LookupTest : public FormDbTest {
protected:
  void Language(const char* sprak, const char* suffix) {
    RS().Sprak = sprak;
    RS().SprakSuffix = suffix;
  }
};

TEST_P(LookupTest, SwedishPluralNeedsNoQuery) {
  form_->q_sprk.SQL.Add("untouched");
  EXPECT_EQ(form_->HamtaText("personer", 10), "personer");
  EXPECT_EQ(form_->HamtaText("finns inte", 0), "finns inte");
  EXPECT_EQ(form_->q_sprk.SQL.Items(), (Lines{"untouched"}));
  EXPECT_FALSE(form_->q_sprk.Active());
}

TEST_P(LookupTest, SingularAndTranslationsFallBack) {
  EXPECT_EQ(form_->HamtaText("personer", 1), "person");  // TextSSing
  EXPECT_EQ(form_->q_sprk.SQL.Items(),
            (Lines{"SELECT *", "FROM [Tallbrun].[dbo].[Sprk]", "WHERE TextS = 'personer'"}));
  EXPECT_EQ(form_->HamtaText("rum", 1), "rum");          // empty TextSSing: the key itself
  EXPECT_EQ(form_->HamtaText("ok\xE4nt", 1), "ok\xE4nt");      // no row

  Language("E", "E");
  EXPECT_EQ(form_->HamtaText("personer", 3), "people");
  EXPECT_EQ(form_->HamtaText("personer", 1), "person");
  EXPECT_EQ(form_->HamtaText("rum", 2), "room");         // empty TextE: the singular
  EXPECT_EQ(form_->HamtaText("rum", 1), "room");
  EXPECT_EQ(form_->HamtaText("tom", 0), "tom");          // nothing translated: the key
  EXPECT_EQ(form_->HamtaText("Pris", 0), "Price");

  Language("D", "D");
  EXPECT_EQ(form_->HamtaText("Pris", 1), "Preis");       // no singular: the plural
  EXPECT_EQ(form_->HamtaText("rum", 1), "rum!");         // nothing German: TextSing
  EXPECT_EQ(form_->HamtaText("Kontakta O'Learys", 0), "Kontakta O'Learys");
  EXPECT_EQ(form_->q_sprk.SQL[2], "WHERE TextS = 'Kontakta O''Learys'");
}

TEST_P(LookupTest, CodeListsInNameOrder) {
  EXPECT_EQ(form_->HamtaForknamn("KONF", "Profil", "ABBA", ", "), "Bastu, Pool");
  EXPECT_EQ(form_->q_temp.SQL.Items(),
            (Lines{"SELECT Forknamn, ForknamnE, ForknamnD", "FROM [Tallbrun].[dbo].[Fork]",
                   "WHERE ((upper(Fork) = 'AB') OR (upper(Fork) = 'BA')) AND (upper(Tabell) = 'KONF') AND "
                   "(upper(Falt) = 'PROFIL')",
                   "ORDER BY Forknamn"}));
  // A single character left over is ignored; codes are upper-cased.
  EXPECT_EQ(form_->HamtaForknamn("konf", "profil", "abC", "<br>"), "Pool");
  EXPECT_EQ(form_->q_temp.SQL[2],
            "WHERE ((upper(Fork) = 'AB')) AND (upper(Tabell) = 'KONF') AND (upper(Falt) = 'PROFIL')");
  // One character: every code of the column.
  EXPECT_EQ(form_->HamtaForknamn("KUND", "Lage", "X", "<br>"), "Centralt<br>Landsbygd<br>Sj\xF6n\xE4ra");
  EXPECT_EQ(form_->q_temp.SQL[2], "WHERE (upper(Tabell) = 'KUND') AND (upper(Falt) = 'LAGE')");
  // Unknown codes: nothing.
  EXPECT_EQ(form_->HamtaForknamn("KUND", "Lage", "ZZ", ", "), "");
}

TEST_P(LookupTest, EmptyCodesNeedNoQuery) {
  form_->q_temp.SQL.Add("untouched");
  EXPECT_EQ(form_->HamtaForknamn("KUND", "Lage", "", ", "), "");
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", ""), "");
  EXPECT_EQ(form_->q_temp.SQL.Items(), (Lines{"untouched"}));
}

TEST_P(LookupTest, CodeNamesInTheRequestLanguage) {
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", "sj"), "Sj\xF6n\xE4ra");
  EXPECT_EQ(form_->q_temp.SQL.Items(),
            (Lines{"SELECT Forknamn, ForknamnE, ForknamnD", "FROM [Tallbrun].[dbo].[Fork]",
                   "WHERE (upper(Fork) = 'SJ') AND (upper(Tabell) = 'KUND') AND (upper(Falt) = 'LAGE')"}));
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", "QQ"), "");

  Language("E", "E");
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", "SJ"), "Lakeside");
  EXPECT_EQ(form_->HamtaForknamn("KUND", "Lage", "SJCE", ", "), "Central, Lakeside");
  EXPECT_EQ(form_->q_temp.SQL.Items().back(), "ORDER BY ForknamnE");

  // German names missing for CE: the Swedish name stands in (sorted first,
  // as its German name is empty).
  Language("D", "D");
  EXPECT_EQ(form_->HamtaForknamn("KUND", "Lage", "SJCE", "<br>"), "Centralt<br>Am See");
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", "CE"), "Centralt");
}

TEST_P(LookupTest, QuotesInTableColumnOrCode) {
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage' OR 'a'='a", "SJ"), "");
  EXPECT_EQ(form_->HamtaForknamn1("KUND", "Lage", "S'"), "");
  EXPECT_EQ(form_->HamtaForknamn("KUND'", "Lage", "SJ'J", ", "), "");
}

INSTANTIATE_TEST_SUITE_P(Backends, LookupTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

}  // namespace
