// The resident server's file protocol inside the test process: client tags,
// the request file a client writes, the limit of pending requests, serving
// one claimed request, and the server loop serving several clients at once.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

#include "gateway/GenEng.h"
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
