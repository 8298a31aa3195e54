// The Windows CGI engine: profile lines and sections, the body built from
// the form sections or taken from the content file, the output file, and a
// request served over them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "gateway/CGIWEng.h"
#include "gateway/GenEng.h"

namespace fs = std::filesystem;

namespace {
class WinCgiDir {
public:
  WinCgiDir() {
    std::string tmpl = (fs::temp_directory_path() / "vemlo3-wincgi-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp");
    dir = tmpl;
  }
  ~WinCgiDir() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string Write(const std::string& name, const std::string& content) const {
    std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir + "/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::string dir;
};

std::string ReadAll(TStream* s) {
  std::string out;
  if (!s) return out;
  char buf[256];
  for (int64_t n; (n = s->Read(buf, sizeof buf)) > 0;) out.append(buf, static_cast<size_t>(n));
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  TMemoryStream m;
  m.Write(text.data(), static_cast<int64_t>(text.size()));
  m.Seek(0);
  std::vector<std::string> lines;
  bool more = true;
  while (more) lines.push_back(ReadProfileLine(m, more));
  return lines;
}

// A Windows CGI engine that never ends the test process.
class TTestWinEngine : public TCGIWinEngine {
public:
  TTestWinEngine() { SetCGIAutoTerminate(false); }
};
}  // namespace

TEST(WinCgiProfile, LinesEndAtCrAndLoseTheLineFeedAndLeadingBlanks) {
  EXPECT_EQ(Lines("[CGI]\r\nA=1\r\n  B = 2\r\nlast"), (std::vector<std::string>{"[CGI]", "A=1", "B = 2", "last"}));
  // A final CR gives one more, empty line; a bare LF does not end a line.
  EXPECT_EQ(Lines("A=1\r"), (std::vector<std::string>{"A=1", ""}));
  EXPECT_EQ(Lines("A=1\nB=2\r\n"), (std::vector<std::string>{"A=1\nB=2", ""}));
  // An over-long line is cut at 16383 bytes; the rest is the next line.
  std::vector<std::string> cut = Lines(std::string(16390, 'x'));
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[0].size(), 16383u);
  EXPECT_EQ(cut[1], "xxxxxxx");
}

TEST(WinCgiProfile, SectionsBecomeVariablesAcceptListAndBody) {
  WinCgiDir d;
  std::string profile = d.Write("req.ini",
                                "[CGI]\r\nRequest Method=POST\r\nQuery String = a=1\r\nRemote Address=10.0.0.9\r\n"
                                "[System]\r\nOutput File=" + d.dir + "/out.txt\r\nGMT Offset=3600\r\n"
                                "[Extra Headers]\r\nX-Forwarded-For=1.2.3.4\r\n"
                                "[Accept]\r\ntext/html=Yes\r\nimage/gif=yes\r\n*/*=q=0.5\r\nimage/png=No\r\n"
                                "[Form Literal]\r\nname=a b&c\r\n"
                                "[Other]\r\nIgnored=1\r\n"
                                "no equals sign here\r\n");
  TStringList vars(true);
  TWinCgiRequest req = ReadWinCgiProfile(profile, vars);
  EXPECT_EQ(vars.Value("REQUEST_METHOD"), "POST");
  EXPECT_EQ(vars.Value("Query_String"), "a=1");
  EXPECT_EQ(vars.Value("GMT_Offset"), "3600");
  EXPECT_EQ(vars.Value("X-Forwarded-For"), "1.2.3.4");
  EXPECT_EQ(vars.Value("HTTP_ACCEPT"), "text/html,image/gif");
  EXPECT_EQ(vars.IndexOfName("Ignored"), -1);
  EXPECT_EQ(req.OutputFileName, d.dir + "/out.txt");
  EXPECT_EQ(ReadAll(req.Input.get()), "name=a+b%26c&");
  ASSERT_TRUE(req.Output);
  EXPECT_TRUE(fs::exists(d.dir + "/out.txt"));
}

TEST(WinCgiProfile, ExternalFieldsReadTheirLengthAndABadOneIsDroppedAlone) {
  WinCgiDir d;
  std::string big = d.Write("big.txt", std::string(5000, 'q') + "TAIL");
  std::string small = d.Write("small.txt", "hej & hopp");
  std::string profile = d.Write("req.ini",
                                "[Form External]\r\nlong=" + big + " 4100\r\nmissing=" + d.dir +
                                    "/nothing.txt 5\r\nbadlength=" + small + " many\r\nshort=" + small +
                                    " 100\r\n[Form Literal]\r\nlit=1\r\n");
  TStringList vars(true);
  TWinCgiRequest req = ReadWinCgiProfile(profile, vars);
  EXPECT_EQ(ReadAll(req.Input.get()), "long=" + std::string(4100, 'q') + "&short=hej+%26+hopp&lit=1&");
  EXPECT_FALSE(req.Output);  // no output file named
}

TEST(WinCgiProfile, ContentFileReplacesTheFormSectionsAndAMissingOneDoesNot) {
  WinCgiDir d;
  std::string content = d.Write("body.bin", "raw=1&x=%41");
  std::string withFile = d.Write("a.ini", "[System]\r\nContent File=" + content +
                                              "\r\n[Form Literal]\r\nlit=ignored\r\n");
  TStringList vars(true);
  EXPECT_EQ(ReadAll(ReadWinCgiProfile(withFile, vars).Input.get()), "raw=1&x=%41");

  std::string missing = d.Write("b.ini", "[System]\r\nContent File=" + d.dir + "/gone.bin\r\n[Form Literal]\r\nlit=kept\r\n");
  TStringList vars2(true);
  EXPECT_EQ(ReadAll(ReadWinCgiProfile(missing, vars2).Input.get()), "lit=kept&");

  std::string neither = d.Write("c.ini", "[CGI]\r\nRequest Method=GET\r\n");
  TStringList vars3(true);
  EXPECT_FALSE(ReadWinCgiProfile(neither, vars3).Input);
}

TEST(WinCgiProfile, MissingProfileRaises) {
  TStringList vars(true);
  EXPECT_THROW(ReadWinCgiProfile("/nonexistent/dir/req.ini", vars), EInOutError);
}

TEST(WinCgiEngine, ServesTheRequestIntoTheOutputFileReplacingOldContent) {
  WinCgiDir d;
  d.Write("out.txt", std::string(500, '#'));  // longer than the response
  std::string profile = d.Write("req.ini",
                                "[CGI]\r\nRequest Method=POST\r\nServer Software=Microsoft-IIS/5.0\r\n"
                                "Content Type=application/x-www-form-urlencoded\r\nContent Length=13\r\n"
                                "[System]\r\nOutput File=" + d.dir + "/out.txt\r\n"
                                "[Form Literal]\r\nname=a b&c\r\n");
  auto vars = std::make_unique<TStringList>(true);
  TWinCgiRequest req = ReadWinCgiProfile(profile, *vars);
  TTestWinEngine engine;
  std::string seenMethod, seenName;
  engine.SetOnExecRequest([&](TComponent*) {
    seenMethod = HttpServerVariable("REQUEST_METHOD");
    seenName = HttpFormField("name", "");
    HttpWrite("svar");
  });
  engine.Execute(req.Input.release(), req.Output.release(), std::move(vars));
  EXPECT_EQ(seenMethod, "POST");
  EXPECT_EQ(seenName, "a b&c");
  EXPECT_EQ(d.Read("out.txt"),
            "Status: 200 OK\r\ncontent-length: 4\r\nConnection: Keep-Alive\r\ncontent-type: text/html\r\n\r\nsvar");
}

namespace {
// Sets the program's arguments and the selection's environment variables for
// one test, and puts the test process's own back afterwards.
class SelectionScope {
public:
  SelectionScope() : savedArgs_(ProgramArgs()) {
    for (const char* n : kNames) saved_.emplace_back(n, getenv(n) ? std::optional<std::string>(getenv(n)) : std::nullopt);
  }
  ~SelectionScope() {
    Args(savedArgs_);
    for (const auto& [name, value] : saved_) Set(name.c_str(), value);
  }
  static void Args(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"vemlo3"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (auto& a : argv) cargv.push_back(a.data());
    SetProgramArgs(static_cast<int>(cargv.size()), cargv.data());
  }
  static void Set(const char* name, const std::optional<std::string>& value) {
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }

private:
  static constexpr const char* kNames[] = {"CGI_VERSION", "SERVER_SOFTWARE", "GATEWAY_INTERFACE"};
  std::vector<std::string> savedArgs_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
}  // namespace

TEST(WinCgiSelection, FirstArgumentThatNamesAFileAndTheCgiVersion) {
  WinCgiDir d;
  std::string profile = d.Write("req.ini", "[CGI]\r\n");
  struct Case {
    std::vector<std::string> args;
    const char* version;
    bool win;
  } cases[] = {
      {{profile}, "CGI/1.3a (Win)", true},
      {{profile}, "", true},
      {{profile}, "CGI/1.1", false},
      {{d.dir + "/missing.ini"}, "CGI/1.3a (Win)", false},
  };
  SelectionScope scope;
  setenv("SERVER_SOFTWARE", "TestServer/1.0", 1);
  unsetenv("GATEWAY_INTERFACE");
  for (const auto& c : cases) {
    SelectionScope::Args(c.args);
    setenv("CGI_VERSION", c.version, 1);
    EXPECT_EQ(IsWinCgi(), c.win) << c.version;
  }
}

// A standard CGI server hands a query string without "=" to the program as
// its command line (/cgi-win/vemlo3.exe?/etc/passwd): an existing file named
// there is the visitor's choice, never a profile to read.
TEST(WinCgiSelection, UnderAStandardCgiServerAnArgumentIsNeverAProfile) {
  WinCgiDir d;
  std::string profile = d.Write("req.ini", "[CGI]\r\n");
  SelectionScope scope;
  setenv("SERVER_SOFTWARE", "Apache/2.4", 1);
  setenv("GATEWAY_INTERFACE", "CGI/1.1", 1);
  for (const char* version : {"", "CGI/1.1", "CGI/1.3a (Win)"}) {
    SelectionScope::Set("CGI_VERSION", *version ? std::optional<std::string>(version) : std::nullopt);
    for (const std::string& arg : {profile, std::string("/etc/passwd"), std::string("/")}) {
      SelectionScope::Args({arg});
      EXPECT_FALSE(IsWinCgi()) << arg << " with CGI_VERSION " << version;
      if (!Contains(UpperCase(version), "WIN")) {
        EXPECT_TRUE(IsStdCgi()) << arg;
      }
    }
  }
  unsetenv("CGI_VERSION");
  // The resident server the program starts for itself inherits the web
  // server's environment: it is still a server process, on the Windows CGI
  // engine's server loop as before.
  SelectionScope::Args({"$$START_SERVER", "X"});
  EXPECT_TRUE(IsWinCgi());
  EXPECT_TRUE(IsServerProcess());
  // Without any variable, a profile argument is Windows CGI as always.
  unsetenv("GATEWAY_INTERFACE");
  unsetenv("SERVER_SOFTWARE");
  SelectionScope::Args({profile});
  EXPECT_TRUE(IsWinCgi());
}
