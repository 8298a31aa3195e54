// The WSAPI engine: the program loaded by a WSAPI server, whose entry point
// `Process` serves one request through the server's support functions,
// which the program finds by name at run time.
#pragma once

#include <memory>
#include <string>

#include "gateway/HttpEng.h"
#include "gateway/HttpExt.h"

// The server's support functions, bound by name.
struct TWsapiHost {
  WsapiBindFn bind_wsapi = nullptr;
  WsapiReadFn nread = nullptr;
  WsapiWriteFn nwrite = nullptr;
  WsapiFlushFn nflush = nullptr;
  WsapiSendHeaderFn send_http_header = nullptr;
  WsapiGetVariableFn get_server_variable = nullptr;
  bool Complete() const {
    return bind_wsapi && nread && nwrite && nflush && send_http_header && get_server_variable;
  }
};

class TWsapiEngine : public THttpEngine {
public:
  explicit TWsapiEngine(TComponent* owner = nullptr);
  ~TWsapiEngine() override;
  std::string ClassName() const override { return "TWsapiEngine"; }
  // The header block: the server's own through send_http_header, then the
  // engine's lines through nwrite.
  void WriteHeaderLine(const std::string& name, const std::string& value) override;
  void EndHeaders() override;
  std::string GetRawVariable(const std::string& name) override;
};

// Body and response through nread and nwrite.
class TWsapiStream : public TStream {
public:
  TWsapiStream(const TWsapiHost& host, void* tp) : host_(host), tp_(tp) {}
  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;

private:
  const TWsapiHost& host_;
  void* tp_;
};

extern TWsapiEngine* WsapiEngine;

// Binds the support functions from a module handle (null: the whole host
// process). False when one of them is missing or the server refuses the
// interface version.
bool WsapiBind(void* handle = nullptr);
// The entry point's work: serves the request of the context `tp`; 1 when it
// ran, 0 when the server's functions cannot be bound.
int32_t WsapiProcess(void* tp);
