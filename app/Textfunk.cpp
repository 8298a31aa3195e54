// Text helpers that every page writer uses: separators that follow only
// non-empty text, output with HTML entities, line breaking and splitting.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/vemlo3f.h"
#include "data/WordLoad.h"

namespace {
std::string Suffix(const std::string& s, const char* suffix) { return s.empty() ? s : s + suffix; }

// The letters written as HTML entities, indexed by their Windows-1252 code.
const char* EntityOf(unsigned char c) {
  switch (c) {
    case 0xE5: return "&aring;";
    case 0xE4: return "&auml;";
    case 0xF6: return "&ouml;";
    case 0xE9: return "&eacute;";
    case 0xFC: return "&uuml;";
    case 0xE6: return "&aelig;";
    case 0xF8: return "&oslash;";
    case 0xDF: return "&szlig;";
    case 0xC5: return "&Aring;";
    case 0xC4: return "&Auml;";
    case 0xD6: return "&Ouml;";
    case 0xC9: return "&Eacute;";
    case 0xDC: return "&Uuml;";
    case 0xC6: return "&AElig;";
    case 0xD8: return "&Oslash;";
    default: return nullptr;
  }
}
}  // namespace

std::string TForm1::br(const std::string& s) { return Suffix(s, "<br>"); }
void TForm1::brLaggTill(std::string& s, std::string_view mer) {
  if (!s.empty()) s += "<br>";
  s += mer;
}
std::string TForm1::br2(const std::string& s) { return Suffix(s, "<br><br>"); }
std::string TForm1::cr(const std::string& s) { return Suffix(s, "\r\n"); }
std::string TForm1::hr(const std::string& s) { return Suffix(s, "<hr>"); }
std::string TForm1::komma(const std::string& s) { return Suffix(s, ", "); }
std::string TForm1::och(const std::string& s) { return Suffix(s, " AND "); }
std::string TForm1::eller(const std::string& s) { return Suffix(s, " OR "); }
std::string TForm1::parentes(const std::string& s) { return s.empty() ? s : "(" + s + ")"; }

std::string TForm1::InledVersal(const std::string& s) {
  std::string r = s;
  if (!r.empty()) r[0] = AnsiUpperChar(r[0]);
  return r;
}

std::string TForm1::RensaBlanka(const std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != ' ') r += c;
  return r;
}

std::string TForm1::BytBlanka(const std::string& s) { return ReplaceAll(s, " ", "&nbsp;"); }

std::string TForm1::Ersatt(const std::string& s, const std::string& fran, const std::string& till) {
  return ReplaceAll(s, fran, till);
}

namespace {
// The entity of each Windows-1252 byte, or an empty one.
const std::array<std::string_view, 256>& Entitetstabell() {
  static const auto entities = [] {
    std::array<std::string_view, 256> t{};
    for (int c = 0x80; c < 256; ++c)
      if (const char* e = EntityOf(static_cast<unsigned char>(c))) t[static_cast<size_t>(c)] = e;
    return t;
  }();
  return entities;
}

// Where the first byte with an entity stands (npos when none).
size_t ForstaEntitet(std::string_view s) {
  const auto& entities = Entitetstabell();
  for (size_t i = NextHighByte(s.data(), 0, s.size()); i < s.size(); i = NextHighByte(s.data(), i + 1, s.size()))
    if (!entities[static_cast<unsigned char>(s[i])].empty()) return i;
  return std::string_view::npos;
}

// `s` with its entities, the first of them at `forsta`, appended to `out`.
void SkrivEntiteter(std::string& out, std::string_view s, size_t forsta) {
  const auto& entities = Entitetstabell();
  out.reserve(out.size() + s.size() + s.size() / 8 + 8);
  size_t plain = 0;
  for (size_t i = forsta; i < s.size(); i = NextHighByte(s.data(), i + 1, s.size())) {
    std::string_view entity = entities[static_cast<unsigned char>(s[i])];
    if (!entity.empty()) {
      out.append(s.data() + plain, i - plain);
      out.append(entity);
      plain = i + 1;
    }
  }
  out.append(s.data() + plain, s.size() - plain);
}
}  // namespace

std::string Entitetstext(std::string_view s) {
  size_t forsta = ForstaEntitet(s);
  if (forsta == std::string_view::npos) return std::string(s);
  std::string out;
  SkrivEntiteter(out, s, forsta);
  return out;
}

void TForm1::PutAAO(const std::string& s) {
  // Most texts have no letter to replace: they are written as they are.
  size_t forsta = ForstaEntitet(s);
  if (forsta == std::string_view::npos) {
    HttpWrite(s);
    return;
  }
  std::string out;
  SkrivEntiteter(out, s, forsta);
  HttpWrite(out);
}

void TForm1::PutAAOnbsp(const std::string& s) {
  if (s.empty() || s == " ")
    HttpWrite("&nbsp;");
  else
    PutAAO(s);
}

std::string TForm1::Radbryt(std::string s, int forsta, int ovriga) {
  std::string result;
  int width = forsta < 1 ? 1 : forsta;
  while (static_cast<int>(s.size()) > width) {
    int cut = width;
    for (int i = 1; i <= width; ++i)
      if (s[static_cast<size_t>(i - 1)] == ' ') cut = i;
    if (cut == width) {
      for (int i = 1; i <= width; ++i) {
        char c = s[static_cast<size_t>(i - 1)];
        if (c == '.' || c == '@' || c == '-' || c == '/') cut = i;
      }
    }
    brLaggTill(result, s.substr(0, static_cast<size_t>(cut)));
    s = s.substr(static_cast<size_t>(cut));
    width = ovriga < 1 ? 1 : ovriga;
  }
  return br(result) + s;
}

int TForm1::ForstaAvgransare(const std::string& s, const std::string& avgransare) {
  size_t p = s.find_first_of(avgransare);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

std::vector<std::string> TForm1::DelaUppString(const std::string& s, const std::string& avgransare) {
  std::vector<std::string> list;
  std::string rest = s;
  for (int p = ForstaAvgransare(rest, avgransare); p > 0; p = ForstaAvgransare(rest, avgransare)) {
    list.push_back(rest.substr(0, static_cast<size_t>(p - 1)));
    rest = rest.substr(static_cast<size_t>(p));
  }
  list.push_back(rest);
  return list;
}

std::string TForm1::ExtToStr(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", x);
  return buf;
}

int TForm1::DaysInMonth(TDateTime date) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  return DaysInAMonth(y, m);
}
