#include "app/Config.h"

#include <fstream>
#include <map>
#include <mutex>

#include "gateway/HUtils.h"

namespace {
std::mutex g_lock;
std::unique_ptr<SiteConfig> g_config;

SiteConfig Load() {
  SiteConfig c;
  std::ifstream in("vemlo3.conf", std::ios::binary);
  if (!in) return c;
  const std::map<std::string, std::string SiteConfig::*> keys = {
      {"supportepost", &SiteConfig::SupportEpost},
      {"supporttelefon", &SiteConfig::SupportTelefon},
      {"videovard", &SiteConfig::VideoVard},
      {"visitaurl", &SiteConfig::VisitaUrl},
      {"homerunurl", &SiteConfig::HomeRunUrl},
      {"equalityurl", &SiteConfig::EqualityUrl},
      {"roksurl", &SiteConfig::RoksUrl},
      {"ericssonkonferensurl", &SiteConfig::EricssonKonferensUrl},
      {"aretsametisturl", &SiteConfig::AretsAmetistUrl},
      {"cgimode", &SiteConfig::CGIMode},
  };
  std::string line;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    auto it = keys.find(LowerCase(Trim(line.substr(0, eq))));
    if (it != keys.end()) c.*(it->second) = Trim(line.substr(eq + 1));
  }
  return c;
}
}  // namespace

const SiteConfig& Config() {
  std::lock_guard<std::mutex> lock(g_lock);
  if (!g_config) g_config = std::make_unique<SiteConfig>(Load());
  return *g_config;
}

void ReloadConfig() {
  std::lock_guard<std::mutex> lock(g_lock);
  g_config = std::make_unique<SiteConfig>(Load());
}
