// libFuzzer target for the resident server's request-file reader: the input
// is a claimed request file (variables one per line, an empty line, the
// body). The engine below stands in for the application: it looks up a few
// variables and reads the body to its end, as a request would.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "gateway/HServer.h"
#include "gateway/HttpEng.h"

namespace {
struct ReadingEngine : THttpCGIEngine {
  void Execute(TStream* input, TStream* output, std::unique_ptr<TStringList> variables) override {
    std::unique_ptr<TStream> in(input), out(output);
    ERS().ServerVariables = std::move(variables);
    (void)GetServerVariable("QUERY_STRING");
    (void)GetServerVariable("REMOTE_ADDR");
    (void)ContentLength();
    char buf[1024];
    while (in && in->Read(buf, sizeof buf) > 0) {
    }
    if (out) out->Write("x", 1);
    ERS().ServerVariables.reset();
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ReadingEngine* engine = new ReadingEngine;
  static std::string base = [] {
    char dir[] = "scratch-hserver-XXXXXX";  // in the run's folder
    if (!mkdtemp(dir)) std::abort();
    char* full = realpath(dir, nullptr);
    std::string b = std::string(full ? full : dir) + "/vemlo3_1-2-3-4_ab_";
    std::free(full);
    return b;
  }();
  FILE* f = std::fopen((base + "cnf").c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    ServeRequestFile(*engine, base);
  } catch (const Exception&) {
  }
  ::unlink((base + "cnf").c_str());
  ::unlink((base + "ind").c_str());
  ::unlink((base + "rsp").c_str());
  return 0;
}
