// The resident server: one long-running process of the program serves the
// requests that thin client processes hand over through files in a shared
// directory.
//
// Files, all named <directory>/<program file name>_<suffix> and created
// private to the user (0600, the directory 0700):
//   s                       alive file; its modification time is the heartbeat
//   pid                     the server's process id, written once the server
//                           is ready; the server holds an exclusive flock on
//                           it for as long as it lives
//   <tag>_<hex>_TMP         a request being written by a client
//   <tag>_<hex>_REQ         a complete request (variables, empty line, body)
//   <tag>_<hex>_cnf         a request claimed by the server
//   <tag>_<hex>_ind         its response being written
//   <tag>_<hex>_rsp         the complete response
//
// Signalling: a server is alive when its alive file is fresh and its pid file
// is locked and written (a process that dies loses its lock at once). A server stops when
// its alive file is deleted, or on SIGTERM, SIGINT or SIGHUP; it finishes the
// requests in progress, deletes its files and ends. A waiting client stops
// waiting on the same signals, when the alive file goes, or when the server
// that was alive at the start has lost its lock.
//
// Waiting: the server looks for "_REQ" files and a client for its "_rsp" file
// in rounds (50 ms), and both watch the folder (the server with inotify, a
// client with a light watch; see HDirWatch.h), so that a round ends as soon
// as the file they wait for appears. The files and
// their renames are the same either way, so a client or server that only
// looks in rounds (VEMLO3_NO_INOTIFY=1) works with one that watches.
//
// Serving: in ServerMode the server serves one request after the other; in
// ServerThreadMode a fixed set of request threads serves them, each keeping
// its own application module and database connection between requests.
#pragma once

#include <memory>
#include <string>

#include "gateway/CGISEng.h"

struct TServerSettings {
  // The shared directory: VEMLO3_SERVER_DIR, else "temp" beside the program.
  std::string Directory;
  int HeartbeatMs = 5000;         // the server touches its alive file this often
  int FreshMs = 30000;            // an alive file older than this is stale
  int ClientWaitMs = 180000;      // a client waits this long for its response
  int ServerFileAgeMs = 900000;   // the server deletes its files older than this
  int ClientFileAgeMs = 30000;    // a client deletes files older than this
  int MaxFiles = 20;              // pending files at which clients are refused
  int StartWaitMs = 5000;         // how long a client waits for a server it started
  int RoundMs = 50;               // the longest pause between two looks for a file
};

// The settings, read once from the environment: VEMLO3_SERVER_DIR and
// VEMLO3_SERVER_TIMES ("heartbeat=5000,fresh=30000,wait=180000,
// serverage=900000,clientage=30000,maxfiles=20,start=5000,round=50", any
// subset) and VEMLO3_SERVER_THREADS (the request threads of the thread mode).
TServerSettings& ServerSettings();
void ReloadServerSettings();

std::string ServerPrefix();
std::string AliveFileName();
std::string PidFileName();
// The client tag of a request: REMOTE_ADDR (else REMOTE_ADDRESS) with "."
// replaced by "-".
std::string ClientTag(const TStringList& variables);

// True in the server process once it has started serving.
bool ThisProcessIsServer();
// A server process holds the lock of the pid file.
bool ServerLockHeld();

// Prepares the directory, takes the server lock and creates the alive file.
// False when another server holds the lock.
bool StartServerDirectory();
// Serves request files until told to stop, then cleans up (no process end).
void RunServerLoop(THttpCGIEngine& engine);
// RunServerLoop, then the end of the process.
void ServerLoop(THttpCGIEngine& engine);
// Serves one claimed request (base name ends in "_").
void ServeRequestFile(THttpCGIEngine& engine, const std::string& baseName);
// Asks the server loop of this process to stop.
void StopServerLoop();

enum class THandOver {
  Answered,  // the server's response has been copied to the output
  NoAnswer,  // no response came; the body read so far is in `body`
  Stopped,   // the client was told to stop waiting
};
// The client side. Raises "Server mode - Too many clients" before anything is
// written when too many requests are pending.
THandOver HandToServer(TStream* input, TStream* output, const TStringList& variables, std::string& body);

// Starts a resident server process (the program with "$$START_SERVER X") and
// waits until it is alive; true when it is.
bool StartServerProcess();
