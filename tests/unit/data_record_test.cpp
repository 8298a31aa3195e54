// The customer's record with its offer tables, and the conference
// availability days.
#include "data_testdb.h"

namespace {

class SokKundTest : public FormDbTest {};

TEST_P(SokKundTest, StatementJoinsTheTenOfferTables) {
  form_->SokKund("K1");
  Lines expected{"SELECT *", "FROM [Tallbrun].[dbo].[Kund] Kund"};
  for (const char* x : {"Konf", "Aktv", "Logi", "Rfst", "Wend", "Undh", "Julb", "Fdag", "Bokn", "Blev"}) {
    expected.push_back(std::string(" LEFT OUTER JOIN [Tallbrun].[dbo].[") + x + "] " + x);
    expected.push_back(std::string(" ON  (Kund.Kundid = ") + x + ".Kundid)");
  }
  expected.push_back("WHERE Kund.KundId = 'K1'");
  EXPECT_EQ(form_->q_kund.SQL.Items(), expected);

  TQuery& q = form_->q_kund;
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.Text("Kundid"), "K1");
  EXPECT_EQ(q.Text("AntBio1"), "120");       // Konf
  EXPECT_EQ(q.Text("AntBaddar"), "40");      // Logi
  EXPECT_EQ(q.Text("AktvEgenText"), "");     // no Aktv row
  EXPECT_EQ(q.Text("KonfEgenText"), "Konferens vid sj\xF6n");
}

TEST_P(SokKundTest, CustomerWithoutOfferRowsAndUnknownIds) {
  form_->SokKund("K2");
  TQuery& q = form_->q_kund;
  ASSERT_EQ(q.RecordCount(), 1);
  EXPECT_EQ(q.Text("Kundid"), "K2");
  EXPECT_EQ(q.Text("KonfEgenText"), "");
  EXPECT_EQ(q.FieldByName("AntBaddar").AsInteger(), 0);

  form_->SokKund("K9");
  EXPECT_TRUE(form_->q_kund.Eof());
  EXPECT_EQ(form_->q_kund.Text("Ftagnamn"), "");

  form_->SokKund("K1' OR '1'='1");
  EXPECT_EQ(form_->q_kund.SQL.Items().back(), "WHERE Kund.KundId = 'K1'' OR ''1''=''1'");
  EXPECT_TRUE(form_->q_kund.Eof());
}

TEST_P(SokKundTest, AliasForm) {
  RS().AnvandADO = false;
  form_->SokKund("K1");
  EXPECT_EQ(form_->q_kund.SQL[1], "FROM \"Kund\" Kund");
  EXPECT_EQ(form_->q_kund.SQL[2], " LEFT OUTER JOIN \"Konf\" Konf");
  EXPECT_EQ(form_->q_kund.Text("AntBio1"), "120");
}

INSTANTIATE_TEST_SUITE_P(Backends, SokKundTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

class KonferensakutenTest : public FormDbTest {
protected:
  const TDateTime fran_ = EncodeDate(2009, 5, 31);
  std::vector<std::string> Days() { return Column(form_->q_temp, "Datum"); }
};

TEST_P(KonferensakutenTest, ThreeWeeksOfRecentlyUpdatedDays) {
  RS().UppdateradDagar = 7;
  form_->SokKonferensakuten("K1", fran_);
  EXPECT_EQ(form_->q_temp.SQL.Items(),
            (Lines{"SELECT Kfak.Datum, Kfak.AntBaddar, Kfak.Text, Kfak.Uppdaterad", "FROM [Tallbrun].[dbo].[Kfak] Kfak",
                   "WHERE (Kfak.KundId = 'K1') AND", "      (Kfak.Datum  >= '05/31/2009') AND",
                   "      (Kfak.Datum  <= '06/21/2009') AND", "      (Kfak.Uppdaterad >= '05/24/2009') AND",
                   "    (Kfak.AntBio >= 10)", "ORDER BY Kfak.Datum"}));
  // Both ends of the period count; updated exactly 7 days before counts.
  EXPECT_EQ(Days(), (Lines{"2009-05-31", "2009-06-01", "2009-06-15", "2009-06-21"}));
  TQuery& q = form_->q_temp;
  q.First();
  EXPECT_EQ(q.Text("Text"), "Ring!");
  EXPECT_EQ(q.Text("Uppdaterad"), "2009-05-30 10:00:00");
  q.Next();
  EXPECT_EQ(q.FieldByName("AntBaddar").AsInteger(), 12);
  EXPECT_EQ(q.FieldByName("Datum").AsDateTime(), EncodeDate(2009, 6, 1));
}

TEST_P(KonferensakutenTest, RequestedSeatsAndUpdateDays) {
  RS().UppdateradDagar = 7;
  RS().Antal = 25;
  form_->SokKonferensakuten("K1", fran_ + 0.75);  // the time of day does not matter
  EXPECT_EQ(form_->q_temp.SQL[6], "    (Kfak.AntBio >= 25)");
  EXPECT_EQ(form_->q_temp.SQL[3], "      (Kfak.Datum  >= '05/31/2009') AND");
  EXPECT_EQ(Days(), (Lines{"2009-06-01", "2009-06-15", "2009-06-21"}));

  RS().Antal = -1;
  RS().UppdateradDagar = 0;
  form_->SokKonferensakuten("K1", fran_);
  EXPECT_EQ(form_->q_temp.SQL[5], "      (Kfak.Uppdaterad >= '05/31/2009') AND");
  EXPECT_EQ(Days(), (Lines{"2009-06-15"}));

  form_->SokKonferensakuten("K'1", fran_);
  EXPECT_EQ(form_->q_temp.SQL[2], "WHERE (Kfak.KundId = 'K''1') AND");
  EXPECT_TRUE(form_->q_temp.Eof());
}

INSTANTIATE_TEST_SUITE_P(Backends, KonferensakutenTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

}  // namespace
