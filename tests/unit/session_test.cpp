#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#include "gateway/HFileUp.h"
#include "gateway/HSessVar.h"

namespace {

class SessionEngine : public THttpEngine {
public:
  void WriteHeaderLine(const std::string&, const std::string&) override {}
  void EndHeaders() override {}
};

// An object kept in a session; counts its releases.
struct TBasket : TObject {
  explicit TBasket(int* released) : released_(released) {}
  ~TBasket() override { ++*released_; }
  std::string ClassName() const override { return "TBasket"; }
  int* released_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The texts of a session file's records, decoded independently of the
// session code: zero-terminated, form-encoded, Blowfish-encrypted.
std::vector<std::string> RecordTexts(const std::string& data, const std::string& key) {
  TBlowFish cipher(key);
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t end; (end = data.find('\0', start)) != std::string::npos; start = end + 1)
    texts.push_back(cipher.Decrypt(HttpUrlDecode(data.substr(start, end - start))));
  EXPECT_EQ(start, data.size()) << "the last record has no zero byte";
  return texts;
}

class SessionTest : public ::testing::Test {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vemlo-session-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    engine_.SetTempDir(dir_);
    engine_.SetOnRemoveSessionObject([this](TComponent* sender, const std::string& className, TObject*) {
      removed_.push_back(className);
      EXPECT_EQ(sender, &engine_);
    });
  }
  void TearDown() override {
    // Leave no session behind for the next test.
    if (ERS().Session) {
      if (!SRS().SessionId.empty()) EndSession();
      EndRequestSession();
    }
    std::string cmd = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
  }
  // Forgets a session in this process, as a new process would not know it.
  void ForgetInProcess(const std::string& id) {
    std::lock_guard<std::mutex> lock(SessionLock);
    int i = SessionStore->IndexOf(id);
    ASSERT_GE(i, 0);
    SessionStore->Delete(i);
  }
  SessionEngine engine_;
  std::string dir_;
  std::vector<std::string> removed_;
};

TEST_F(SessionTest, OperationsWithoutASessionAreRefused) {
  ASSERT_EQ(ERS().Session, nullptr);
  for (auto op : {+[] { RequireSession(); }, +[] { ClearSession(); }, +[] { GetSessionValue("a"); },
                  +[] { SetSessionValue("a", "1"); }, +[] { SetSessionExpiry(1); }, +[] { EndSession(); }}) {
    try {
      op();
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "No Session started");
    }
  }
  EXPECT_NO_THROW(ClearSession(true));
  EXPECT_NO_THROW(EndRequestSession());
  EXPECT_EQ(CurrentSessionIndex(), -1);
}

TEST_F(SessionTest, StoreLivesWhileAccessObjectsOrSessionsDo) {
  ASSERT_EQ(SessionStore, nullptr) << "a test left a session behind";
  EXPECT_EQ(CurrentSessionIndex(), -1);
  {
    TCGISessionVariables a(DefaultEncryptionKey, {});
    TCGISessionVariables b(DefaultEncryptionKey, {});
    EXPECT_NE(SessionStore, nullptr);
  }
  EXPECT_EQ(SessionStore, nullptr);

  StartSession(engine_, "keep1");
  EXPECT_EQ(CurrentSessionIndex(), 0);
  EndRequestSession();
  // The session outlives the request, so the store stays.
  ASSERT_NE(SessionStore, nullptr);
  EXPECT_EQ(SessionStore->IndexOf("keep1"), 0);
  StartSession(engine_, "keep1");
  EndSession();
  EndRequestSession();
  EXPECT_EQ(SessionStore, nullptr);
}

TEST_F(SessionTest, EncryptionKeyLengthIsChecked) {
  EXPECT_NO_THROW(TCGISessionVariables(DefaultEncryptionKey, {}));
  engine_.CGISession.SetEncryptionKey("7 chars");
  try {
    StartSession(engine_, "k1");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Blowfish keylength out of range");
  }
  EXPECT_EQ(ERS().Session, nullptr);
}

TEST_F(SessionTest, IdentifiersAreCheckedAndNewOnesAreRandom) {
  for (const char* bad : {"../../etc/passwd", "a b", "x/y", "abc.ses"}) EXPECT_THROW(StartSession(engine_, bad), Exception);
  EXPECT_THROW(StartSession(engine_, std::string(65, 'a')), Exception);
  const std::string a = NewSessionId(), b = NewSessionId();
  EXPECT_EQ(a.size(), 32u);
  EXPECT_TRUE(ValidSessionId(a));
  EXPECT_NE(a, b);
  const std::string id = StartSession(engine_);
  EXPECT_TRUE(ValidSessionId(id));
  EXPECT_EQ(SRS().SessionId, id);
}

TEST_F(SessionTest, SessionFilesAreNamedAfterSessionAndApplication) {
  engine_.CGISession.SetSessionName("Shop cart");
  EXPECT_EQ(SessionFileName(engine_, "abc123"), dir_ + "/sess_Shop_cart_abc123.ses");
  engine_.CGISession.SetFileBased(false);  // visibility follows: this application only
  ASSERT_EQ(engine_.CGISession.Visibility(), TSessionVisibility::ThisApplication);
  const std::string name = SessionFileName(engine_, "abc123");
  EXPECT_EQ(name.rfind(dir_ + "/sess_", 0), 0u);
  EXPECT_NE(name.find("_Shop_cart_abc123.ses"), std::string::npos);
  EXPECT_NE(name, dir_ + "/sess_Shop_cart_abc123.ses");
}

TEST_F(SessionTest, ValuesAreSetReplacedAndReadByNameIgnoringCase) {
  StartSession(engine_, "vals1");
  SetSessionValue("User", "anna");
  SetSessionValue("lang", "S");
  SetSessionValue("user", "bertil");
  EXPECT_EQ(GetSessionValue("USER"), "bertil");
  EXPECT_EQ(GetSessionValue("lang"), "S");
  EXPECT_EQ(GetSessionValue("none"), "");
  EXPECT_THROW(SetSessionValue("a=b", "x"), Exception);
  EXPECT_THROW(SetSessionValue("", "x"), Exception);
  // Another session of the same process has its own values.
  StartSession(engine_, "vals2");
  EXPECT_EQ(GetSessionValue("user"), "");
  StartSession(engine_, "vals1");
  EXPECT_EQ(GetSessionValue("user"), "bertil");
  EndSession();
  StartSession(engine_, "vals2");
}

TEST_F(SessionTest, SavedFileHoldsOneEncryptedRecordPerValueInOrder) {
  const std::string id = StartSession(engine_, "save1");
  SetSessionValue("b", "2");
  SetSessionValue("a", "x y&z=\xE5\xE4\xF6");
  SetSessionValue("empty", "");
  SaveSession();
  const std::string file = SessionFileName(engine_, id);
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const std::string data = ReadAll(file);
  EXPECT_EQ(RecordTexts(data, DefaultEncryptionKey),
            (std::vector<std::string>{"\x01" "b=2", "\x01" "a=x y&z=\xE5\xE4\xF6", "\x01" "empty="}));
  // Records are form-encoded text: no zero byte but the terminators, no blank.
  EXPECT_EQ(data.find(' '), std::string::npos);
  EXPECT_EQ(std::count(data.begin(), data.end(), '\0'), 3);
}

TEST_F(SessionTest, SavedOncePerRequestUnlessValuesChange) {
  const std::string id = StartSession(engine_, "once1");
  SetSessionValue("a", "1");
  SaveSession();
  const std::string file = SessionFileName(engine_, id);
  ASSERT_EQ(::truncate(file.c_str(), 0), 0);
  SaveSession();  // already saved: the file is not written again
  EXPECT_EQ(ReadAll(file), "");
  SetSessionValue("a", "2");
  EndRequestSession();
  EXPECT_EQ(RecordTexts(ReadAll(file), DefaultEncryptionKey), std::vector<std::string>{"\x01" "a=2"});
  EXPECT_EQ(ERS().Session, nullptr);
  EXPECT_EQ(SRS().SessionId, "");
  StartSession(engine_, id);
}

TEST_F(SessionTest, ANewProcessLoadsTheSessionFromItsFile) {
  const std::string id = StartSession(engine_, "load1");
  SetSessionValue("user", "anna");
  SetSessionValue("cart", "3 items");
  EndRequestSession();
  ForgetInProcess(id);

  StartSession(engine_, id);
  EXPECT_EQ(GetSessionValue("user"), "anna");
  EXPECT_EQ(GetSessionValue("cart"), "3 items");
  EndRequestSession();
  ForgetInProcess(id);

  // A file written with another key is not read as values.
  engine_.CGISession.SetEncryptionKey("another key of some length");
  StartSession(engine_, id);
  EXPECT_EQ(GetSessionValue("user"), "");
}

TEST_F(SessionTest, SessionsNotFileBasedWriteNoFile) {
  engine_.CGISession.SetFileBased(false);
  const std::string id = StartSession(engine_, "mem1");
  SetSessionValue("a", "1");
  EndRequestSession();
  EXPECT_FALSE(FileExists(SessionFileName(engine_, id)));
  StartSession(engine_, id);
  EXPECT_EQ(GetSessionValue("a"), "1");
}

TEST_F(SessionTest, ExpiryIsKeptInTheFileTime) {
  const std::string id = StartSession(engine_, "exp1");
  EXPECT_EQ(SessionExpiry(), 0);
  const TDateTime inAnHour = Now() + 1.0 / 24;
  SetSessionExpiry(inAnHour);
  EXPECT_DOUBLE_EQ(SessionExpiry(), inAnHour);
  SetSessionValue("a", "1");
  EndRequestSession();
  ForgetInProcess(id);

  StartSession(engine_, id);
  EXPECT_NEAR(SessionExpiry(), inAnHour, 2.0 / 86400);
  // A record without expiry answers with the file's time.
  SetSessionExpiry(0);
  EXPECT_NEAR(SessionExpiry(), inAnHour, 2.0 / 86400);
  // A time that has passed counts as none.
  SetSessionExpiry(Now() - 1.0 / 24);
  EXPECT_EQ(SessionExpiry(), 0);
}

TEST_F(SessionTest, AnExpiredSessionStartsEmpty) {
  int released = 0;
  const std::string id = StartSession(engine_, "exp2");
  SetSessionValue("a", "1", new TBasket(&released));
  SetSessionExpiry(Now() - 1.0 / 86400);
  StartSession(engine_, id);
  EXPECT_EQ(GetSessionValue("a"), "");
  EXPECT_EQ(released, 1);
  EXPECT_EQ(removed_, std::vector<std::string>{"TBasket"});

  // Also when it comes from a file whose expiry has passed.
  SetSessionValue("a", "1");
  SetSessionExpiry(Now() - 1.0 / 24);
  EndRequestSession();
  ForgetInProcess(id);
  StartSession(engine_, id);
  EXPECT_EQ(GetSessionValue("a"), "");
}

TEST_F(SessionTest, ClearHandsObjectsToTheEventAndMarksTheFileCleared) {
  int released = 0;
  const std::string id = StartSession(engine_, "clear1");
  SetSessionValue("basket", "b", new TBasket(&released));
  SetSessionValue("plain", "p");
  SaveSession();
  const std::string file = SessionFileName(engine_, id);
  const std::string before = ReadAll(file);

  ClearSession();
  EXPECT_EQ(removed_, std::vector<std::string>{"TBasket"});
  EXPECT_EQ(released, 1);
  EXPECT_EQ(GetSessionValue("plain"), "");
  // The clear record, encrypted once more, over the start of the old file.
  const std::string after = ReadAll(file);
  const TBlowFish cipher(DefaultEncryptionKey);
  const std::string cleared = ClearedSessionBytes(cipher);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, cleared.size()), cleared);
  EXPECT_EQ(after.substr(cleared.size()), before.substr(cleared.size()));
  EXPECT_EQ(RecordTexts(cipher.Decrypt(cleared), DefaultEncryptionKey), std::vector<std::string>{"\x03"});
  std::vector<std::pair<std::string, std::string>> values{{"x", "y"}};
  EXPECT_TRUE(ReadSessionFile(file, cipher, values));
  EXPECT_TRUE(values.empty());

  // Cleared means not saved: the end of the request writes the empty list.
  EndRequestSession();
  EXPECT_EQ(ReadAll(file), "");
  StartSession(engine_, id);
}

TEST_F(SessionTest, ReplacedAndEndedObjectsAreReleasedThroughTheEvent) {
  int released = 0;
  StartSession(engine_, "obj1");
  TBasket* first = new TBasket(&released);
  SetSessionValue("o", "1", first);
  EXPECT_EQ(GetSessionObject("o"), first);
  SetSessionValue("o", "1", first);  // the same object again
  EXPECT_EQ(released, 0);
  SetSessionValue("o", "2", new TBasket(&released));
  EXPECT_EQ(released, 1);
  EXPECT_EQ(removed_.size(), 1u);
  EndSession();
  EXPECT_EQ(released, 2);
  EXPECT_EQ(removed_.size(), 2u);
}

TEST_F(SessionTest, RemoveSessionObjectsReleasesEveryObjectOfEverySession) {
  int released = 0;
  StartSession(engine_, "rem1");
  SetSessionValue("a", "1", new TBasket(&released));
  SetSessionValue("b", "2");
  StartSession(engine_, "rem2");
  SetSessionValue("c", "3", new TBasket(&released));
  std::vector<std::pair<TComponent*, std::string>> calls;
  RemoveSessionObjects(&engine_, [&](TComponent* s, const std::string& cls, TObject* obj) {
    calls.emplace_back(s, cls);
    EXPECT_NE(obj, nullptr);
  });
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].second, "TBasket");
  EXPECT_EQ(released, 2);
  EXPECT_EQ(GetSessionObject("c"), nullptr);
  EXPECT_EQ(GetSessionValue("c"), "3");
  EndSession();
  StartSession(engine_, "rem1");
  EXPECT_EQ(GetSessionValue("b"), "2");
}

TEST_F(SessionTest, SessionFilesThatAreNotOursReadAsNothing) {
  const TBlowFish cipher(DefaultEncryptionKey);
  std::vector<std::pair<std::string, std::string>> values;
  EXPECT_FALSE(ReadSessionFile(dir_ + "/missing.ses", cipher, values));
  std::ofstream(dir_ + "/junk.ses", std::ios::binary) << "not a session file";
  EXPECT_FALSE(ReadSessionFile(dir_ + "/junk.ses", cipher, values));
  // A damaged file: the session starts empty.
  std::ofstream(SessionFileName(engine_, "junk1"), std::ios::binary) << std::string("abc\0def\0", 8);
  StartSession(engine_, "junk1");
  EXPECT_EQ(GetSessionValue("a"), "");
}

TEST_F(SessionTest, RequestsOnSeveralThreadsKeepTheirOwnSessions) {
  std::vector<std::thread> threads;
  std::vector<std::string> results(4);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([this, t, &results] {
      StartSession(engine_, "thread" + std::to_string(t));
      for (int i = 0; i < 200; ++i) SetSessionValue("v" + std::to_string(i % 10), std::to_string(t * 1000 + i));
      results[t] = GetSessionValue("v9");
      EndSession();
      EndRequestSession();
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(results[t], std::to_string(t * 1000 + 199));
}

}  // namespace
