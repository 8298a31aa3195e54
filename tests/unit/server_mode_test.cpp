// The resident server's file protocol inside the test process: client tags,
// the request file a client writes, the limit of pending requests, serving
// one claimed request, and the server loop serving several clients at once.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

#include "gateway/GenEng.h"
#include "gateway/HDirWatch.h"
#include "gateway/HServer.h"
#include "support/EngineHarness.h"

namespace fs = std::filesystem;

namespace {
// A server directory of its own, with short periods.
class ServerDir {
public:
  ServerDir() {
    std::string tmpl = (fs::temp_directory_path() / "vemlo3-server-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    root = tmpl;
    dir = root + "/srv";
    setenv("VEMLO3_SERVER_DIR", dir.c_str(), 1);
    setenv("VEMLO3_SERVER_TIMES", "heartbeat=50,fresh=1000,wait=3000,clientage=30000,maxfiles=20", 1);
    ReloadServerSettings();
  }
  ~ServerDir() {
    unsetenv("VEMLO3_SERVER_DIR");
    unsetenv("VEMLO3_SERVER_TIMES");
    ReloadServerSettings();
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (fs::exists(dir))
      for (auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::string root, dir;
};

TStringList Vars(std::initializer_list<std::string> entries) {
  TStringList list;
  for (const auto& e : entries) list.Add(e);
  return list;
}

// A standard CGI engine for the server side, which never ends the process.
class TServerTestEngine : public TCGIStdEngine {
public:
  explicit TServerTestEngine(TCGIMode mode) {
    SetCGIAutoTerminate(false);
    SetCGIMode(mode);
  }
};

// Waits for a file whose name contains `part`; its path, or "".
std::string WaitForFile(const std::string& dir, const std::string& part) {
  for (int i = 0; i < 200; ++i) {
    if (fs::exists(dir))
      for (auto& e : fs::directory_iterator(dir))
        if (Contains(e.path().filename().string(), part)) return e.path().string();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "";
}
}  // namespace

TEST(ServerProtocol, ClientTagIsTheAddressWithDashesAndNothingElse) {
  EXPECT_EQ(ClientTag(Vars({"REMOTE_ADDR=192.168.1.5"})), "192-168-1-5");
  EXPECT_EQ(ClientTag(Vars({"REMOTE_ADDRESS=10.0.0.1"})), "10-0-0-1");
  EXPECT_EQ(ClientTag(Vars({"REMOTE_ADDR=::1"})), "::1");
  // A tag is part of a file name: no folder can be reached through it.
  EXPECT_EQ(ClientTag(Vars({"REMOTE_ADDR=../../etc/x"})), "------etc-x");
  EXPECT_EQ(ClientTag(Vars({"REMOTE_ADDR=" + std::string(100, '1')})).size(), 64u);
}

TEST(ServerProtocol, ClientWritesItsRequestFileAndCopiesTheResponse) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  std::ofstream(AliveFileName()).close();
  std::string output;
  TStringSink sink(output);
  TMemoryStream input;
  input.Write("a=1&b=2", 7);
  input.Seek(0);
  std::string body;
  THandOver result = THandOver::Stopped;
  std::thread client([&] {
    result = HandToServer(&input, &sink,
                          Vars({"REMOTE_ADDR=192.168.1.5", "REQUEST_METHOD=POST", "HTTP_X=two\r\nlines"}), body);
  });
  std::string req = WaitForFile(sd.dir, "_REQ");
  ASSERT_FALSE(req.empty());
  std::string name = fs::path(req).filename().string();
  EXPECT_TRUE(StartsWith(name, ExtractFileName(ServerPrefix()) + "192-168-1-5_")) << name;
  // Without CONTENT_LENGTH among the variables the client adds the body's
  // size; a value's line break cannot end the header part early.
  EXPECT_EQ(ServerDir::Read(req),
            "REMOTE_ADDR=192.168.1.5\r\nREQUEST_METHOD=POST\r\nHTTP_X=two  lines\r\nCONTENT_LENGTH=7\r\n\r\na=1&b=2");
  struct stat st;
  ASSERT_EQ(stat(req.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  std::string base = req.substr(0, req.size() - 3);
  std::ofstream(base + "ind", std::ios::binary) << "HTTP/1.1 200 OK\r\n\r\nsvar";
  fs::rename(base + "ind", base + "rsp");
  client.join();
  EXPECT_EQ(result, THandOver::Answered);
  EXPECT_EQ(output, "HTTP/1.1 200 OK\r\n\r\nsvar");
  EXPECT_EQ(sd.Files(), std::vector<std::string>{ExtractFileName(AliveFileName())});
}

TEST(ServerProtocol, ClientGivesUpWhenTheAliveFileGoesAndKeepsTheBody) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  std::ofstream(AliveFileName()).close();
  TMemoryStream input;
  input.Write("x=1", 3);
  input.Seek(0);
  std::string body;
  THandOver result = THandOver::Answered;
  std::thread client([&] {
    result = HandToServer(&input, nullptr, Vars({"REMOTE_ADDR=1.2.3.4", "CONTENT_LENGTH=3"}), body);
  });
  ASSERT_FALSE(WaitForFile(sd.dir, "_REQ").empty());
  fs::remove(AliveFileName());
  client.join();
  EXPECT_EQ(result, THandOver::NoAnswer);
  EXPECT_EQ(body, "x=1");
  EXPECT_TRUE(sd.Files().empty());
}

TEST(ServerProtocol, TwentyPendingFilesRefuseANewClientBeforeItWritesAnything) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  std::ofstream(AliveFileName()).close();
  std::ofstream(PidFileName()).close();
  for (int i = 0; i < 19; ++i) std::ofstream(ServerPrefix() + "10-0-0-1_" + IntToHex(0x10000 + i, 5) + "_REQ").close();
  // Nineteen pending requests and the server's own files still leave room:
  // the client gets as far as waiting (and gives up when the alive file goes).
  std::string body;
  auto attempt = [&] {
    return HandToServer(nullptr, nullptr, Vars({"REMOTE_ADDR=10.0.0.2"}), body);
  };
  std::thread waiter([&] { EXPECT_EQ(attempt(), THandOver::NoAnswer); });
  EXPECT_FALSE(WaitForFile(sd.dir, "10-0-0-2_").empty());
  fs::remove(AliveFileName());
  waiter.join();
  std::ofstream(AliveFileName()).close();
  std::ofstream(ServerPrefix() + "10-0-0-1_FFFFF_REQ").close();
  size_t before = sd.Files().size();
  try {
    attempt();
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Server mode - Too many clients");
  }
  EXPECT_EQ(sd.Files().size(), before);
}

TEST(ServerProtocol, ServingAClaimedRequestWritesTheResponseAndRemovesTheRequest) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  std::string base = ServerPrefix() + "10-0-0-1_ABCDE_";
  std::ofstream(base + "cnf", std::ios::binary)
      << "SERVER_SOFTWARE=Apache/2.4\r\nREQUEST_METHOD=POST\r\nCONTENT_TYPE=application/x-www-form-urlencoded\r\n"
         "CONTENT_LENGTH=7\r\nQUERY_STRING=q=5\r\n\r\nnamn=ab";
  TServerTestEngine engine(TCGIMode::ServerMode);
  engine.SetOnExecRequest([](TComponent*) {
    HttpWrite(HttpFormField("q", "") + "/" + HttpFormField("namn", ""));
  });
  ServeRequestFile(engine, base);
  EXPECT_EQ(ServerDir::Read(base + "rsp"),
            "Status: 200 OK\r\ncontent-length: 4\r\nConnection: Keep-Alive\r\ncontent-type: text/html\r\n\r\n5/ab");
  EXPECT_FALSE(fs::exists(base + "cnf"));
  EXPECT_FALSE(fs::exists(base + "ind"));

  // A request without the end of its header part is left alone.
  std::ofstream(base + "cnf", std::ios::binary) << "REQUEST_METHOD=GET\r\n";
  ServeRequestFile(engine, base + "");
  EXPECT_TRUE(fs::exists(base + "cnf"));
}

TEST(ServerLoop, ThreadModeServesClientsAtOnceAndStopsWhenTheAliveFileGoes) {
  ServerDir sd;
  TServerTestEngine engine(TCGIMode::ServerThreadMode);
  std::atomic<int> running{0}, most{0};
  engine.SetOnExecRequest([&](TComponent*) {
    int now = ++running;
    for (int m = most; now > m && !most.compare_exchange_weak(m, now);) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    HttpWrite("kund " + HttpFormField("kundid", ""));
    --running;
  });
  std::thread server([&] { RunServerLoop(engine); });
  for (int i = 0; i < 200 && !ServerIsRunning(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(ServerIsRunning());
  EXPECT_TRUE(ServerLockHeld());
  struct stat st;
  ASSERT_EQ(stat(sd.dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  const int kClients = 4;
  std::vector<std::string> outputs(kClients);
  std::vector<THandOver> results(kClients, THandOver::Stopped);
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] {
      TStringSink sink(outputs[i]);
      std::string body;
      results[i] = HandToServer(nullptr, &sink,
                                Vars({"SERVER_SOFTWARE=lighttpd", "REQUEST_METHOD=GET",
                                      "QUERY_STRING=kundid=K" + std::to_string(i), "REMOTE_ADDR=10.0.0." + std::to_string(i)}),
                                body);
    });
  }
  for (auto& c : clients) c.join();
  for (int i = 0; i < kClients; ++i) {
    EXPECT_EQ(results[i], THandOver::Answered) << i;
    EXPECT_EQ(SplitLines(outputs[i]).back(), "kund K" + std::to_string(i)) << outputs[i];
  }
  EXPECT_GE(most.load(), 2);

  fs::remove(AliveFileName());
  server.join();
  EXPECT_FALSE(ServerIsRunning());
  EXPECT_TRUE(sd.Files().empty());
}

TEST(ServerLoop, ASecondServerDoesNotStartBesideARunningOne) {
  ServerDir sd;
  TServerTestEngine engine(TCGIMode::ServerMode);
  std::thread server([&] { RunServerLoop(engine); });
  for (int i = 0; i < 200 && !ServerIsRunning(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(ServerIsRunning());
  std::string pending = ServerPrefix() + "10-0-0-1_12345_TMP";
  std::ofstream(pending).close();
  EXPECT_FALSE(StartServerDirectory());
  EXPECT_TRUE(fs::exists(pending));  // the refused start deleted nothing
  StopServerLoop();
  server.join();
  EXPECT_TRUE(sd.Files().empty());
}

namespace {
// A server loop on a thread of its own, with a polling round of `round` ms,
// whose requests answer with their customer id; stopped at the end.
class RunningServer {
public:
  RunningServer(ServerDir& sd, int round) : engine_(TCGIMode::ServerMode) {
    std::string times = "heartbeat=50,fresh=1000,wait=5000,round=" + std::to_string(round);
    setenv("VEMLO3_SERVER_TIMES", times.c_str(), 1);
    ReloadServerSettings();
    (void)sd;
    engine_.SetOnExecRequest([](TComponent*) { HttpWrite("kund " + HttpFormField("kundid", "")); });
    thread_ = std::thread([this] { RunServerLoop(engine_); });
    for (int i = 0; i < 500 && !ServerIsRunning(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~RunningServer() {
    StopServerLoop();
    thread_.join();
  }
  // One hand-over of customer `id`; its time in milliseconds, or -1 when it
  // was not answered with the customer's page.
  static int64_t TimedRequest(const std::string& id) {
    std::string output, body;
    TStringSink sink(output);
    auto t0 = std::chrono::steady_clock::now();
    THandOver r = HandToServer(nullptr, &sink,
                               Vars({"SERVER_SOFTWARE=lighttpd", "REQUEST_METHOD=GET", "QUERY_STRING=kundid=" + id,
                                     "REMOTE_ADDR=10.0.0.7"}),
                               body);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    if (r != THandOver::Answered || SplitLines(output).back() != "kund " + id) return -1;
    return ms;
  }

private:
  TServerTestEngine engine_;
  std::thread thread_;
};

bool WakeUpsAvailable(const std::string& dir) {
  fs::create_directories(dir);
  return TDirWatch(dir, TDirWatch::Appear).Active();
}
}  // namespace

TEST(ServerWakeup, AHandOverIsAnsweredWellInsideOnePollingRound) {
  ServerDir sd;
  if (!WakeUpsAvailable(sd.dir)) GTEST_SKIP() << "no inotify here";
  // With rounds of a second, a server and a client that only looked in
  // rounds would take at least one round for every request: the client's
  // first look comes before the server can have answered.
  RunningServer server(sd, 1000);
  ASSERT_TRUE(ServerIsRunning());
  for (int i = 0; i < 5; ++i) {
    int64_t ms = RunningServer::TimedRequest("K" + std::to_string(i));
    ASSERT_GE(ms, 0) << i;
    EXPECT_LT(ms, 250) << "request " << i;
  }
  EXPECT_EQ(sd.Files().size(), 2u);  // the alive and pid files only
}

TEST(ServerWakeup, WithoutWakeUpsTheRoundsStillBringTheAnswer) {
  ServerDir sd;
  setenv("VEMLO3_NO_INOTIFY", "1", 1);
  EXPECT_FALSE(TDirWatch(sd.root, TDirWatch::Appear).Active());
  {
    RunningServer server(sd, 100);
    ASSERT_TRUE(ServerIsRunning());
    for (int i = 0; i < 3; ++i) {
      int64_t ms = RunningServer::TimedRequest("P" + std::to_string(i));
      ASSERT_GE(ms, 0) << i;
      EXPECT_GE(ms, 100) << "the client answered without waiting a round";
    }
  }
  unsetenv("VEMLO3_NO_INOTIFY");
  EXPECT_TRUE(sd.Files().empty());
}

TEST(ServerWakeup, AWatchWakesOnlyForTheNamesItIsAskedFor) {
  ServerDir sd;
  if (!WakeUpsAvailable(sd.dir)) GTEST_SKIP() << "no inotify here";
  TDirWatch watch(sd.dir, TDirWatch::Appear | TDirWatch::Vanish);
  auto wanted = [](const char* name) { return std::string(name) == "mine_rsp"; };
  std::ofstream(sd.dir + "/other_ind").close();  // written and closed, not wanted
  fs::rename(sd.dir + "/other_ind", sd.dir + "/other_rsp");
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(watch.Wait(200, wanted));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(190));
  // Renamed into place while nobody waits: the event is kept for the next wait.
  std::ofstream(sd.dir + "/mine_ind").close();
  fs::rename(sd.dir + "/mine_ind", sd.dir + "/mine_rsp");
  t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(watch.Wait(5000, wanted));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1000));
  fs::remove(sd.dir + "/mine_rsp");
  EXPECT_TRUE(watch.Wait(5000, wanted));  // deleted
}

TEST(ServerWakeup, ALightWatchWakesItsOwnThreadAndLeavesTheSignalMaskAsItWas) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  auto sigioBlocked = [] {
    sigset_t now;
    pthread_sigmask(SIG_BLOCK, nullptr, &now);
    return sigismember(&now, SIGIO) == 1;
  };
  ASSERT_FALSE(sigioBlocked());
  {
    TDirWatch watch(sd.dir, TDirWatch::Appear | TDirWatch::Vanish, TDirWatch::TKind::Light);
    ASSERT_TRUE(watch.Active());
    EXPECT_TRUE(sigioBlocked());
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_FALSE(watch.Wait(100));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(90));
    // A rename on another thread wakes this one.
    std::thread other([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      std::ofstream(sd.dir + "/x_ind").close();
      fs::rename(sd.dir + "/x_ind", sd.dir + "/x_rsp");
    });
    t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(watch.Wait(5000));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2000));
    other.join();
    fs::remove(sd.dir + "/x_rsp");  // a signal left pending when the watch goes
  }
  EXPECT_FALSE(sigioBlocked());
  // A stray SIGIO after the watch does not end the process.
  kill(getpid(), SIGIO);
  // Without the switch's help the waits are plain pauses.
  setenv("VEMLO3_NO_INOTIFY", "1", 1);
  EXPECT_FALSE(TDirWatch(sd.dir, TDirWatch::Appear, TDirWatch::TKind::Light).Active());
  unsetenv("VEMLO3_NO_INOTIFY");
  EXPECT_FALSE(sigioBlocked());
}

// The clients' watch: files that other requests create and delete do not
// wake it, the rename that publishes an answer does.
TEST(ServerWakeup, ALightWatchForRenamesSleepsThroughCreatesAndDeletes) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  TDirWatch watch(sd.dir, TDirWatch::Renamed, TDirWatch::TKind::Light);
  ASSERT_TRUE(watch.Active());
  std::ofstream(sd.dir + "/other_TMP").close();
  std::ofstream(sd.dir + "/other_ind").close();
  fs::remove(sd.dir + "/other_TMP");
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(watch.Wait(150));
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(140));
  fs::rename(sd.dir + "/other_ind", sd.dir + "/other_rsp");
  t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(watch.Wait(5000));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1000));
  fs::remove(sd.dir + "/other_rsp");
}

TEST(ServerWakeup, AServerKilledWithAClaimedRequestLeavesTheRequestToTheClient) {
  ServerDir sd;
  fs::create_directories(sd.dir);
  std::ofstream(AliveFileName()).close();
  const std::string pidFile = PidFileName(), dir = sd.dir;
  // A stand-in server process: it takes the lock, claims the first request
  // and hangs in the middle of serving it until it is killed.
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int fd = open(pidFile.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(fd, "1\n", 2) != 2) _exit(1);
    for (;;) {
      if (DIR* d = opendir(dir.c_str())) {
        while (struct dirent* e = readdir(d)) {
          size_t n = strlen(e->d_name);
          if (n > 4 && strcmp(e->d_name + n - 4, "_REQ") == 0) {
            char from[4096], to[4096];
            snprintf(from, sizeof from, "%s/%s", dir.c_str(), e->d_name);
            snprintf(to, sizeof to, "%s/%.*scnf", dir.c_str(), static_cast<int>(n - 3), e->d_name);
            rename(from, to);
            for (;;) pause();
          }
        }
        closedir(d);
      }
      usleep(5000);
    }
  }
  for (int i = 0; i < 500 && !ServerLockHeld(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(ServerLockHeld());
  TMemoryStream input;
  input.Write("namn=ab", 7);
  input.Seek(0);
  std::string body;
  THandOver result = THandOver::Answered;
  std::thread client([&] {
    result = HandToServer(&input, nullptr, Vars({"REMOTE_ADDR=10.0.0.8", "CONTENT_LENGTH=7"}), body);
  });
  EXPECT_FALSE(WaitForFile(sd.dir, "_cnf").empty());
  auto t0 = std::chrono::steady_clock::now();
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  client.join();
  EXPECT_EQ(result, THandOver::NoAnswer);
  EXPECT_EQ(body, "namn=ab");  // kept for the client to serve the request itself
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2000));
  // The claimed request went with the client; the dead server's files stay.
  for (const auto& name : sd.Files()) EXPECT_FALSE(Contains(name, "10-0-0-8")) << name;
}
