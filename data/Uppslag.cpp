// Page texts in the request's language and the names of coded values.
#include <chrono>
#include <cstdlib>
#include <unordered_map>

#include "app/vemlo3f.h"

namespace {
// Look-up results of the thread's requests: the same text or code list
// asked again is answered without a statement. Only while Debug is off,
// since the debug page shows every statement where it runs.
//
// They are kept across requests as long as they can be known to be right,
// checked once per request at its first look-up: they go with the
// connection they were read through (a changed connection line, a replaced
// database file), on SQLite whenever the database's data version has
// changed, and on PostgreSQL, which cannot tell of changes, after
// VEMLO3_LOOKUP_TTL seconds (default 60; 0 forgets them with every request).
struct Remembered {
  std::unordered_map<std::string, std::string> values;
  bool checkDue = true;     // a request has begun since the last check
  uint64_t connection = 0;  // the connection that they were read through
  bool versioned = false;   // `version` holds the database's data version
  uint64_t version = 0;
  std::chrono::steady_clock::time_point since;  // when the first of them was read
};

Remembered& Memory() {
  static thread_local Remembered memory;
  return memory;
}

// A thread remembers this many at most; the site's texts and code lists are
// far fewer.
constexpr size_t kMaxRemembered = 4096;

long LookupTtlSeconds() {
  const char* v = std::getenv("VEMLO3_LOOKUP_TTL");
  if (!v || !*v) return 60;
  char* end = nullptr;
  long n = std::strtol(v, &end, 10);
  if (*end != '\0') return 60;
  return n < 0 ? 0 : n;
}

void CheckMemory(Remembered& m, const TQuery& q) {
  // Within a request only the connection can change (a module's queries
  // set to another database); the database itself is checked once.
  if (!m.checkDue && q.ConnectionSerial() == m.connection) return;
  m.checkDue = false;
  TQuery::TDatabaseVersion v = q.DatabaseVersion();
  auto now = std::chrono::steady_clock::now();
  bool keep = v.connection == m.connection && v.known == m.versioned;
  if (keep && v.known) keep = v.version == m.version;
  if (keep && !v.known) {
    long ttl = LookupTtlSeconds();
    keep = ttl > 0 && now - m.since < std::chrono::seconds(ttl);
  }
  if (keep) return;
  m.values.clear();
  m.connection = v.connection;
  m.versioned = v.known;
  m.version = v.version;
  m.since = now;
}

template <typename F>
std::string Remember(const TQuery& q, std::string key, F&& lookup) {
  if (RS().Debug) return lookup();
  Remembered& m = Memory();
  CheckMemory(m, q);
  if (auto it = m.values.find(key); it != m.values.end()) return it->second;
  std::string value = lookup();
  if (m.values.size() >= kMaxRemembered) m.values.clear();
  m.values.emplace(std::move(key), value);
  return value;
}

std::string Key(std::initializer_list<std::string_view> parts) {
  std::string k;
  for (auto p : parts) {
    k.append(p);
    k += '\x1F';
  }
  return k;
}
}  // namespace

void ForgetLookups() {
  Remembered& m = Memory();
  m.values.clear();
  m.connection = 0;
  m.checkDue = true;
}

void NewRequestForLookups() { Memory().checkDue = true; }

std::string TForm1::HamtaText(const std::string& textS, int antal) {
  const auto& rs = RS();
  // The key is the Swedish text itself: a Swedish plural needs no look-up.
  if (rs.Sprak == "S" && antal != 1) return textS;
  return Remember(q_sprk, Key({"T", rs.Sprak, antal == 1 ? "1" : "n", textS}), [&] { return HamtaTextFraga(textS, antal); });
}

std::string TForm1::Uppslag(TQuery& q, const std::string& nyckel, const std::function<std::string()>& fraga) {
  return Remember(q, Key({"U", nyckel}), fraga);
}

std::string TForm1::HamtaTextFraga(const std::string& textS, int antal) {
  const auto& rs = RS();

  SqlStatement s = NyFraga("*", "Sprk");
  s.Line("WHERE TextS = ").Value(textS);
  OppnaFraga(q_sprk, std::move(s));
  if (q_sprk.Eof()) return textS;

  const std::string lang = "Text" + rs.Sprak;
  const std::string order1[] = {lang + "Sing", lang, "TextSing"};
  const std::string orderN[] = {lang, lang + "Sing"};
  if (antal == 1) {
    for (const auto& column : order1)
      if (auto t = q_sprk.Text(column); !t.empty()) return t;
  } else {
    for (const auto& column : orderN)
      if (auto t = q_sprk.Text(column); !t.empty()) return t;
  }
  return textS;
}

namespace {

// The code list's table and column (stored in any case).
void ForkTableCondition(SqlStatement& s, const std::string& tabell, const std::string& falt) {
  s.Text("(").UpperEquals("Tabell", AnsiUpperCase(tabell)).Text(") AND (");
  s.UpperEquals("Falt", AnsiUpperCase(falt)).Text(")");
}

// The columns of a code's names.
const char* const kForknamn = "Forknamn, ForknamnE, ForknamnD";

}  // namespace

std::string TForm1::HamtaForknamn(const std::string& tabell, const std::string& falt, const std::string& koder,
                                  const std::string& avskiljare) {
  if (koder.empty()) return {};
  return Remember(q_temp, Key({"F", RS().SprakSuffix, tabell, falt, koder, avskiljare}),
                  [&] { return HamtaForknamnFraga(tabell, falt, koder, avskiljare); });
}

std::string TForm1::HamtaForknamnFraga(const std::string& tabell, const std::string& falt, const std::string& koder,
                                       const std::string& avskiljare) {
  SqlStatement s = NyFraga(kForknamn, "Fork");
  SqlStatement v;
  // Two characters per code; a single character left at the end is ignored.
  for (size_t i = 0; i + 1 < koder.size(); i += 2)
    v.Separator(" OR ").Text("(").UpperEquals("Fork", AnsiUpperCase(koder.substr(i, 2))).Text(")");
  s.Line("WHERE ");
  if (!v.Empty()) s.Text("(").Append(v).Text(") AND ");  // else every code of the column
  ForkTableCondition(s, tabell, falt);
  s.Line("ORDER BY Forknamn" + RS().SprakSuffix);
  OppnaFraga(q_temp, std::move(s));

  const std::string column = "forknamn" + RS().SprakSuffix;
  std::string result;
  for (; !q_temp.Eof(); q_temp.Next()) {
    std::string name = q_temp.Text(column);
    if (name.empty()) name = q_temp.Text("forknamn");
    result = result.empty() ? name : result + avskiljare + name;
  }
  return result;
}

std::string TForm1::HamtaForknamn1(const std::string& tabell, const std::string& falt, const std::string& kod) {
  if (kod.empty()) return {};
  return Remember(q_temp, Key({"1", RS().SprakSuffix, tabell, falt, kod}),
                  [&] { return HamtaForknamn1Fraga(tabell, falt, kod); });
}

std::string TForm1::HamtaForknamn1Fraga(const std::string& tabell, const std::string& falt, const std::string& kod) {
  SqlStatement s = NyFraga(kForknamn, "Fork");
  s.Line("WHERE (").UpperEquals("Fork", AnsiUpperCase(kod)).Text(") AND ");
  ForkTableCondition(s, tabell, falt);
  OppnaFraga(q_temp, std::move(s));
  std::string name = q_temp.Text("forknamn" + RS().SprakSuffix);
  return name.empty() ? q_temp.Text("forknamn") : name;
}
