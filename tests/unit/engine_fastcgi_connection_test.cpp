// The FastCGI engine's own handling of a connection: a page's body written
// as large STDOUT records, whole even when the socket takes it in pieces, and
// the lingering close that waits for the web server's end off the worker.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "gateway/FcgiClose.h"
#include "gateway/FcgiEng.h"
#include "support/FcgiClient.h"

namespace {

std::string Bytes(size_t n) {
  std::string s(n, '\0');
  uint32_t x = 12345;
  for (char& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 23);
  }
  return s;
}

// Reads STDOUT records until the writer's end closes; the content joined,
// and how many records came.
std::pair<std::string, int> ReadStdout(int fd, int requestId) {
  std::string all, got;
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    all.append(buf, size_t(n));
  }
  int records = 0;
  size_t at = 0;
  while (at + 8 <= all.size()) {
    const unsigned char* h = reinterpret_cast<const unsigned char*>(all.data() + at);
    EXPECT_EQ(h[0], 1);
    EXPECT_EQ(h[1], kFcgiStdout);
    EXPECT_EQ((h[2] << 8) | h[3], requestId);
    size_t len = (size_t(h[4]) << 8) | h[5];
    EXPECT_GT(len, 0u);  // an empty record would end the stream
    EXPECT_LE(at + 8 + len + h[6], all.size());
    got.append(all, at + 8, len);
    at += 8 + len + h[6];
    ++records;
  }
  EXPECT_EQ(at, all.size());
  return {got, records};
}

bool ClosedWithin(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  if (poll(&p, 1, ms) <= 0) return false;
  char c;
  return read(fd, &c, 1) == 0;
}

}  // namespace

TEST(FastCgiRecords, ABodyGoesOutWholeInLargeRecordsEvenInSmallPieces) {
  for (size_t size : {size_t(8192), size_t(65528), size_t(65529), size_t(3 * 1024 * 1024 + 17)}) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    // A small send buffer: the writes are cut short and must go on where
    // they stopped.
    int small = 4096;
    setsockopt(pair[0], SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
    const std::string body = Bytes(size);
    std::pair<std::string, int> read;
    std::thread reader([&] { read = ReadStdout(pair[1], 513); });
    EXPECT_TRUE(WriteStdoutRecords(pair[0], 513, body.data(), int64_t(body.size())));
    close(pair[0]);
    reader.join();
    close(pair[1]);
    EXPECT_EQ(read.first == body, true) << size;
    EXPECT_EQ(read.second, int((size + 65527) / 65528)) << size;
  }
}

// The last output of a request carries the end of the request with it: the
// empty STDOUT record and END_REQUEST with the application's status.
TEST(FastCgiRecords, TheLastOutputEndsTheRequestInTheSameWrite) {
  for (size_t size : {size_t(0), size_t(700), size_t(200000)}) {
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    const std::string body = Bytes(size);
    int status = 258;
    std::thread writer([&] {
      EXPECT_TRUE(WriteStdoutRecords(pair[0], 7, body.data(), int64_t(body.size()), &status));
      close(pair[0]);
    });
    FcgiResponse r = FcgiReadResponse(pair[1], 5000);
    writer.join();
    close(pair[1]);
    EXPECT_TRUE(r.ended) << size;
    EXPECT_EQ(r.appStatus, 258u);
    EXPECT_EQ(r.protocolStatus, 0);
    EXPECT_EQ(r.out == body, true) << size;
  }
}

TEST(FastCgiRecords, AGoneWebServerFailsTheWrite) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  close(pair[1]);
  std::signal(SIGPIPE, SIG_IGN);
  const std::string body = Bytes(100000);
  EXPECT_FALSE(WriteStdoutRecords(pair[0], 1, body.data(), int64_t(body.size())));
  EXPECT_EQ(errno, EPIPE);
  close(pair[0]);
}

TEST(FastCgiLingeringClose, ClosesWhenTheWebServerHasClosedItsEnd) {
  TLingeringClose closer(std::chrono::milliseconds(5000));
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  // The web server still sends a late record: it is read and dropped.
  ASSERT_EQ(write(pair[1], "late", 4), 4);
  closer.Hand(pair[0]);
  EXPECT_EQ(closer.Waiting(), 1u);
  // Its sending side is shut at once: the web server sees the end.
  EXPECT_TRUE(ClosedWithin(pair[1], 1000));
  close(pair[1]);
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (closer.Waiting() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(closer.Waiting(), 0u);
  // The descriptor is really closed.
  EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
}

TEST(FastCgiLingeringClose, AWebServerThatNeverClosesIsCutOffAfterTheLingerTime) {
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  auto start = std::chrono::steady_clock::now();
  {
    TLingeringClose closer(std::chrono::milliseconds(200));
    closer.Hand(pair[0]);
    auto until = start + std::chrono::seconds(3);
    while (closer.Waiting() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(closer.Waiting(), 0u);
  }
  auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(200));
  EXPECT_LT(took, std::chrono::milliseconds(1500));
  close(pair[1]);

  // At the end of the process what still waits is closed at once.
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  {
    TLingeringClose closer(std::chrono::seconds(60));
    closer.Hand(pair[0]);
    EXPECT_EQ(closer.Waiting(), 1u);
  }
  EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
  close(pair[1]);
}

TEST(FastCgiLingeringClose, AConnectionWhoseWebServerHasGoneIsClosedAtOnce) {
  TLingeringClose closer;
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  close(pair[1]);
  closer.Hand(pair[0]);
  EXPECT_EQ(closer.Waiting(), 0u);
  EXPECT_EQ(fcntl(pair[0], F_GETFD), -1);
}
