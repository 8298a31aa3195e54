// "upper(col) = 'X'" on SQLite: the back end may run it through a quicker
// comparison and a case-blind index, and the rows must be the same as
// upper() alone selects, in the same order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/DbBackend.h"
#include "data/SqlStatement.h"

namespace {

template <class Statement>
std::vector<std::string> Ids(DbConnection& db, const Statement& sql) {
  auto r = db.Query(sql);
  std::vector<std::string> ids;
  for (int row = 0; row < r->rows; ++row) ids.push_back(r->At(row, 0).text);
  return ids;
}

class UpperCompareTest : public ::testing::Test {
protected:
  void SetUp() override {
    db_ = OpenSqlite(":memory:", true, true);
    db_->Execute(
        "CREATE TABLE \"Fork\" (Id TEXT, Tabell TEXT, Falt TEXT, Fork TEXT, N INTEGER, PRIMARY KEY (Tabell, Falt, Fork));"
        "CREATE INDEX fork_tabell_falt_nocase ON \"Fork\" (Tabell COLLATE NOCASE, Falt COLLATE NOCASE);"
        "INSERT INTO \"Fork\" VALUES ('1', 'Kund', 'Lage', 'ab', 1), ('2', 'KUND', 'LAGE', 'AB', 2),"
        " ('3', 'kund', 'lage', 'Ab', 3), ('4', 'Kund', 'Lage', 'cd', 4), ('5', 'Kund', 'Lage', NULL, 5),"
        " ('6', 'Kund', 'Lage', '\xE5\xE4', 6), ('7', 'Kund', 'Lage', '\xC5\xC4', 7),"
        " ('8', 'Konf', 'Lage', 'AB', 8), ('9', 'Kund', 'Lage', 'ab ', 9), ('10', 'Kund', 'Lage', 'a''b', 10);");
  }
  std::unique_ptr<DbConnection> db_;
};

TEST_F(UpperCompareTest, AsciiValuesSelectWhatUpperSelects) {
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE (upper(Tabell) = 'KUND') AND (upper(Falt) = 'LAGE') AND "
                      "((upper(Fork) = 'AB') OR (upper(Fork) = 'CD')) ORDER BY N"),
            (std::vector<std::string>{"1", "2", "3", "4"}));
  // A literal in lower case never equals an upper-cased value.
  EXPECT_TRUE(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) = 'ab'").empty());
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) = 'AB ' ORDER BY N"), (std::vector<std::string>{"9"}));
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) = 'A''B'"), (std::vector<std::string>{"10"}));
  // Numbers read as their text.
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(N) = '7'"), (std::vector<std::string>{"7"}));
}

TEST_F(UpperCompareTest, SwedishLettersFoldThroughUpperOnly) {
  // Statements and data are Windows-1252: "\xC5\xC4" is the upper case of row 6's "\xE5\xE4".
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) = '\xC5\xC4' ORDER BY N"),
            (std::vector<std::string>{"6", "7"}));
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE (upper(Tabell) = 'KUND') AND (upper(Fork) = '\xC5\xC4') ORDER BY N"),
            (std::vector<std::string>{"6", "7"}));
}

TEST_F(UpperCompareTest, OrderWithoutOrderByIsTheTableOrder) {
  // The first row of a look-up without ORDER BY stays the same row.
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE (upper(Fork) = 'AB') AND (upper(Tabell) = 'KUND') AND "
                      "(upper(Falt) = 'LAGE')"),
            (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(UpperCompareTest, TextInQuotesAndOtherFormsAreLeftAlone) {
  EXPECT_EQ(Ids(*db_, "SELECT 'upper(Fork) = ?' AS x FROM Fork WHERE upper(Fork) = 'CD'"),
            (std::vector<std::string>{"upper(Fork) = ?"}));
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) <> 'AB' AND upper(Tabell) = 'KONF'").size(), 0u);
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) LIKE 'A%' AND upper(Tabell) = 'KONF'"),
            (std::vector<std::string>{"8"}));
  // Operators that bind tighter than "=" keep their operands.
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE upper(Fork) = 'C' || 'D'"), (std::vector<std::string>{"4"}));
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE 'X' || upper(Fork) = 'XCD'"), (std::vector<std::string>{"4"}));
  EXPECT_EQ(Ids(*db_, "SELECT Id FROM Fork WHERE NOT upper(Fork) = 'AB' AND upper(Tabell) = 'KUND' ORDER BY N"),
            (std::vector<std::string>{"4", "6", "7", "9", "10"}));
}

// A built statement runs its upper-case comparisons in the quicker form for
// ASCII values: the rows are those that the statement written out selects.
TEST_F(UpperCompareTest, BuiltComparisonsSelectWhatTheWrittenStatementSelects) {
  const std::vector<std::vector<std::string>> cases = {
      {"KUND", "LAGE", "AB"}, {"KUND", "LAGE", "ab"}, {"KUND", "LAGE", "AB "}, {"KUND", "LAGE", "A'B"},
      {"KUND", "LAGE", "\xC5\xC4"}, {"kund", "LAGE", "CD"}, {"KONF", "LAGE", "AB"}, {"KUND", "LAGE", ""}, {"KUND", "LAGE", "7"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0] + " " + c[1] + " " + c[2]);
    SqlStatement s;
    s.Line("SELECT Id FROM ").Table("Fork");
    s.Line("WHERE (").UpperEquals("Tabell", c[0]).Text(") AND (").UpperEquals("Falt", c[1]);
    s.Text(") AND ((").UpperEquals("Fork", c[2]).Text(") OR (").UpperEquals("N", c[2]).Text("))");
    std::vector<std::string> written = Ids(*db_, s.Written(SqlDialect::SQLite));
    EXPECT_EQ(Ids(*db_, s), written);
    // Twice: the second run reuses the prepared shape.
    EXPECT_EQ(Ids(*db_, s), written);
  }
  SqlStatement s;
  s.Line("SELECT Id FROM ").Table("Fork").Text(" WHERE ").UpperEquals("Fork", "AB").Text(" ORDER BY N");
  EXPECT_EQ(Ids(*db_, s), (std::vector<std::string>{"1", "2", "3", "8"}));
}

}  // namespace
