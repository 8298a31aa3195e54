// The ISAPI engine: the program loaded by a web server as an extension (and
// filter) library. Requests arrive on the server's threads with an extension
// control block; the body and the response go through the block's
// functions.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "gateway/HttpEng.h"
#include "gateway/HttpExt.h"

using TIsapiExtensionVersionEvent =
    std::function<void(TComponent* sender, uint32_t requestVersion, std::string& requestDesc, bool& resultValue)>;
using TIsapiFilterProcEvent = std::function<void(TComponent* sender, HTTP_FILTER_CONTEXT* pfc, int notificationType,
                                                 void* pvNotification, int& resultValue)>;
using TIsapiFilterVersionEvent = std::function<void(TComponent* sender, int serverFilterVersion, int& filterVersion,
                                                    std::string& filterDesc, int& flags, bool& resultValue)>;

class TIsapiEngine : public THttpEngine {
public:
  explicit TIsapiEngine(TComponent* owner = nullptr);
  ~TIsapiEngine() override;
  std::string ClassName() const override { return "TIsapiEngine"; }

  TIsapiExtensionVersionEvent OnIsapiExtensionVersion;
  TIsapiFilterProcEvent OnIsapiFilterProc;
  TIsapiFilterVersionEvent OnIsapiFilterVersion;

  // A "Location" header becomes the server's redirect; every other line goes
  // to the client as it is.
  void WriteHeaderLine(const std::string& name, const std::string& value) override;
  void EndHeaders() override;
  // Asks the server (through the control block, or the filter context in a
  // filter call); a missing HTTP_ header is looked up in ALL_HTTP.
  std::string GetRawVariable(const std::string& name) override;
  std::string GetServerVariable(const std::string& name) override;
  void Terminate() override;
};

// The request body and the response over the control block: reading gives
// the bytes the server has already delivered, then asks it for more;
// writing hands the bytes to the server.
class TIsapiStream : public TStream {
public:
  explicit TIsapiStream(EXTENSION_CONTROL_BLOCK* ecb) : ecb_(ecb) {}
  int64_t Read(void* buf, int64_t count) override;
  int64_t Write(const void* buf, int64_t count) override;

private:
  EXTENSION_CONTROL_BLOCK* ecb_;
  uint64_t delivered_ = 0;  // bytes of lpbData handed out
  uint64_t read_ = 0;       // bytes of the body handed out in all
};

// The process's ISAPI engine (null until one is created).
extern TIsapiEngine* IsapiEngine;
// An ISAPI entry point has been called in this process.
bool IsapiActive();
// This thread's control block while it serves an extension request.
EXTENSION_CONTROL_BLOCK* CurrentEcb();

// The request's variables as the extension builds them.
std::unique_ptr<TStringList> IsapiVariables(EXTENSION_CONTROL_BLOCK* ecb);

// The work of the exported entry points.
HSE_BOOL IsapiGetExtensionVersion(HSE_VERSION_INFO* pVer);
HSE_DWORD IsapiHttpExtensionProc(EXTENSION_CONTROL_BLOCK* pECB);
HSE_BOOL IsapiTerminateExtension(HSE_DWORD dwFlags);
HSE_BOOL IsapiGetFilterVersion(HTTP_FILTER_VERSION* pVer);
HSE_DWORD IsapiHttpFilterProc(HTTP_FILTER_CONTEXT* pfc, HSE_DWORD notificationType, void* pvNotification);
// The must-unload flag of the last TerminateExtension call on this thread.
bool IsapiMustUnload();
