// The end of a FastCGI connection that the web server does not keep: the
// program shuts its sending side and reads what still comes until the web
// server closes its end (or two seconds pass), so that no late byte of the
// web server's makes the system reset the connection and lose the answer.
// That wait is the web server's, not the page's: a worker hands the
// connection to this closer and goes on to the next visitor, and one thread
// here waits for every connection handed to it.
#pragma once

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

class TLingeringClose {
public:
  explicit TLingeringClose(std::chrono::milliseconds linger = std::chrono::milliseconds(2000));
  // Closes every connection still waiting at once.
  ~TLingeringClose();
  TLingeringClose(const TLingeringClose&) = delete;
  TLingeringClose& operator=(const TLingeringClose&) = delete;

  // Takes the connection over: it is shut for sending and closed when the
  // web server has closed its end, at the latest after the linger time.
  // Closed at once when the closer has no thread.
  void Hand(int fd);
  // Connections waiting now (for the tests).
  size_t Waiting();

private:
  void Run();
  // Reads what the peer still sent; true when its end is closed (or failed).
  static bool Drained(int fd);
  void CloseExpired(std::chrono::steady_clock::time_point now);
  // Closes a waiting connection (under the lock).
  void Forget(int fd);

  std::chrono::milliseconds linger_;
  int epoll_ = -1;
  int wake_ = -1;
  std::mutex lock_;
  // When each connection waiting is cut off, by descriptor (max() where none
  // waits). A table the worker fills and this thread empties: a node
  // allocated by one thread and freed by another would pile up in the
  // freeing thread's small-block lists.
  std::vector<std::chrono::steady_clock::time_point> deadlines_;
  size_t waiting_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};
