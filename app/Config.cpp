#include "app/Config.h"

#include <fstream>
#include <map>
#include <mutex>

#include "data/FileStamp.h"
#include "gateway/HUtils.h"

namespace {
constexpr const char* kFile = "vemlo3.conf";

// The settings last read, shared by all threads; each thread holds the ones
// that its request began with.
std::mutex g_lock;
std::shared_ptr<const SiteConfig> g_config;
TFileStamp g_stamp;
bool g_settled = false;  // the file was not changed just before it was read (see TFileStamp::Recent)

std::shared_ptr<const SiteConfig>& ThreadConfig() {
  static thread_local std::shared_ptr<const SiteConfig> current;
  return current;
}

SiteConfig Load() {
  SiteConfig c;
  std::ifstream in(kFile, std::ios::binary);
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

// Called with g_lock held.
void LoadLocked(const TFileStamp& stamp) {
  g_config = std::make_shared<const SiteConfig>(Load());
  g_stamp = stamp;
  g_settled = !stamp.Recent(TFileStamp::Now());
}
}  // namespace

const SiteConfig& Config() {
  auto& current = ThreadConfig();
  if (!current) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_config) LoadLocked(TFileStamp::Of(kFile));
    current = g_config;
  }
  return *current;
}

void RefreshConfig() {
  TFileStamp stamp = TFileStamp::Of(kFile);
  std::lock_guard<std::mutex> lock(g_lock);
  if (!g_config || !g_settled || !(stamp == g_stamp)) LoadLocked(stamp);
  ThreadConfig() = g_config;
}

void ReloadConfig() {
  std::lock_guard<std::mutex> lock(g_lock);
  LoadLocked(TFileStamp::Of(kFile));
  ThreadConfig() = g_config;
}
