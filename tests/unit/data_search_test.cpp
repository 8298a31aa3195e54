// The customer search: the statement for each selection and what it finds.
#include "data_testdb.h"

namespace {

const char* const kStatusAny =
    "(Kund.Status = 'B' OR Kund.Status = 'F' OR Kund.Status = 'P' OR Kund.Status = 'G' OR Kund.Status = 'A')";

class SokTest : public FormDbTest {
protected:
  // The WHERE line of the search after running it.
  std::string Where() {
    form_->Sok();
    const auto& items = form_->q_dbqv.SQL.Items();
    for (const auto& l : items)
      if (l.rfind("WHERE ", 0) == 0) return l;
    return "";
  }
  std::vector<std::string> Found() { return Column(form_->q_dbqv, "Kundid"); }
};

TEST_P(SokTest, WithoutSelectionOnlyTheStatusCondition) {
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL.Items(),
            (Lines{"SELECT Kund.Kundid, Kund.Ftagnamn, Kund.Niva", "FROM [Tallbrun].[dbo].[Kund] Kund",
                   std::string("WHERE ") + kStatusAny, "ORDER BY Kund.Ftagnamn"}));
  EXPECT_EQ(Found(), (Lines{"K3", "K1", "K2"}));  // by name; K4 has another status
  form_->q_dbqv.First();
  EXPECT_EQ(form_->q_dbqv.Text("Ftagnamn"), "O'Learys");
}

TEST_P(SokTest, CustomerIdsAreOneConditionAndSkipEmptyElements) {
  RS().Kundid[1] = "K1";
  RS().Kundid[3] = "K3";
  EXPECT_EQ(Where(), std::string("WHERE ((Kund.Kundid = 'K1') OR (Kund.Kundid = 'K3')) AND ") + kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K3", "K1"}));
}

TEST_P(SokTest, Municipalities) {
  RS().Kommun[1] = "0180";
  EXPECT_EQ(Where(), std::string("WHERE (((Kund.Lankod = '01') AND (Kund.Kommkod = '80'))) AND ") + kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K1"}));

  // Only four-character values count, and the list ends at the first empty one.
  RS().Kommun[1] = "180";
  RS().Kommun[2] = "0305";
  RS().Kommun[4] = "1480";
  EXPECT_EQ(Where(), std::string("WHERE (((Kund.Lankod = '03') AND (Kund.Kommkod = '05'))) AND ") + kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K2"}));

  RS().Kommun = {};
  RS().Kommun[1] = "180";
  EXPECT_EQ(Where(), std::string("WHERE ") + kStatusAny);

  // A municipality wins over areas.
  RS().Kommun[1] = "0180";
  RS().Omrade[1] = "03";
  EXPECT_EQ(Where(), std::string("WHERE (((Kund.Lankod = '01') AND (Kund.Kommkod = '80'))) AND ") + kStatusAny);
}

TEST_P(SokTest, CountyAreasKeepThePlainStatement) {
  RS().Omrade[1] = "01";
  RS().Omrade[2] = "14";
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL.Items(),
            (Lines{"SELECT Kund.Kundid, Kund.Ftagnamn, Kund.Niva", "FROM [Tallbrun].[dbo].[Kund] Kund",
                   std::string("WHERE ((Kund.Lankod = '01') OR (Kund.Lankod = '14')) AND ") + kStatusAny,
                   "ORDER BY Kund.Ftagnamn"}));
  EXPECT_EQ(Found(), (Lines{"K3", "K1"}));
}

TEST_P(SokTest, RegionAreasJoinTheMunicipalityTable) {
  RS().Omrade[1] = "SS";
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL.Items(),
            (Lines{"SELECT Kund.Kundid, Kund.Ftagnamn, Kund.Niva", "FROM [Tallbrun].[dbo].[Kund] Kund",
                   " LEFT OUTER JOIN [Tallbrun].[dbo].[Komm] Komm",
                   " ON  (Kund.Lankod = Komm.Lankod AND Kund.Kommkod = Komm.Kommkod)",
                   std::string("WHERE ((Komm.Region = 'S')) AND ") + kStatusAny, "ORDER BY Kund.Ftagnamn"}));
  EXPECT_EQ(Found(), (Lines{"K1"}));

  RS().Omrade[1] = "SG";
  form_->Sok();
  EXPECT_EQ(Found(), (Lines{"K3"}));

  // A region and a county: customers of the county stay in, joined or not.
  RS().Omrade[1] = "SM";
  RS().Omrade[2] = "14";
  EXPECT_EQ(Where(), std::string("WHERE ((Komm.Region = 'M') OR (Kund.Lankod = '14')) AND ") + kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K3", "K2"}));
}

TEST_P(SokTest, AgreementsLevelsAndTexts) {
  RS().Avtal = "ab,cd";
  EXPECT_EQ(Where(), std::string("WHERE ((upper(Kund.Avtal) LIKE '%AB%') OR (upper(Kund.Avtal) LIKE '%CD%')) AND ") +
                         kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K3", "K1", "K2"}));
  RS().Avtal.clear();

  RS().Niva = ">1";
  EXPECT_EQ(Where(), std::string("WHERE ") + kStatusAny + " AND (upper(Kund.Niva) > '1')");
  EXPECT_EQ(Found(), (Lines{"K3"}));
  RS().Niva = "0";
  EXPECT_EQ(Where(), std::string("WHERE ") + kStatusAny + " AND (upper(Kund.Niva) = '0')");
  EXPECT_EQ(Found(), (Lines{"K2"}));
  RS().Niva.clear();

  RS().Status = "X";
  EXPECT_EQ(Where(), "WHERE (upper(Kund.Status) = 'X')");
  EXPECT_EQ(Found(), (Lines{"K4"}));
}

TEST_P(SokTest, ConditionsInTheirFixedOrder) {
  auto& rs = RS();
  rs.FdagInriktning = "LEDAR";
  rs.UndhGenre = "ROCK";
  rs.Niva = "1";
  rs.Status = "B";
  rs.ArMan = "0905";
  rs.Avtal = "AB";
  rs.Kommun[1] = "0180";
  rs.Vad = "K";
  rs.Kundid[1] = "K1";
  rs.Kedja = "NORD";
  rs.Ftagnamn = "SJ";
  EXPECT_EQ(Where(),
            "WHERE (upper(Kund.Ftagnamn) LIKE '%SJ%') AND (upper(Kund.Kedja) LIKE '%NORD%') AND "
            "((Kund.Kundid = 'K1')) AND (Kund.Konferenslokal = 'J') AND "
            "(((Kund.Lankod = '01') AND (Kund.Kommkod = '80'))) AND ((upper(Kund.Avtal) LIKE '%AB%')) AND "
            "(Kund.Tips LIKE '%0905%') AND (upper(Kund.Status) = 'B') AND (upper(Kund.Niva) = '1') AND "
            "(upper(Kund.UndhGenre) LIKE '%ROCK%') AND (upper(Kund.FdagInriktning) LIKE '%LEDAR%')");
  EXPECT_EQ(Found(), (Lines{"K1"}));
}

TEST_P(SokTest, CategoryLetters) {
  const std::pair<const char*, const char*> letters[] = {
      {"A", "Aktivitetsarrangor"}, {"C", "Branschleverantor"}, {"D", "Konferenslokal"}, {"F", "Festlokal"},
      {"G", "Foredrag"},           {"J", "Julbord"},           {"K", "Konferenslokal"}, {"L", "Konferenslokal"},
      {"O", "Logi"},               {"T", "Turistbyra"},        {"U", "Underhallning"},  {"Y", "Bokningsbyra"},
      {"W", "Weekendresor"}};
  for (const auto& [vad, column] : letters) {
    RS().Vad = vad;
    EXPECT_EQ(Where(), std::string("WHERE (Kund.") + column + " = 'J') AND " + kStatusAny) << vad;
  }
  for (const char* vad : {"", "B", "KONF", "k"}) {
    RS().Vad = vad;
    EXPECT_EQ(Where(), std::string("WHERE ") + kStatusAny) << vad;
  }
  RS().Vad = "O";
  form_->Sok();
  EXPECT_EQ(Found(), (Lines{"K1"}));
}

TEST_P(SokTest, SwedishLettersInTheName) {
  RS().Vad = "K";
  RS().Ftagnamn = "SJ\xD6";
  EXPECT_EQ(Where(), std::string("WHERE (upper(Kund.Ftagnamn) LIKE '%SJ\xD6%') AND (Kund.Konferenslokal = 'J') AND ") +
                         kStatusAny);
  EXPECT_EQ(Found(), (Lines{"K1"}));
  RS().Vad.clear();
  RS().Ftagnamn = "\xC4NGSG\xC5";
  form_->Sok();
  EXPECT_EQ(Found(), (Lines{"K2"}));
}

TEST_P(SokTest, QuotesInValuesNeitherBreakNorWidenTheSearch) {
  auto& rs = RS();
  rs.Ftagnamn = "O'LEARYS";
  form_->Sok();
  EXPECT_EQ(Found(), (Lines{"K3"}));  // the quote is part of the name

  rs.Ftagnamn = "X%') OR ('1'='1";
  EXPECT_EQ(Where(), std::string("WHERE (upper(Kund.Ftagnamn) LIKE '%X%'') OR (''1''=''1%') AND ") + kStatusAny);
  EXPECT_TRUE(Found().empty());
  rs.Ftagnamn.clear();

  const char* attacks[] = {"K1' OR '1'='1", "K1') OR ('1'='1", "K1'; DELETE FROM Kund; --"};
  for (const char* a : attacks) {
    rs.Kundid[1] = a;
    form_->Sok();
    EXPECT_TRUE(Found().empty()) << a;
  }
  rs.Kundid[1].clear();

  rs.Avtal = "AB') OR (1=1) --";
  form_->Sok();
  EXPECT_TRUE(Found().empty());
  rs.Avtal.clear();

  rs.Kommun[1] = "0'80";
  rs.Status = "B' OR '1'='1";
  rs.Niva = ">'";
  rs.UndhGenre = "'";
  rs.Kedja = "''";
  rs.ArMan = "09'05";
  rs.FdagInriktning = "\\'";
  form_->Sok();
  EXPECT_TRUE(Found().empty());

  // Nothing was changed on the way.
  RS() = TRequestState();
  RS().Sprak = "S";
  RS().AnvandADO = true;
  form_->Sok();
  EXPECT_EQ(Found().size(), 3u);
}

TEST_P(SokTest, AliasFormOfTableNames) {
  RS().AnvandADO = false;
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL[1], "FROM \"Kund\" Kund");
  EXPECT_EQ(Found().size(), 3u);
  RS().Omrade[1] = "SS";
  form_->Sok();
  EXPECT_EQ(form_->q_dbqv.SQL[2], " LEFT OUTER JOIN \"Komm\" Komm");
  EXPECT_EQ(Found(), (Lines{"K1"}));
}

INSTANTIATE_TEST_SUITE_P(Backends, SokTest, ::testing::ValuesIn(TestDbKinds()), DbKindName);

}  // namespace
