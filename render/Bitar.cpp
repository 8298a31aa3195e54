// Cutting template lines into pieces, and recognising argument tags.
#include "gateway/HUtils.h"
#include "render/Sida.h"

std::vector<std::string> DelaMallrad(const std::string& rad) {
  std::vector<std::string> bitar;
  std::string_view rest(rad);
  while (rest != "\r\n" && !rest.empty()) {
    size_t start = rest.find("<!--");
    if (start == std::string_view::npos) {
      bitar.emplace_back(rest);
      break;
    }
    size_t slut = rest.find("-->", start + 4);
    if (start > 0) bitar.emplace_back(rest.substr(0, start));
    if (slut == std::string_view::npos) {
      bitar.emplace_back(rest.substr(start));
      break;
    }
    bitar.emplace_back(rest.substr(start, slut + 3 - start));
    rest = rest.substr(slut + 3);
  }
  return bitar;
}

namespace {
// Whether `bit` from `pos` on, upper-cased (ASCII letters), begins with `s`.
bool StorLika(const std::string& bit, size_t pos, std::string_view s) {
  if (bit.size() < pos + s.size()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = bit[pos + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    if (c != s[i]) return false;
  }
  return true;
}
}  // namespace

bool MatchaArgumentTagg(const std::string& bit, const std::string& namn, int n, std::vector<std::string>& args) {
  if (bit.size() < namn.size() + 7) return false;
  // The piece's first characters, upper-cased, against "<!--" NAME "-->" and
  // "<!--" NAME "(" (compared in place, without building either text).
  bool lika = StorLika(bit, 0, "<!--") && StorLika(bit, 4, namn);
  if (lika && StorLika(bit, namn.size() + 4, "-->")) return n == 0;
  if (!lika || !StorLika(bit, namn.size() + 4, "(")) return false;
  std::vector<std::string> lista;
  if (!DelaArgument(bit, namn.size(), lista) || static_cast<int>(lista.size()) != n) return false;
  args = std::move(lista);
  return true;
}

bool DelaArgument(const std::string& bit, size_t namnLangd, std::vector<std::string>& lista) {
  std::string rest = bit.substr(namnLangd + 5);
  size_t slut = rest.find(")-->");
  if (slut == std::string::npos) return false;
  lista.clear();
  std::string inre = rest.substr(0, slut);
  size_t from = 0;
  for (;;) {
    size_t komma = inre.find(',', from);
    if (komma == std::string::npos) {
      lista.push_back(inre.substr(from));
      break;
    }
    lista.push_back(inre.substr(from, komma - from));
    from = komma + 1;
  }
  return true;
}

std::string TaggVarde(const std::string& bit, size_t prefixLangd) {
  std::string v = bit.substr(std::min(prefixLangd, bit.size()));
  if (EndsWith(v, "-->")) v.resize(v.size() - 3);
  return v;
}
