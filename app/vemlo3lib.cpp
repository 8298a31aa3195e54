// The entry of the program built as a library for web servers that load
// their extensions (ISAPI, WSAPI): the exported entry points create the
// application module on first use and hand each call to its engine.
#include <mutex>

#include "app/vemlo3f.h"
#include "gateway/HttpExt.h"
#include "gateway/IsapiEng.h"
#include "gateway/WsapiEng.h"

namespace {
// Before any other code of the library runs, the engine must know that it
// lives in a library: it then never ends the process.
__attribute__((constructor(101))) void MarkLibrary() { ProcessKind::IsLibrary = true; }

std::once_flag g_moduleOnce;

void EnsureModule() {
  std::call_once(g_moduleOnce, [] {
    ProcessKind::IsLibrary = true;
    Form1 = new TForm1(true);
  });
}

// The module goes with the library.
__attribute__((destructor)) void ReleaseModule() {
  if (Form1) {
    TForm1* module = Form1;
    delete module;
  }
}
}  // namespace

extern "C" {

__attribute__((visibility("default"))) HSE_BOOL GetExtensionVersion(HSE_VERSION_INFO* pVer) {
  try {
    EnsureModule();
    return IsapiGetExtensionVersion(pVer);
  } catch (...) {
    return 0;
  }
}

__attribute__((visibility("default"))) HSE_DWORD HttpExtensionProc(EXTENSION_CONTROL_BLOCK* pECB) {
  try {
    EnsureModule();
    return IsapiHttpExtensionProc(pECB);
  } catch (...) {
    return HSE_STATUS_ERROR;
  }
}

__attribute__((visibility("default"))) HSE_BOOL TerminateExtension(HSE_DWORD dwFlags) {
  try {
    EnsureModule();
    return IsapiTerminateExtension(dwFlags);
  } catch (...) {
    return 1;
  }
}

__attribute__((visibility("default"))) HSE_BOOL GetFilterVersion(HTTP_FILTER_VERSION* pVer) {
  try {
    EnsureModule();
    return IsapiGetFilterVersion(pVer);
  } catch (...) {
    return 1;
  }
}

__attribute__((visibility("default"))) HSE_DWORD HttpFilterProc(HTTP_FILTER_CONTEXT* pfc, HSE_DWORD notificationType,
                                                               void* pvNotification) {
  try {
    EnsureModule();
    return IsapiHttpFilterProc(pfc, notificationType, pvNotification);
  } catch (...) {
    return SF_STATUS_REQ_NEXT_NOTIFICATION;
  }
}

__attribute__((visibility("default"))) int32_t Process(void* tp) {
  try {
    EnsureModule();
    return WsapiProcess(tp);
  } catch (...) {
    return 0;
  }
}
}
