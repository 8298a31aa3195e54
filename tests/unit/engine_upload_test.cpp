// Uploads through the whole request cycle: the engine's own file handler,
// the fields it adds, and the temporary files gone after the request.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "gateway/HFileUp.h"
#include "support/EngineHarness.h"

namespace fs = std::filesystem;

TEST(UploadCycle, FilesLandInPrivateTemporaryFilesThatTheRequestRemoves) {
  std::string dir = (fs::temp_directory_path() / ("vemlo3-upl-" + std::to_string(getpid()))).string();
  const std::string body =
      "--XyZ\r\nContent-Disposition: form-data; name=\"t\"\r\n\r\nx\r\n"
      "--XyZ\r\nContent-Disposition: form-data; name=\"f\"; filename=\"C:\\a.txt\"\r\n"
      "Content-Type: text/plain\r\n\r\nrad ett\r\nrad tv\xE5\r\n--XyZ--\r\n";
  std::string t, f, tmpName, contentType, content;
  RunEngineRequest(
      {"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST", "CONTENT_TYPE=multipart/form-data; boundary=XyZ",
       "CONTENT_LENGTH=" + std::to_string(body.size())},
      body,
      [&](THttpCGIEngine& e) {
        e.AllowedMethods.SetPut(true);
        e.SetTempDir(dir);
      },
      [&](THttpEngine&) {
        t = HttpFormField("t", "");
        f = HttpFormField("f", "");
        tmpName = HttpFormField("f_FILENAME", "");
        contentType = HttpFormField("f_CONTENT_TYPE", "");
        std::ifstream in(tmpName, std::ios::binary);
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        EXPECT_EQ(fs::status(tmpName).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
      });
  EXPECT_EQ(t, "x");
  EXPECT_EQ(f, "C:\\a.txt");
  EXPECT_EQ(contentType, "text/plain");
  EXPECT_EQ(content, "rad ett\r\nrad tv\xE5");
  EXPECT_EQ(tmpName.rfind(dir + "/zn", 0), 0u) << tmpName;
  EXPECT_FALSE(fs::exists(tmpName));
  fs::remove_all(dir);
}

TEST(UploadCycle, BodyWithoutBoundaryEndsInTheErrorPage) {
  EngineRun r = RunEngineRequest({"SERVER_SOFTWARE=x", "REQUEST_METHOD=POST",
                                  "CONTENT_TYPE=multipart/form-data; boundary=b", "CONTENT_LENGTH=10"},
                                 "utan radslut", [](THttpCGIEngine& e) { e.AllowedMethods.SetPut(true); }, nullptr);
  EXPECT_NE(r.output.find("Unhandled Exception: Fileupload: No boundary"), std::string::npos) << r.output;
}
