// The NSAPI engine: the header writer and response stream over an NSAPI
// server's functions. The program exports no NSAPI entry point; a host (or
// a service function of its own) binds the functions and runs a request
// with NsapiRunRequest.
#pragma once

#include <memory>
#include <string>

#include "gateway/HttpEng.h"

// The server functions and the request's handles, as an NSAPI service
// function receives them.
struct TNsapiHost {
  void* sn = nullptr;       // the session
  void* rq = nullptr;       // the request
  void* srvhdrs = nullptr;  // the request's response header block
  void* csd = nullptr;      // the client's connection
  void* (*pblock_nvinsert)(const char* name, const char* value, void* pb) = nullptr;
  int (*protocol_status)(void* sn, void* rq, int n, const char* reason) = nullptr;
  int (*protocol_start_response)(void* sn, void* rq) = nullptr;
  int (*net_write)(void* sd, const char* buf, int sz) = nullptr;
  int (*net_read)(void* sd, char* buf, int sz, int timeout) = nullptr;
};

class TNSAPIEngine : public THttpEngine {
public:
  explicit TNSAPIEngine(TComponent* owner = nullptr);
  ~TNSAPIEngine() override;
  std::string ClassName() const override { return "TNSAPIEngine"; }
  // The status line sets the response status, every other line is added to
  // the response headers (names in lower case, as the server keeps them);
  // the end of the block starts the response.
  void WriteHeaderLine(const std::string& name, const std::string& value) override;
  void EndHeaders() override;
};

// Response (and body) stream over the client connection.
class TNsapiStream : public TStream {
public:
  explicit TNsapiStream(const TNsapiHost& host) : host_(host) {}
  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;

private:
  const TNsapiHost& host_;
};

extern TNSAPIEngine* NsapiEngine;

// Serves one request with the given variables through the NSAPI engine.
void NsapiRunRequest(const TNsapiHost& host, std::unique_ptr<TStringList> variables);
