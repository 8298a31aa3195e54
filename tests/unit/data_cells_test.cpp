// A result keeps its texts as the database gave them and converts a cell
// only when it is read: what a reader gets must be what an eager conversion
// gave, however often and in whatever order cells are read.
#include <gtest/gtest.h>

#include <string>

#include "data/DbBackend.h"
#include "data/Query.h"
#include "data/SqlStatement.h"

namespace {

TEST(DbResultTest, CellsReadAsTheyWouldHaveBeenConvertedAtOnce) {
  DbResult r;
  auto columns = std::make_shared<DbColumns>();
  columns->names = {"t", "d"};
  columns->BuildIndex();
  r.columns = columns;
  // Many rows, so that the text buffer grows (and moves) while it is filled.
  for (int row = 0; row < 200; ++row) {
    r.AddText("Sj\xC3\xB6 " + std::to_string(row), true);
    r.AddDateText(DbKind::Date, row % 2 ? "2009-05-31" : "soon", true);
    ++r.rows;
  }
  for (int row = 0; row < 200; ++row) {
    EXPECT_EQ(r.At(row, 0).kind, DbKind::Text);
    EXPECT_EQ(r.At(row, 0).text, "Sj\xF6 " + std::to_string(row));
    DbCell d = r.At(row, 1);
    if (row % 2) {
      EXPECT_EQ(d.kind, DbKind::Date);
      EXPECT_EQ(d.num.f, EncodeDate(2009, 5, 31));
      EXPECT_EQ(d.text, "");
    } else {
      EXPECT_EQ(d.kind, DbKind::Text);  // a date column's text that is no date reads as that text
      EXPECT_EQ(d.text, "soon");
    }
  }
  // Windows-1252 bytes (the PostgreSQL session's) are taken as they are.
  DbResult w;
  w.AddText("Sj\xF6", false);
  w.AddNull();
  w.AddText("", true);
  w.AddInteger(1, DbKind::Boolean);
  w.rows = 1;
  auto four = std::make_shared<DbColumns>();
  four->names = {"a", "b", "c", "e"};
  w.columns = four;
  EXPECT_EQ(w.At(0, 0).text, "Sj\xF6");
  EXPECT_TRUE(w.IsNull(0, 1));
  EXPECT_EQ(w.At(0, 1).kind, DbKind::Null);
  EXPECT_FALSE(w.IsNull(0, 2));  // an empty text is no NULL
  EXPECT_EQ(w.At(0, 2).kind, DbKind::Text);
  EXPECT_EQ(w.At(0, 3).kind, DbKind::Boolean);
  EXPECT_EQ(w.At(0, 3).num.i, 1);
  // A result without columns finds none.
  EXPECT_EQ(DbResult().FindColumn("x"), -1);
}

class SqliteCellsTest : public ::testing::Test {
protected:
  void SetUp() override {
    db_ = OpenSqlite(":memory:", true, true);
    db_->Execute(
        "CREATE TABLE T (N INTEGER, S TEXT, D DATE, DT DATETIME);"
        "INSERT INTO T VALUES (1, NULL, NULL, NULL), (2, '', '', ''),"
        " (3, 'Sj\xF6 \x80 \xC5re och en l\xE4ngre text', '2009-05-31', '2009-05-31 10:30:00'),"
        " (4, CAST(X'41C328' AS TEXT), 'snart', '2009-05-31'),"
        " (5, CAST(X'E4B8AD' AS TEXT), '2024-02-30', '2024-03-05 00:00:00');");
  }
  std::unique_ptr<DbConnection> db_;
};

TEST_F(SqliteCellsTest, NullEmptyLettersBrokenTextsAndDates) {
  auto r = db_->Query(std::string("SELECT S, D, DT FROM T ORDER BY N"));
  ASSERT_EQ(r->rows, 5);
  // NULL in every column.
  for (int c = 0; c < 3; ++c) EXPECT_EQ(r->At(0, c).kind, DbKind::Null) << c;
  // Empty texts stay texts, also in date columns.
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(r->At(1, c).kind, DbKind::Text) << c;
    EXPECT_EQ(r->At(1, c).text, "") << c;
  }
  EXPECT_EQ(r->At(2, 0).text, "Sj\xF6 \x80 \xC5re och en l\xE4ngre text");
  EXPECT_EQ(r->At(2, 1).kind, DbKind::Date);
  EXPECT_EQ(r->At(2, 1).num.f, EncodeDate(2009, 5, 31));
  EXPECT_EQ(r->At(2, 2).kind, DbKind::DateTime);
  EXPECT_DOUBLE_EQ(r->At(2, 2).num.f, EncodeDate(2009, 5, 31) + EncodeTime(10, 30, 0));
  // Broken UTF-8 and characters outside Windows-1252 become "?".
  EXPECT_EQ(r->At(3, 0).text, "A?(");
  EXPECT_EQ(r->At(4, 0).text, "?");
  // Texts of date columns that are no dates read as texts.
  EXPECT_EQ(r->At(3, 1).kind, DbKind::Text);
  EXPECT_EQ(r->At(3, 1).text, "snart");
  EXPECT_EQ(r->At(4, 1).text, "2024-02-30");
  EXPECT_EQ(r->At(3, 2).kind, DbKind::DateTime);  // a date-time column may hold a bare date
  EXPECT_EQ(r->At(3, 2).num.f, EncodeDate(2009, 5, 31));
}

TEST_F(SqliteCellsTest, NumbersAndBlobsWhereverTheyStand) {
  // SQLite keeps a value's own type whatever the column declares.
  auto r = db_->Query(std::string("SELECT X'C3A5', 7, 2.5, CAST(X'' AS TEXT), D FROM T WHERE N = 3"));
  ASSERT_EQ(r->rows, 1);
  EXPECT_EQ(r->At(0, 0).kind, DbKind::Text);  // a blob reads as its bytes, as text
  EXPECT_EQ(r->At(0, 0).text, "\xE5");
  EXPECT_EQ(r->At(0, 1).kind, DbKind::Integer);
  EXPECT_EQ(r->At(0, 1).num.i, 7);
  EXPECT_EQ(r->At(0, 2).kind, DbKind::Float);
  EXPECT_EQ(r->At(0, 2).num.f, 2.5);
  EXPECT_EQ(r->At(0, 3).text, "");
  EXPECT_EQ(r->At(0, 4).kind, DbKind::Date);
}

TEST_F(SqliteCellsTest, AResultStaysReadableWhileItsStatementRunsAgain) {
  // The same shape with other values: one prepared statement, reset and run
  // again while the first result is still held.
  auto byNumber = [](int n) {
    SqlStatement s;
    s.Line("SELECT S, DT FROM T WHERE N = ").Value(std::to_string(n));
    return s;
  };
  auto first = db_->Query(byNumber(3));
  auto second = db_->Query(byNumber(5));
  auto third = db_->Query(byNumber(2));
  ASSERT_EQ(first->rows, 1);
  EXPECT_EQ(first->At(0, 0).text, "Sj\xF6 \x80 \xC5re och en l\xE4ngre text");
  EXPECT_EQ(first->At(0, 0).text, first->At(0, 0).text);  // read twice, the same
  EXPECT_EQ(second->At(0, 0).text, "?");
  EXPECT_EQ(second->At(0, 1).num.f, EncodeDate(2024, 3, 5));
  EXPECT_EQ(third->At(0, 0).text, "");
  EXPECT_EQ(first->columns, second->columns);  // the statement's columns are shared
}

TEST(QueryCellsTest, FieldsAfterTheLastRowAndAfterClose) {
  const std::string file = ::testing::TempDir() + "cells_test.db";
  std::remove(file.c_str());
  OpenSqlite(file, true, true)->Execute("CREATE TABLE T (N INTEGER, S TEXT); INSERT INTO T VALUES (1, 'Sj\xF6');");
  TQuery q("q_temp");
  q.SetConnectionString("Provider=SQLite;Data Source=" + file);
  q.SQL.Add("SELECT N, S FROM T");
  q.Open();
  TField s = q.FieldByName("S");
  EXPECT_EQ(s.AsString(), "Sj\xF6");
  EXPECT_EQ(s.AsString(), "Sj\xF6");
  EXPECT_FALSE(s.IsNull());
  q.Next();
  ASSERT_TRUE(q.Eof());
  // Past the last row every field reads as NULL.
  EXPECT_TRUE(q.FieldByName("S").IsNull());
  EXPECT_EQ(q.Text("S"), "");
  EXPECT_EQ(q.FieldByName("N").AsInteger(), 0);
  q.First();
  EXPECT_EQ(q.Text("S"), "Sj\xF6");
  q.Close();
  EXPECT_THROW(q.FieldByName("S"), EDatabaseError);
  CloseDatabaseConnections();
  std::remove(file.c_str());
}

}  // namespace
