// The web servers' extension interfaces as the program meets them when a
// server loads it as a library: the ISAPI extension control block, version
// structures and filter context (laid out as the ISAPI interface defines
// them, with fixed-width types for DWORD, BOOL and the pointers), and the
// WSAPI host functions that the program binds by name at run time.
#pragma once

#include <cstdint>

extern "C" {

// ---------------------------------------------------------------- ISAPI

typedef uint32_t HSE_DWORD;
typedef int32_t HSE_BOOL;
typedef void* HCONN;

enum : uint32_t {
  HSE_VERSION_MAJOR = 2,
  HSE_VERSION_MINOR = 0,
  HSE_LOG_BUFFER_LEN = 80,
  HSE_MAX_EXT_DLL_NAME_LEN = 256,

  HSE_STATUS_SUCCESS = 1,
  HSE_STATUS_SUCCESS_AND_KEEP_CONN = 2,
  HSE_STATUS_PENDING = 3,
  HSE_STATUS_ERROR = 4,

  HSE_REQ_SEND_URL_REDIRECT_RESP = 1,
  HSE_REQ_SEND_URL = 2,
  HSE_REQ_SEND_RESPONSE_HEADER = 3,
  HSE_REQ_DONE_WITH_SESSION = 4,

  HSE_TERM_ADVISORY_UNLOAD = 1,
  HSE_TERM_MUST_UNLOAD = 2,

  HSE_IO_SYNC = 1,
};

// A version number: major version in the high word, minor in the low word.
constexpr uint32_t HseMakeVersion(uint32_t major, uint32_t minor) { return (major << 16) | (minor & 0xFFFF); }

struct HSE_VERSION_INFO {
  HSE_DWORD dwExtensionVersion;
  char lpszExtensionDesc[HSE_MAX_EXT_DLL_NAME_LEN];
};

struct EXTENSION_CONTROL_BLOCK {
  HSE_DWORD cbSize;
  HSE_DWORD dwVersion;
  HCONN ConnID;
  HSE_DWORD dwHttpStatusCode;
  char lpszLogData[HSE_LOG_BUFFER_LEN];
  char* lpszMethod;
  char* lpszQueryString;
  char* lpszPathInfo;
  char* lpszPathTranslated;
  HSE_DWORD cbTotalBytes;  // the body's length as the client announced it
  HSE_DWORD cbAvailable;   // bytes of it already read by the server
  uint8_t* lpbData;        // those bytes
  char* lpszContentType;
  HSE_BOOL (*GetServerVariable)(HCONN hConn, char* lpszVariableName, void* lpvBuffer, HSE_DWORD* lpdwSize);
  HSE_BOOL (*WriteClient)(HCONN ConnID, void* Buffer, HSE_DWORD* lpdwBytes, HSE_DWORD dwReserved);
  HSE_BOOL (*ReadClient)(HCONN ConnID, void* lpvBuffer, HSE_DWORD* lpdwSize);
  HSE_BOOL (*ServerSupportFunction)(HCONN hConn, HSE_DWORD dwHSERequest, void* lpvBuffer, HSE_DWORD* lpdwSize,
                                    HSE_DWORD* lpdwDataType);
};

// Filters.
enum : uint32_t {
  SF_MAX_FILTER_DESC_LEN = 257,
  SF_STATUS_REQ_FINISHED = 0x8000000,
  SF_STATUS_REQ_FINISHED_KEEP_CONN = 0x8000001,
  SF_STATUS_REQ_NEXT_NOTIFICATION = 0x8000002,
  SF_STATUS_REQ_HANDLED_NOTIFICATION = 0x8000003,
  SF_STATUS_REQ_ERROR = 0x8000004,
  SF_STATUS_REQ_READ_NEXT = 0x8000005,
};

struct HTTP_FILTER_VERSION {
  HSE_DWORD dwServerFilterVersion;
  HSE_DWORD dwFilterVersion;
  char lpszFilterDesc[SF_MAX_FILTER_DESC_LEN];
  HSE_DWORD dwFlags;
};

struct HTTP_FILTER_CONTEXT {
  HSE_DWORD cbSize;
  HSE_DWORD Revision;
  void* ServerContext;
  HSE_DWORD ulReserved;
  HSE_BOOL fIsSecurePort;
  void* pFilterContext;
  HSE_BOOL (*GetServerVariable)(HTTP_FILTER_CONTEXT* pfc, char* lpszVariableName, void* lpvBuffer,
                                HSE_DWORD* lpdwSize);
  HSE_BOOL (*AddResponseHeaders)(HTTP_FILTER_CONTEXT* pfc, char* lpszHeaders, HSE_DWORD dwReserved);
  HSE_BOOL (*WriteClient)(HTTP_FILTER_CONTEXT* pfc, void* Buffer, HSE_DWORD* lpdwBytes, HSE_DWORD dwReserved);
  void* (*AllocMem)(HTTP_FILTER_CONTEXT* pfc, HSE_DWORD cbSize, HSE_DWORD dwReserved);
  HSE_BOOL (*ServerSupportFunction)(HTTP_FILTER_CONTEXT* pfc, int32_t sfReq, void* pData, uintptr_t ul1,
                                    uintptr_t ul2);
};

// The exported entry points.
HSE_BOOL GetExtensionVersion(HSE_VERSION_INFO* pVer);
HSE_DWORD HttpExtensionProc(EXTENSION_CONTROL_BLOCK* pECB);
HSE_BOOL TerminateExtension(HSE_DWORD dwFlags);
HSE_BOOL GetFilterVersion(HTTP_FILTER_VERSION* pVer);
HSE_DWORD HttpFilterProc(HTTP_FILTER_CONTEXT* pfc, HSE_DWORD notificationType, void* pvNotification);

// ---------------------------------------------------------------- WSAPI
//
// The WSAPI server exports its support functions; the program finds them by
// name in the host process (or in a module handle the host names) when its
// entry point is first called. The server's transaction context is opaque
// to the program: it is only handed back to the support functions.
//
//   bind_wsapi(major, minor, strict)            -> nonzero when compatible
//   get_server_variable(tp, name, buf, size)     -> nonzero when the variable
//                                                   exists; buf gets the value
//                                                   NUL-terminated
//   nread(tp, buf, size)                         -> bytes read, 0 at the end,
//                                                   negative on failure
//   nwrite(tp, buf, size)                        -> bytes written, negative on
//                                                   failure
//   nflush(tp)                                   -> sends what is buffered
//   send_http_header(tp, do_xhdr)                -> the server's own header
//                                                   block (status line and
//                                                   server headers); with
//                                                   do_xhdr nonzero it stays
//                                                   open for the extension's
//                                                   lines, which follow
//                                                   through nwrite up to the
//                                                   empty line

typedef int32_t (*WsapiBindFn)(uint16_t major, uint16_t minor, int32_t strict);
typedef int32_t (*WsapiGetVariableFn)(void* tp, const char* name, char* buf, uint32_t size);
typedef int32_t (*WsapiReadFn)(void* tp, char* buf, uint32_t size);
typedef int32_t (*WsapiWriteFn)(void* tp, const char* buf, uint32_t size);
typedef void (*WsapiFlushFn)(void* tp);
typedef void (*WsapiSendHeaderFn)(void* tp, int32_t doExtraHeaders);

// The WSAPI entry point: serves the request of the transaction context.
int32_t Process(void* tp);
}
