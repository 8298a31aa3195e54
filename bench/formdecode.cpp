// Form decoding alone: the time to decode a body of N fields into the
// request's field list, for N = 2,000, 20,000 and 200,000 (half of them one
// repeated name, half distinct names), each the best of a few runs.
//   formdecode [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "gateway/HttpEng.h"

namespace {
std::string Body(int fields) {
  std::string text;
  for (int i = 0; i < fields; ++i)
    text += (i % 2 ? "kommun=" + std::to_string(i) : "f" + std::to_string(i) + "=v") + "&";
  return text;
}
}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("%10s %10s %12s %14s\n", "fields", "bytes", "seconds", "us per field");
  for (int fields : {2000, 20000, 200000}) {
    const std::string text = Body(fields);
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
      TStringList list(true);
      auto start = std::chrono::steady_clock::now();
      ParseFormText(text, list);
      best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
      if (list.Count() != fields / 2 + 1) return 1;
    }
    std::printf("%10d %10zu %12.4f %14.3f\n", fields, text.size(), best, best * 1e6 / fields);
  }
  return 0;
}
