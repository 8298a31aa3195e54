// Page texts in the request's language and the names of coded values.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "app/vemlo3f.h"
#include "data/WordLoad.h"

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
// The remembered values, found by the parts of their key without joining
// them: a key's parts are hashed one after another (each in words) and
// compared part by part with the key as stored (each part after its
// length, so that no two lists of parts read alike). Open addressing over a
// power of two of slots, at most half of them used.
class LookupTable {
public:
  using Parts = std::initializer_list<std::string_view>;

  static uint64_t Hash(Parts parts) noexcept {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (std::string_view p : parts) h = MixWord(h ^ HashWords(p, 0xC2B2AE3D27D4EB4Full), p.size());
    return h;
  }

  const std::string* Find(Parts parts, uint64_t hash) const {
    if (slots_.empty()) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const int32_t e = slots_[i];
      if (e < 0) return nullptr;
      const Entry& entry = entries_[static_cast<size_t>(e)];
      if (entry.hash == hash && SameKey(entry.key, parts)) return &entry.value;
    }
  }

  // The key must not be there already.
  void Add(Parts parts, uint64_t hash, std::string value) {
    if (2 * (entries_.size() + 1) > slots_.size()) Grow();
    Entry& entry = entries_.emplace_back();
    entry.hash = hash;
    size_t length = 0;
    for (std::string_view p : parts) length += sizeof(uint32_t) + p.size();
    entry.key.reserve(length);
    for (std::string_view p : parts) {
      const auto n = static_cast<uint32_t>(p.size());
      entry.key.append(reinterpret_cast<const char*>(&n), sizeof n);
      entry.key.append(p);
    }
    entry.value = std::move(value);
    Place(entries_.size() - 1);
  }

  size_t size() const { return entries_.size(); }
  void clear() {
    entries_.clear();
    std::fill(slots_.begin(), slots_.end(), -1);
  }

private:
  struct Entry {
    uint64_t hash = 0;
    std::string key;
    std::string value;
  };

  static bool SameKey(const std::string& key, Parts parts) noexcept {
    size_t at = 0;
    for (std::string_view p : parts) {
      uint32_t n;
      if (key.size() - at < sizeof n) return false;
      std::memcpy(&n, key.data() + at, sizeof n);
      at += sizeof n;
      if (n != p.size() || key.size() - at < n || (n && std::memcmp(key.data() + at, p.data(), n) != 0)) return false;
      at += n;
    }
    return at == key.size();
  }
  void Place(size_t e) {
    const size_t mask = slots_.size() - 1;
    size_t i = entries_[e].hash & mask;
    while (slots_[i] >= 0) i = (i + 1) & mask;
    slots_[i] = static_cast<int32_t>(e);
  }
  void Grow() {
    slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), -1);
    for (size_t e = 0; e < entries_.size(); ++e) Place(e);
  }

  std::vector<Entry> entries_;
  std::vector<int32_t> slots_;  // an entry's index; -1: free
};

struct Remembered {
  LookupTable values;
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

// The value remembered under the key made of `key`'s parts, or the look-up's
// answer, remembered.
template <typename F>
std::string Remember(const TQuery& q, LookupTable::Parts key, F&& lookup) {
  if (RS().Debug) return lookup();
  Remembered& m = Memory();
  CheckMemory(m, q);
  const uint64_t hash = LookupTable::Hash(key);
  if (const std::string* known = m.values.Find(key, hash)) return *known;
  std::string value = lookup();
  if (m.values.size() >= kMaxRemembered) m.values.clear();
  if (!m.values.Find(key, hash)) m.values.Add(key, hash, value);  // the look-up may have asked the same
  return value;
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
  return Remember(q_sprk, {"T", rs.Sprak, antal == 1 ? "1" : "n", textS}, [&] { return HamtaTextFraga(textS, antal); });
}

std::string TForm1::Uppslag(TQuery& q, const std::string& nyckel, const std::function<std::string()>& fraga) {
  return Remember(q, {"U", nyckel}, fraga);
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
  return Remember(q_temp, {"F", RS().SprakSuffix, tabell, falt, koder, avskiljare},
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
  return Remember(q_temp, {"1", RS().SprakSuffix, tabell, falt, kod},
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
