#include "data_testdb.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "data/DbBackend.h"
#include "gateway/HUtils.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Removes the SQLite file when the test program ends.
struct TempFile {
  std::string path;
  ~TempFile() {
    if (!path.empty()) std::remove(path.c_str());
  }
};

std::unique_ptr<TestDb> CreateSqlite() {
  static TempFile file;
  file.path = "/tmp/vemlo_data_test_" + std::to_string(getpid()) + ".db";
  std::remove(file.path.c_str());
  auto conn = OpenConnection("Provider=SQLite;Data Source=" + file.path + ";Mode=ReadWriteCreate", false);
  conn->Execute(ReadFile(std::string(VEMLO_SOURCE_DIR) + "/db/schema.sqlite.sql"));
  conn->Execute(TestDataSql());
  return std::make_unique<TestDb>(TestDb{"SQLite", "Provider=SQLite;Data Source=" + file.path});
}

std::unique_ptr<TestDb> CreatePostgres() {
  const char* line = std::getenv("VEMLO_PG_CONNINFO");
  if (!line || !*line) return nullptr;
  auto conn = OpenConnection(line, false);
  // Test programs may run side by side (ctest -j): the first one loads the
  // schema and rows, the others find them loaded. The marker names what was
  // loaded, so a changed schema or data set is loaded afresh.
  std::string load = ReadFile(std::string(VEMLO_SOURCE_DIR) + "/db/schema.pg.sql") + TestDataSql();
  std::string marker = std::to_string(std::hash<std::string>()(load));
  conn->Execute("SELECT pg_advisory_lock(732901)");
  try {
    auto present = conn->Query("SELECT to_regclass('dbo.vemlo_test_marker') IS NOT NULL AS present");
    bool loaded = false;
    if (present->At(0, 0).num.i) {
      auto m = conn->Query("SELECT marker FROM dbo.vemlo_test_marker");
      loaded = m->rows == 1 && m->At(0, 0).text == marker;
    }
    if (!loaded) {
      conn->Execute("SET client_min_messages = warning; DROP SCHEMA IF EXISTS dbo CASCADE;");
      conn->Execute(load + "CREATE TABLE dbo.vemlo_test_marker (marker text); INSERT INTO dbo.vemlo_test_marker "
                           "VALUES ('" + marker + "');");
    }
  } catch (...) {
    conn->Execute("SELECT pg_advisory_unlock(732901)");
    throw;
  }
  conn->Execute("SELECT pg_advisory_unlock(732901)");
  return std::make_unique<TestDb>(TestDb{"PostgreSQL", line});
}

}  // namespace

const TestDb* GetTestDb(const std::string& kind) {
  static std::map<std::string, std::unique_ptr<TestDb>> made;
  auto it = made.find(kind);
  if (it == made.end()) it = made.emplace(kind, kind == "SQLite" ? CreateSqlite() : CreatePostgres()).first;
  return it->second.get();
}

bool WriteTextFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

const char* TestDataSql() {
  // Windows-1252: \xF6 ö, \xD6 Ö, \xC4 Ä, \xE4 ä, \xE5 å, \xE9 é.
  return R"SQL(
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Kedja, Avtal, Lankod, Kommkod, Tips, UndhGenre, FdagInriktning,
                    Konferenslokal, Logi, BestTom, UppdateradKfak)
VALUES ('K1', 'Sj)SQL" "\xF6" R"SQL(hotellet', '1', 'B', 'NORDIC', 'AB', '01', '80', '0904,0905', 'ROCK', 'LEDARSKAP',
        'J', 'J', NULL, '2009-05-24 00:00:00');
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Avtal, Lankod, Kommkod, BestTom, UppdateradKfak, Logi)
VALUES ('K2', ')SQL" "\xC4" R"SQL(ngsg)SQL" "\xE5" R"SQL(rden', '0', 'F', 'CD', '03', '05', '2024-03-05',
        '2024-03-05 13:45:10', 'N');
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Avtal, Lankod, Kommkod)
VALUES ('K3', 'O''Learys', '2', 'P', 'AB,CD', '14', '80');
INSERT INTO "Kund" (Kundid, Ftagnamn, Niva, Status, Lankod, Kommkod)
VALUES ('K4', ')SQL" "\xC4" R"SQL(ngsbacken', '1', 'X', '01', '80');

INSERT INTO "Konf" (Kundid, KonfEgenText, AntBio1, AntKonfRum, PrisDagMin, PrisDagMax)
VALUES ('K1', 'Konferens vid sj)SQL" "\xF6" R"SQL(n', 120, 3, 450.5, 500);
INSERT INTO "Logi" (Kundid, AntBaddar, AntRum) VALUES ('K1', 40, 22);

INSERT INTO "Komm" (Lankod, Kommkod, Kommnamn, Region, Budget) VALUES ('01', '80', 'Stockholm', 'S', 1500.5);
INSERT INTO "Komm" (Lankod, Kommkod, Kommnamn, Region, Budget) VALUES ('03', '05', 'H)SQL" "\xE5" R"SQL(bo', 'M', NULL);
INSERT INTO "Komm" (Lankod, Kommkod, Kommnamn, Region, Budget) VALUES ('14', '80', 'G)SQL" "\xF6" R"SQL(teborg', 'G', 0);

INSERT INTO "Kfak" (KundId, Datum, AntBaddar, AntBio, Text, Uppdaterad) VALUES
  ('K1', '2009-05-31', 0, 20, 'Ring!', '2009-05-30 10:00:00'),
  ('K1', '2009-06-01', 12, 25, NULL, '2009-05-24 00:00:00'),
  ('K1', '2009-06-05', 0, 5, NULL, '2009-05-30 00:00:00'),
  ('K1', '2009-06-10', 0, 40, NULL, '2009-05-20 00:00:00'),
  ('K1', '2009-06-15', 0, 50, NULL, '2009-05-31 08:00:00'),
  ('K1', '2009-06-21', 0, 30, NULL, '2009-05-28 00:00:00'),
  ('K1', '2009-06-22', 0, 30, NULL, '2009-05-30 00:00:00'),
  ('K2', '2009-06-01', 0, 90, NULL, '2009-05-30 00:00:00');

INSERT INTO "Sprk" (TextS, TextSing, TextSSing, TextE, TextESing, TextD, TextDSing) VALUES
  ('personer', NULL, 'person', 'people', 'person', 'Personen', 'Person'),
  ('rum', 'rum!', '', '', 'room', NULL, NULL),
  ('tom', NULL, NULL, '', '', '', ''),
  ('Pris', NULL, NULL, 'Price', NULL, 'Preis', NULL);

INSERT INTO "Fork" (Tabell, Falt, Fork, Forknamn, ForknamnE, ForknamnD) VALUES
  ('KONF', 'Profil', 'AB', 'Pool', 'Pool', 'Schwimmbad'),
  ('KONF', 'Profil', 'BA', 'Bastu', 'Sauna', 'Sauna'),
  ('KUND', 'Lage', 'SJ', 'Sj)SQL" "\xF6" R"SQL(n)SQL" "\xE4" R"SQL(ra', 'Lakeside', 'Am See'),
  ('KUND', 'Lage', 'CE', 'Centralt', 'Central', ''),
  ('KUND', 'Lage', 'LA', 'Landsbygd', 'Countryside', 'Land');
)SQL";
}
