#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "gateway/HFileUp.h"

namespace {

const std::string kB = "----------------------------4f1ea2c08d91";

// A body source that hands out the bytes in chunks of a repeating pattern of
// sizes, never more than asked; after the bytes it returns `atEnd`.
struct ChunkedReader {
  std::string data;
  std::vector<int64_t> sizes{1, 7, 300, 4096, 13, 1000, 2};
  int64_t atEnd = 0;
  size_t pos = 0, turn = 0;
  int64_t calls = 0;

  int64_t operator()(void* bytes, int64_t count) {
    ++calls;
    if (pos >= data.size()) return atEnd;
    int64_t n = std::min({count, sizes[turn++ % sizes.size()], static_cast<int64_t>(data.size() - pos)});
    std::memcpy(bytes, data.data() + pos, static_cast<size_t>(n));
    pos += static_cast<size_t>(n);
    return n;
  }
};

struct Part {
  Part(std::string n, std::string d, std::string f = {}, std::string ct = {})
      : name(std::move(n)), data(std::move(d)), filename(std::move(f)), contentType(std::move(ct)) {}
  std::string name, data, filename, contentType;
};

std::string Body(const std::vector<Part>& parts, const std::string& b = kB) {
  std::string body;
  for (const Part& p : parts) {
    body += b + "\r\nContent-Disposition: form-data; name=\"" + p.name + "\"";
    if (!p.filename.empty()) body += "; filename=\"" + p.filename + "\"";
    body += "\r\n";
    if (!p.contentType.empty()) body += "Content-Type: " + p.contentType + "\r\n";
    body += "\r\n" + p.data + "\r\n";
  }
  return body + b + "--\r\n";
}

// Bytes that look like the boundary in every way but one.
std::string Pattern(size_t n, size_t seed = 0) {
  std::string s;
  for (size_t i = 0; s.size() < n; ++i) {
    switch ((i + seed) % 5) {
      case 0: s += static_cast<char>((i * 37) & 0xFF); break;
      case 1: s += "\r\n"; break;
      case 2: s += "\r\n" + kB.substr(0, kB.size() - 1); break;  // a boundary cut short
      case 3: s += "x" + kB; break;                              // not at a line start
      default: s += std::string(i % 97, 'a' + static_cast<char>(i % 26)); break;
    }
  }
  s.resize(n);
  return s;
}

// Captures each file part in memory; records the header items it was given.
struct MemoryHandler {
  std::vector<std::unique_ptr<TMemoryStream>> files;
  std::vector<std::string> infos;
  bool giveStream = true;
  int cancelAt = -1;

  TUploadPrepareFileEvent Event() {
    return [this](TComponent*, TStringList& info, TStream*& out, bool& freeOut, bool& cancel) {
      infos.push_back(info.Text());
      files.push_back(std::make_unique<TMemoryStream>());
      if (giveStream) out = files.back().get();
      freeOut = false;
      if (static_cast<int>(files.size()) - 1 == cancelAt) cancel = true;
    };
  }
};

struct Result {
  bool completed = false;
  TStringList fields{true};
  std::string error;
};

Result Upload(const std::string& body, const TUploadPrepareFileEvent& handler = {}, ChunkedReader reader = {},
           int64_t contentLength = -1) {
  Result r;
  reader.data = body;
  if (contentLength < 0) contentLength = static_cast<int64_t>(body.size());
  try {
    r.completed = ProcessUpload(std::ref(reader), contentLength, r.fields, handler, nullptr);
  } catch (const Exception& e) {
    r.error = e.Message;
  }
  return r;
}

TEST(Upload, PlainFieldsAndFileIntoHandlerStreamUnderManyChunkings) {
  const std::string file = "line one\r\nline two\r\n\r\n" + Pattern(500);
  const std::string body = Body({{"t", "x"}, {"f", file, "C:\\a.txt", "text/plain"}, {"empty", ""}});
  for (std::vector<int64_t> sizes : {std::vector<int64_t>{1}, {2, 3}, {4096}, {17, 1, 4000, 5}}) {
    MemoryHandler h;
    ChunkedReader reader;
    reader.sizes = sizes;
    Result r = Upload(body, h.Event(), reader);
    ASSERT_EQ(r.error, "");
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.fields.Value("t"), "x");
    EXPECT_EQ(r.fields.Value("f"), "C:\\a.txt");
    EXPECT_GE(r.fields.IndexOfName("empty"), 0);
    EXPECT_EQ(r.fields.Value("empty"), "");
    ASSERT_EQ(h.files.size(), 1u);
    EXPECT_EQ(h.files[0]->Data(), file);
  }
}

TEST(Upload, PartHeaderItemsAreNameValuePairs) {
  MemoryHandler h;
  Upload(Body({{"f1", "data", "C:\\x\\a.txt", "text/plain; charset=utf-8"}}), h.Event());
  ASSERT_EQ(h.infos.size(), 1u);
  EXPECT_EQ(h.infos[0],
            "Content-Disposition=form-data\r\nname=f1\r\nfilename=C:\\x\\a.txt\r\n"
            "Content-Type=text/plain\r\ncharset=utf-8\r\n");
}

TEST(Upload, QuotedFileNameKeepsColonsAndSemicolons) {
  MemoryHandler h;
  Result r = Upload(Body({{"f", "abc", "C:\\dir;1\\a:b;c=d.txt"}, {"g", "v"}}), h.Event());
  EXPECT_EQ(r.fields.Value("f"), "C:\\dir;1\\a:b;c=d.txt");
  EXPECT_EQ(r.fields.Value("g"), "v");
  EXPECT_EQ(h.files.at(0)->Data(), "abc");
}

TEST(Upload, RepeatedNamesAreJoinedWithCrLf) {
  Result r = Upload(Body({{"a", "1"}, {"A", "2"}, {"b", "x"}, {"a", "3\r\nmore"}}));
  EXPECT_EQ(r.fields.Value("a"), "1\r\n2\r\n3\r\nmore");
  EXPECT_EQ(r.fields.Count(), 2);
}

TEST(Upload, FilesAroundTheWindowSizeArriveCompleteWhereverTheBoundaryFalls) {
  // After the part's headers the window is refilled from the start of the
  // file's bytes: sweeping the file size moves the line break and boundary
  // after the file across the window's end.
  for (size_t size = 16384 - kB.size() - 120; size <= 16384 + 40; ++size) {
    SCOPED_TRACE(size);
    const std::string file = Pattern(size, size);
    MemoryHandler h;
    Result r = Upload(Body({{"f", file, "big.bin"}, {"after", "tail"}}), h.Event());
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(h.files.size(), 1u);
    ASSERT_EQ(h.files[0]->Data().size(), file.size());
    ASSERT_EQ(h.files[0]->Data(), file);
    ASSERT_EQ(r.fields.Value("after"), "tail");
  }
}

TEST(Upload, LargeFileAndFieldsPassInPieces) {
  const std::string file = Pattern(300000, 3);
  const std::string text = Pattern(40000, 1);
  MemoryHandler h;
  Result r = Upload(Body({{"t", text}, {"f", file, "x.bin"}, {"g", "end"}}), h.Event());
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(h.files.at(0)->Data(), file);
  EXPECT_EQ(r.fields.Value("t"), text);
  EXPECT_EQ(r.fields.Value("g"), "end");
}

TEST(Upload, LineFeedOnlyBodiesAreRead) {
  std::string body = kB + "\nContent-Disposition: form-data; name=\"a\"\n\nvalue\n" + kB + "--\n";
  Result r = Upload(body);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.fields.Value("a"), "value");
}

TEST(Upload, TheLastPartEndsAtTheLastBoundaryOfTheBody) {
  // The closing boundary right at the end of the body, with and without its
  // line break: the value never takes in the boundary.
  const std::string start = kB + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nv\r\n";
  for (const std::string& end : {kB + "--\r\n", kB + "--", kB + "\r\n", kB}) {
    SCOPED_TRACE(end);
    Result r = Upload(start + end);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.fields.Value("a"), "v");
  }
}

TEST(Upload, TextAfterTheClosingBoundaryIsIgnored) {
  Result r = Upload(Body({{"a", "1"}}) + "\r\nepilogue: junk\r\n\r\nmore\r\n");
  EXPECT_EQ(r.error, "");
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.fields.Text(), "a=1\r\n");
}

TEST(Upload, PartsWithoutANameAddNoField) {
  std::string body = kB + "\r\nContent-Disposition: form-data\r\n\r\nv\r\n" +
                     Body({{"", "w"}, {"a", "1"}, {"", "f", "x.txt"}});
  Result r = Upload(body);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.fields.Text(), "a=1\r\n");
}

TEST(Upload, AnEmptyFileNameMakesAPlainField) {
  MemoryHandler h;
  Result r = Upload(Body({{"f", "", ""}}), h.Event());
  EXPECT_TRUE(h.files.empty());
  EXPECT_GE(r.fields.IndexOfName("f"), 0);
}

TEST(Upload, WithoutAStreamTheFileIsDroppedButItsNameKept) {
  MemoryHandler h;
  h.giveStream = false;
  Result r = Upload(Body({{"f", Pattern(50000), "a.txt"}, {"t", "x"}}), h.Event());
  EXPECT_EQ(r.fields.Value("f"), "a.txt");
  EXPECT_EQ(r.fields.Value("t"), "x");
  // No handler at all: the same.
  Result r2 = Upload(Body({{"f", "data", "a.txt"}, {"t", "x"}}));
  EXPECT_EQ(r2.fields.Text(), "f=a.txt\r\nt=x\r\n");
}

// A stream that tells when it is released.
struct TrackedStream : TMemoryStream {
  explicit TrackedStream(int& released) : released_(released) {}
  ~TrackedStream() override { ++released_; }
  int& released_;
};

TEST(Upload, HandlerStreamsAreReleasedWhenAsked) {
  int released = 0;
  int prepared = 0;
  TUploadPrepareFileEvent handler = [&](TComponent*, TStringList&, TStream*& out, bool& freeOut, bool&) {
    out = new TrackedStream(released);
    freeOut = true;
    ++prepared;
  };
  Result r = Upload(Body({{"f", "1", "a"}, {"g", "2", "b"}, {"t", "x"}}), handler);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(prepared, 2);
  EXPECT_EQ(released, 2);
  // Also when the body breaks off inside a file part.
  std::string body = Body({{"f", Pattern(30000), "a"}});
  Upload(body.substr(0, 20000), handler);
  EXPECT_EQ(released, 3);
}

TEST(Upload, CancelStopsTheReadingAndReleasesTheStream) {
  int released = 0;
  TUploadPrepareFileEvent handler = [&](TComponent*, TStringList&, TStream*& out, bool& freeOut, bool& cancel) {
    out = new TrackedStream(released);
    freeOut = true;
    cancel = true;
  };
  ChunkedReader reader;
  const std::string body = Body({{"t", "x"}, {"f", Pattern(100000), "a"}, {"u", "y"}});
  reader.data = body;
  TStringList fields(true);
  EXPECT_FALSE(ProcessUpload(std::ref(reader), static_cast<int64_t>(body.size()), fields, handler, nullptr));
  EXPECT_EQ(released, 1);
  EXPECT_EQ(fields.Text(), "t=x\r\n");
  EXPECT_LT(reader.pos, body.size());  // the rest of the body is left unread
}

TEST(Upload, BodiesWithoutABoundaryLineAreRefused) {
  for (const std::string& body : {std::string(), std::string("no line feed at all"), std::string("\r\n\r\nx"),
                                  std::string(20000, '-') + "\r\n"}) {
    EXPECT_EQ(Upload(body).error, "Fileupload: No boundary");
  }
  EXPECT_EQ(Upload(Body({{"a", "1"}}), {}, {}, 0).error, "Fileupload: No boundary");
}

TEST(Upload, PartsWithoutHeaderItemsAreRefused) {
  EXPECT_EQ(Upload(kB + "\r\n\r\nvalue\r\n" + kB + "--\r\n").error, "Fileupload: No FieldInfo");
  EXPECT_EQ(Upload(kB + "\r\njunk line\r\nvalue\r\n" + kB + "--\r\n").error, "Fileupload: No FieldInfo");
}

TEST(Upload, AHeaderBlockLargerThanTheWindowIsRefused) {
  std::string body = kB + "\r\nContent-Disposition: form-data; name=\"a\"\r\n";
  for (int i = 0; i < 2000; ++i) body += "X-Filler: " + std::to_string(i) + "\r\n";
  body += "\r\nv\r\n" + kB + "--\r\n";
  EXPECT_EQ(Upload(body).error, "Fileupload: No FieldInfo");
  // An unclosed quote makes the rest of the body one header item.
  std::string quoted = kB + "\r\nContent-Disposition: form-data; name=\"a\r\n\r\n";
  for (int i = 0; i < 4000; ++i) quoted += "line; of: text\r\n";
  quoted += "\r\n" + kB + "--\r\n";
  EXPECT_EQ(Upload(quoted).error, "Fileupload: No FieldInfo");
}

TEST(Upload, TruncatedBodiesEndCleanlyWithTheCompleteParts) {
  const std::string body = Body({{"a", "1"}, {"f", Pattern(50000), "x.bin"}, {"b", "2"}});
  for (size_t cut : {body.size() - 1, body.size() - 10, size_t(30000), size_t(60), size_t(45)}) {
    SCOPED_TRACE(cut);
    for (int64_t atEnd : {0, -1}) {
      ChunkedReader reader;
      reader.atEnd = atEnd;
      // The content length promises the whole body; the source stops early.
      Result r = Upload(body.substr(0, cut), {}, reader, static_cast<int64_t>(body.size()));
      EXPECT_EQ(r.error, "");
      if (cut > 100) {
        EXPECT_EQ(r.fields.Value("a"), "1");
      }
      // Only a body cut after the last boundary keeps the last field.
      EXPECT_EQ(r.fields.IndexOfName("b") >= 0, cut == body.size() - 1);
    }
  }
}

TEST(Upload, ReadingStopsAtTheContentLength) {
  const std::string body = Body({{"a", "1"}}) + Body({{"b", "2"}}, "--other");
  ChunkedReader reader;
  reader.data = body;
  TStringList fields(true);
  const int64_t length = static_cast<int64_t>(Body({{"a", "1"}}).size());
  ProcessUpload(std::ref(reader), length, fields, {}, nullptr);
  EXPECT_EQ(reader.pos, static_cast<size_t>(length));
  EXPECT_EQ(fields.Text(), "a=1\r\n");
}

TEST(Upload, HugePlainFieldsAndEndlessPartListsAreRefused) {
  EXPECT_EQ(Upload(Body({{"a", std::string(5 * 1024 * 1024, 'v')}})).error, "Fileupload: Form data too large");
  std::vector<Part> many(1500, Part{"n", "v"});
  EXPECT_EQ(Upload(Body(many)).error, "Fileupload: Form data too large");
  // A large file is no plain field.
  MemoryHandler h;
  EXPECT_EQ(Upload(Body({{"f", std::string(5 * 1024 * 1024, 'v'), "big"}}), h.Event()).error, "");
}

// ------------------------------------------------------------ bodies sent by curl

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(VEMLO_SOURCE_DIR) + "/tests/fixtures/upload/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(UploadFromCurl, TextFieldAndFile) {
  ASSERT_EQ(ReadFixture("curl_text_and_file.type").rfind("multipart/form-data; boundary=", 0), 0u);
  MemoryHandler h;
  Result r = Upload(ReadFixture("curl_text_and_file.body"), h.Event());
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.fields.Text(), "f=a.txt\r\nt=x\r\n");
  EXPECT_EQ(h.files.at(0)->Data(), "Hello, upload!\r\nSecond line\n");
  EXPECT_NE(h.infos.at(0).find("Content-Type=text/plain\r\n"), std::string::npos);
}

TEST(UploadFromCurl, LargeBinaryFileBetweenFields) {
  std::string big;
  for (int i = 0; i < 40000; ++i) big += static_cast<char>((31 * i + i / 251) & 0xFF);
  MemoryHandler h;
  Result r = Upload(ReadFixture("curl_large_binary.body"), h.Event());
  ASSERT_EQ(r.error, "");
  EXPECT_EQ(r.fields.Value("note"), "hello world");
  EXPECT_EQ(r.fields.Value("bin"), "big.bin");
  EXPECT_EQ(r.fields.Value("after"), "end");
  EXPECT_EQ(h.files.at(0)->Data(), big);
}

TEST(UploadFromCurl, QuotedFileNameAndRepeatedNames) {
  MemoryHandler h;
  Result r = Upload(ReadFixture("curl_quoted_filename.body"), h.Event());
  EXPECT_EQ(r.fields.Value("f"), "C:\\x\\a;b:c.txt");
  EXPECT_EQ(h.files.at(0)->Data(), "semi;colon:text\n");
  EXPECT_EQ(Upload(ReadFixture("curl_repeated_names.body")).fields.Value("a"), "1\r\n2\r\nthree");
}

// ------------------------------------------------------------ the engine's file handler

class UploadEngine : public THttpEngine {
public:
  void WriteHeaderLine(const std::string&, const std::string&) override {}
  void EndHeaders() override {}
};

class StoreUploadFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vemlo-upload-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ERS().FormFields = std::make_unique<TStringList>(true);
    ERS().TempFiles = std::make_unique<TStringList>();
  }
  void TearDown() override {
    if (ERS().TempFiles)
      for (const std::string& f : ERS().TempFiles->Items()) ::unlink(f.c_str());
    ERS().FormFields.reset();
    ERS().TempFiles.reset();
    std::string cmd = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
  }
  Result RunWithEngine(const std::string& body) {
    Result r;
    ChunkedReader reader;
    reader.data = body;
    TUploadPrepareFileEvent handler = [this](TComponent* s, TStringList& info, TStream*& out, bool& freeOut,
                                             bool& cancel) { engine_.StoreUploadFile(s, info, out, freeOut, cancel); };
    try {
      r.completed = ProcessUpload(std::ref(reader), static_cast<int64_t>(body.size()), *ERS().FormFields, handler,
                                  &engine_);
    } catch (const Exception& e) {
      r.error = e.Message;
    }
    return r;
  }
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  UploadEngine engine_;
  std::string dir_;
};

TEST_F(StoreUploadFileTest, FileGoesToAPrivateTemporaryFileNamedInTheFields) {
  engine_.SetTempDir(dir_ + "/sub/./up");
  const std::string file = Pattern(40000, 2);
  Result r = RunWithEngine(Body({{"t", "x"}, {"f", file, "C:\\a.txt", "image/png"}}));
  ASSERT_EQ(r.error, "");
  const TStringList& fields = *ERS().FormFields;
  EXPECT_EQ(fields.Value("t"), "x");
  EXPECT_EQ(fields.Value("f"), "C:\\a.txt");
  EXPECT_EQ(fields.Value("f_CONTENT_TYPE"), "image/png");
  const std::string stored = fields.Value("f_FILENAME");
  const std::string expectedDir = dir_ + "/sub/up/zn";
  ASSERT_EQ(stored.rfind(expectedDir, 0), 0u) << stored;
  const std::string number = stored.substr(expectedDir.size(), stored.size() - expectedDir.size() - 4);
  EXPECT_EQ(stored.substr(stored.size() - 4), ".tmp");
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos);
  EXPECT_LT(std::stol(number), 9000000);

  EXPECT_EQ(Contents(stored), file);
  struct stat st;
  ASSERT_EQ(::stat(stored.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(ERS().TempFiles->Count(), 1);
  EXPECT_EQ((*ERS().TempFiles)[0], stored);
  EXPECT_EQ(::unlink(stored.c_str()), 0);
}

TEST_F(StoreUploadFileTest, EveryFileGetsItsOwnTemporaryFile) {
  engine_.SetTempDir(dir_);
  Result r = RunWithEngine(Body({{"a", "first", "1.txt", "text/plain"}, {"b", "second", "2.txt"}}));
  ASSERT_EQ(r.error, "");
  const TStringList& fields = *ERS().FormFields;
  EXPECT_EQ(Contents(fields.Value("a_FILENAME")), "first");
  EXPECT_EQ(Contents(fields.Value("b_FILENAME")), "second");
  EXPECT_EQ(fields.Value("b_CONTENT_TYPE"), "");
  EXPECT_EQ(ERS().TempFiles->Count(), 2);
}

TEST_F(StoreUploadFileTest, RelativeTempDirLiesBesideTheProgram) {
  const std::string rel = "upload-test-" + std::to_string(::getpid());
  engine_.SetTempDir(rel);
  EXPECT_EQ(EngineTempDir(engine_), ExtractFilePath(ProgramFileName()) + rel + "/");
  Result r = RunWithEngine(Body({{"f", "abc", "a.txt"}}));
  ASSERT_EQ(r.error, "");
  const std::string stored = ERS().FormFields->Value("f_FILENAME");
  EXPECT_EQ(stored.rfind(ExtractFilePath(ProgramFileName()) + rel + "/zn", 0), 0u);
  EXPECT_EQ(Contents(stored), "abc");
  ::unlink(stored.c_str());
  ERS().TempFiles->Clear();
  ::rmdir((ExtractFilePath(ProgramFileName()) + rel).c_str());
}

TEST_F(StoreUploadFileTest, WindowsStyleAbsoluteTempDirIsTakenAsIs) {
  engine_.SetTempDir(ReplaceAll(dir_, "/", "\\") + "\\.\\win\\");
  EXPECT_EQ(EngineTempDir(engine_), dir_ + "/win/");
}

}  // namespace
