// libFuzzer target for the server-variable lookup: the input's lines are the
// request's variables (NAME=value, as a web server hands them over, also an
// HTTP_AUTHORIZATION header to decode); every name of the alias table and
// every name the input itself brings is looked up.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gateway/CGISEng.h"
#include "gateway/HttpEng.h"

namespace {
struct LookupEngine : THttpCGIEngine {
  void Execute(TStream*, TStream*, std::unique_ptr<TStringList>) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static LookupEngine* engine = new LookupEngine;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto vars = HttpSplitLines(text);
  std::vector<std::string> asked = {"SCRIPT_NAME", "URL", "query-string", "Remote Addr", "HOST", "AUTH_USER",
                                    "AUTH_PASSWORD", "AUTHENTICATED_USERNAME", "HTTP_USER_AGENT", "referer",
                                    "COOKIE", "PATH", "CONTENT_LENGTH", "REQUEST_METHOD", "SERVER_SOFTWARE"};
  for (int i = 0; i < vars->Count(); ++i) asked.push_back(vars->Name(i));
  ERS().ServerVariables = std::move(vars);
  for (const auto& n : asked) (void)engine->GetServerVariable(n);
  (void)engine->ContentLength();
  ERS().ServerVariables.reset();
  return 0;
}
