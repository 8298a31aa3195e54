// A warm page: one application module serves the same request again and
// again in one process, as a resident engine's worker does, and the wall
// time of each request is taken.
//
//   warmpage CGI-WIN-FOLDER QUERY [COUNT]
//
// Prints the size of the first and the last response, the first request's time and the median, mean and best of the
// others, in microseconds. The response goes nowhere.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/vemlo3f.h"
#include "gateway/CGISEng.h"

namespace {
// Counts the response's bytes (the engine owns and frees the stream).
class TNullSink : public TStream {
public:
  explicit TNullSink(int64_t& bytes) : bytes_(bytes) {}
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void*, int64_t count) override {
    bytes_ += count;
    return count;
  }

private:
  int64_t& bytes_;
};

// A standard CGI engine that neither ends the process nor waits on input.
class TBenchEngine : public TCGIStdEngine {
public:
  TBenchEngine() { SetCGIAutoTerminate(false); }
  void Terminate() override {
    try {
      THttpEngine::Terminate();
    } catch (const EHalt&) {
    }
  }
};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: warmpage CGI-WIN-FOLDER QUERY [COUNT]\n");
    return 2;
  }
  if (chdir(argv[1]) != 0) {
    std::perror(argv[1]);
    return 2;
  }
  int count = argc > 3 ? std::atoi(argv[3]) : 1000;
  SetHaltHandler([](int) {});
  TForm1 module(false);
  std::vector<double> times;
  int64_t first = 0, last = 0;
  for (int i = 0; i < count; ++i) {
    auto vars = std::make_unique<TStringList>(true);
    for (std::string v : {"SERVER_SOFTWARE=bench", "GATEWAY_INTERFACE=CGI/1.1", "SERVER_PROTOCOL=HTTP/1.1",
                          "REQUEST_METHOD=GET", "SCRIPT_NAME=/cgi-win/vemlo3.exe", "REMOTE_ADDR=127.0.0.1"})
      vars->Add(v);
    vars->Add(std::string("QUERY_STRING=") + argv[2]);
    TBenchEngine engine;
    engine.SetOnExecRequest([&](TComponent*) { module.GeneralHttpEngine1ExecRequest(nullptr); });
    last = 0;
    auto* sink = new TNullSink(last);
    auto start = std::chrono::steady_clock::now();
    try {
      engine.Execute(new TMemoryStream(), sink, std::move(vars));
    } catch (const EHalt&) {
    }
    times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    if (i == 0) first = last;
  }
  std::vector<double> warm(times.begin() + std::min<size_t>(times.size() - 1, 10), times.end());
  std::sort(warm.begin(), warm.end());
  double sum = 0;
  for (double t : warm) sum += t;
  std::printf("bytes %lld/%lld; first %.0f us; warm (%zu): median %.0f us, mean %.0f us, best %.0f us\n",
              static_cast<long long>(first), static_cast<long long>(last), times.front(), warm.size(),
              warm[warm.size() / 2], sum / warm.size(), warm.front());
  return 0;
}
