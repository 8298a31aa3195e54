// The FastCGI engine's start-up decisions: which standard input counts as a
// FastCGI server's socket, the folder the program works from, the web
// server addresses it admits, and the status line it sends.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "gateway/CGISEng.h"
#include "gateway/FcgiEng.h"

TEST(FastCgiStartUp, OnlyAListeningSocketMakesTheProcessAFastCgiServer) {
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  EXPECT_FALSE(IsListeningSocket(pipeFds[0]));  // standard CGI: a pipe
  int pair[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
  EXPECT_FALSE(IsListeningSocket(pair[0]));  // a server that hands a connected socket
  int unbound = socket(AF_UNIX, SOCK_STREAM, 0);
  EXPECT_FALSE(IsListeningSocket(unbound));
  int listening = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(listen(listening, 4), 0);  // bound to a free port by listen
  EXPECT_TRUE(IsListeningSocket(listening));
  EXPECT_FALSE(IsListeningSocket(999));
  for (int fd : {pipeFds[0], pipeFds[1], pair[0], pair[1], unbound, listening}) close(fd);
}

TEST(FastCgiStartUp, WorksFromTheFolderOfTheProgramAsStarted) {
  EXPECT_EQ(ProgramFolder("/srv/www/cgi-win/vemlo3.exe"), "/srv/www/cgi-win");
  EXPECT_EQ(ProgramFolder("cgi-win/vemlo3.exe"), "cgi-win");
  EXPECT_EQ(ProgramFolder("/vemlo3"), "/");
  // Started by name through the search path: the running program's folder.
  std::string own = ProgramFolder("vemlo3");
  EXPECT_EQ(own.rfind('/', 0), 0u) << own;
}

TEST(FastCgiStartUp, WebServerAddressList) {
  EXPECT_TRUE(WebServerAddressAllowed("", "192.0.2.7"));
  EXPECT_TRUE(WebServerAddressAllowed("127.0.0.1, 192.0.2.7", "192.0.2.7"));
  EXPECT_FALSE(WebServerAddressAllowed("127.0.0.1,192.0.2.70", "192.0.2.7"));
  EXPECT_FALSE(WebServerAddressAllowed("127.0.0.1", ""));  // an address that could not be read
}

TEST(FastCgiStartUp, SettingsFromTheEnvironment) {
  setenv("VEMLO3_FCGI_THREADS", "3", 1);
  setenv("VEMLO3_FCGI_MAX_REQUESTS", "500", 1);
  TFastCgiSettings s = FastCgiSettingsFromEnvironment();
  EXPECT_EQ(s.Threads, 3);
  EXPECT_EQ(s.MaxRequests, 500);
  setenv("VEMLO3_FCGI_THREADS", "nonsense", 1);
  setenv("VEMLO3_FCGI_MAX_REQUESTS", "-4", 1);
  s = FastCgiSettingsFromEnvironment();
  EXPECT_GE(s.Threads, 1);  // the number of cores
  EXPECT_EQ(s.MaxRequests, 0);
  unsetenv("VEMLO3_FCGI_THREADS");
  unsetenv("VEMLO3_FCGI_MAX_REQUESTS");
}

TEST(FastCgiOutput, StatusLineTravelsAsAStatusHeader) {
  EXPECT_EQ(CgiHeaderLine("HTTP/1.1 200 OK", "", true), "Status: 200 OK\r\n");
  EXPECT_EQ(CgiHeaderLine("HTTP/1.1 200 OK", "", false), "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(CgiHeaderLine("content-type", "text/html", true), "content-type: text/html\r\n");
  EXPECT_EQ(CgiHeaderLine("Document Expires", "", true), "Document Expires\r\n");
}
