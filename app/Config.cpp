#include "app/Config.h"

#include <cerrno>
#include <cstdlib>
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
  // Read with the plain file helper: a stream would set up the C++ locale
  // machinery, which a process that only hands its request over never needs.
  std::string text;
  if (!ReadFileText(kFile, text)) return c;
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
      {"debugfran", &SiteConfig::DebugFran},
  };
  const std::map<std::string, int64_t SiteConfig::*> numbers = {
      {"maxbody", &SiteConfig::MaxBody},
  };
  for (const std::string& raw : SplitLines(text)) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = LowerCase(Trim(line.substr(0, eq)));
    const std::string value = Trim(line.substr(eq + 1));
    if (auto it = keys.find(key); it != keys.end()) c.*(it->second) = value;
    // A number that does not read as one leaves the default in force.
    if (auto it = numbers.find(key); it != numbers.end()) {
      char* end = nullptr;
      errno = 0;
      long long n = std::strtoll(value.c_str(), &end, 10);
      if (!value.empty() && *end == '\0' && errno == 0 && n >= 0) c.*(it->second) = n;
    }
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

bool DebugAllowedFor(const SiteConfig& c, const std::string& remoteAddr) {
  // An IPv4 client seen through an IPv6 socket is the same client.
  std::string addr = LowerCase(Trim(remoteAddr));
  if (StartsWith(addr, "::ffff:") && addr.find('.') != std::string::npos) addr = addr.substr(7);
  if (addr.empty()) return false;
  std::string_view rest = c.DebugFran;
  while (!rest.empty()) {
    size_t comma = rest.find(',');
    std::string allowed = LowerCase(Trim(rest.substr(0, comma)));
    if (allowed == "*" || allowed == addr) return true;
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return false;
}
