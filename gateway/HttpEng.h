// The gateway engine core: the engine base class with its published
// properties and events, the per-request engine state, the request cycle,
// the response output and the request input (server variables and form
// fields), and the unit-level functions that the application calls.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gateway/HDateTime.h"
#include "gateway/HStream.h"
#include "gateway/HUtils.h"

class THttpEngine;
class TCGISessionVariables;

// ---------------------------------------------------------------- process

// Base of objects handed around by class name (session objects).
class TObject {
public:
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }
};

// A component: owned by another component, told when its owner has loaded
// its settings.
class TComponent : public TObject {
public:
  explicit TComponent(TComponent* owner = nullptr) : Owner(owner) {}
  TComponent* Owner;
  virtual void Loaded() {}
};

// How the process runs: as a program (the usual CGI case) or as a library
// loaded by a web server. The program is a windowed application in the
// engine's sense (requests are served from the application module), never a
// console program.
struct ProcessKind {
  static bool IsLibrary;
  static bool IsConsole;
};

// Thrown instead of ending the process when a halt handler is installed
// (tests); it is not an Exception, so no guard of the engine swallows it.
struct EHalt {
  int ExitCode;
};
// Ends the process with the exit code, or runs the installed handler.
[[noreturn]] void HaltProcess(int exitCode);
void SetHaltHandler(std::function<void(int)> handler);

// ---------------------------------------------------------------- settings

enum class TCGIMode { NormalMode, ServerMode, ServerThreadMode };
enum class TDebugMode { NoDebug, DebugException, DebugAlways };
enum class TSessionType { sPrivateCookie, sPrivateAuth, sGlobal };
enum class TSessionVisibility { ThisApplication, AllApplications };

// The built-in default encryption key of the session files.
extern const char* const DefaultEncryptionKey;

class TAllowedMethods {
public:
  explicit TAllowedMethods(THttpEngine* owner) : owner_(owner) {}
  bool Get() const { return get_; }
  bool Post() const { return post_; }
  bool Put() const { return put_; }
  void SetGet(bool v);
  void SetPost(bool v);
  void SetPut(bool v);

private:
  THttpEngine* owner_;
  bool put_ = false, get_ = true, post_ = true;
};

class TSessionProperties {
public:
  explicit TSessionProperties(THttpEngine* owner);
  const std::string& SessionName() const { return sessionName_; }
  const std::string& EncryptionKey() const { return encryptionKey_; }
  TSessionType SessionType() const { return sessionType_; }
  bool FileBased() const { return fileBased_; }
  TSessionVisibility Visibility() const { return visibility_; }
  void SetSessionName(const std::string& v);
  void SetEncryptionKey(const std::string& v);
  void SetSessionType(TSessionType v);
  void SetFileBased(bool v);
  void SetVisibility(TSessionVisibility v);

private:
  THttpEngine* owner_;
  std::string sessionName_ = "Default";
  std::string encryptionKey_;
  TSessionType sessionType_ = TSessionType::sPrivateCookie;
  bool fileBased_ = true;
  TSessionVisibility visibility_ = TSessionVisibility::AllApplications;
};

// ---------------------------------------------------------------- events

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TRequestErrorEvent = std::function<void(TComponent* sender, Exception& errorReason)>;
using TUploadPrepareFileEvent = std::function<void(TComponent* sender, TStringList& contentInfo, TStream*& outStream,
                                                   bool& freeOutStream, bool& cancelUpload)>;
using TRemoveSessionObjectEvent =
    std::function<void(TComponent* sender, const std::string& className, TObject* value)>;
using TBeforeResponseEvent = std::function<void(TComponent* sender, TStringList& headers, TMemoryStream& output)>;

// ---------------------------------------------------------------- request state

struct EngineRequestState {
  TStream* InputStream = nullptr;
  TStream* OutputStream = nullptr;
  std::unique_ptr<TMemoryStream> DebugInput;
  std::unique_ptr<TMemoryStream> UserLog;
  std::unique_ptr<TStringList> ServerVariables;
  std::unique_ptr<TStringList> FormFields;
  std::unique_ptr<TStringList> TempFiles;
  std::unique_ptr<TMemoryStream> OutputBuffer;
  std::unique_ptr<TStringList> Headers;
  bool HeadersSent = false;
  bool BodySent = false;
  int RequestNumber = 0;
  int DebugDumpPending = 0;
  TCGISessionVariables* Session = nullptr;
  // Streams whose ownership RunRequest took.
  std::unique_ptr<TStream> OwnedInput;
  std::unique_ptr<TStream> OwnedOutput;
};

// The calling thread's engine request state.
EngineRequestState& ERS();

// ---------------------------------------------------------------- engine

class THttpEngine : public TComponent {
public:
  explicit THttpEngine(TComponent* owner = nullptr);
  ~THttpEngine() override;
  std::string ClassName() const override { return "THttpEngine"; }

  // Published properties.
  TAllowedMethods AllowedMethods{this};
  TSessionProperties CGISession{this};
  const std::string& AutoContentType() const { return autoContentType_; }
  bool AutoReadInput() const { return autoReadInput_; }
  int32_t AutoReadLimit() const { return autoReadLimit_; }
  bool AutoHttpHeader() const { return autoHttpHeader_; }
  TCGIMode CGIMode() const { return cgiMode_; }
  TDebugMode DebugMode() const { return debugMode_; }
  bool NoCache() const { return noCache_; }
  const std::string& TempDir() const { return tempDir_; }
  std::string Version() const { return "7.0.1"; }
  void SetVersion(const std::string&) {}
  const std::string& SessionName() const { return CGISession.SessionName(); }
  bool TrimFormValues() const { return trimFormValues_; }
  bool BufferedOutput() const { return true; }

  const TRemoveSessionObjectEvent& OnRemoveSessionObject() const { return onRemoveSessionObject_; }
  const TNotifyEvent& OnExecRequest() const { return onExecRequest_; }
  const TNotifyEvent& OnFirstExecRequest() const { return onFirstExecRequest_; }
  const TNotifyEvent& OnLastExecRequest() const { return onLastExecRequest_; }
  const TNotifyEvent& OnPrepareRequest() const { return onPrepareRequest_; }
  const TRequestErrorEvent& OnRequestError() const { return onRequestError_; }
  const TUploadPrepareFileEvent& OnUploadPrepareFile() const { return onUploadPrepareFile_; }
  const TBeforeResponseEvent& OnBeforeResponse() const { return onBeforeResponse_; }

  // Property setters, in slot order. Each stores its value and, when the
  // current engine is another object, sets the same value there.
  virtual void SetOnBeforeResponse(TBeforeResponseEvent v);
  virtual void SetOnExecRequest(TNotifyEvent v);
  virtual void SetOnFirstExecRequest(TNotifyEvent v);
  virtual void SetOnLastExecRequest(TNotifyEvent v);
  virtual void SetOnPrepareRequest(TNotifyEvent v);
  virtual void SetOnRequestError(TRequestErrorEvent v);
  virtual void SetOnUploadPrepareFile(TUploadPrepareFileEvent v);  // stored only
  virtual void SetOnRemoveSessionObject(TRemoveSessionObjectEvent v);
  virtual void SetAutoContentType(const std::string& v);
  virtual void SetAutoHttpHeader(bool v);
  virtual void SetAutoReadInput(bool v);
  virtual void SetTrimFormValues(bool v);
  virtual void SetAutoReadLimit(int32_t v);
  virtual void SetCGIMode(TCGIMode v);
  virtual void SetDebugMode(TDebugMode v);
  virtual void SetNoCache(bool v);
  virtual void SetTempDir(const std::string& v);
  virtual void SetSessionName(const std::string& v);
  virtual void SetBufferedOutput(bool v);  // always buffered

  // Engine operations.
  virtual void WriteHeaderLine(const std::string& name, const std::string& value) = 0;
  virtual void EndHeaders() = 0;
  virtual void BeforeRequest() {}
  virtual std::string GetRawVariable(const std::string& name);
  virtual void EndRequest();

  // The typed readers of the engine's interface; this application reads
  // only some of them (the others are kept for the interface's users).
  std::string ServerSoftware();
  std::string GatewayInterface();
  std::string ServerProtocol();
  std::string ServerPort();
  bool ServerPortSecure();
  std::string RequestMethod();
  std::string PathInfo();
  std::string PathTranslated();
  std::string ScriptName();
  std::string QueryString();
  std::string RemoteHost();
  std::string RemoteAddr();
  std::string AuthType();
  std::string RemoteUser();
  std::string RemoteIdent();
  std::string ContentType();
  int32_t ContentLength();
  std::string Url();
  std::string UserAgent();
  std::string HttpCookie();
  std::string HttpReferer();
  std::string ExecutablePath();

  virtual void RunConsole() {}
  virtual void Flush();
  virtual void ClearOutput();
  virtual void SetHeader(const std::string& name, const std::string& value);
  // Kept for the engine's interface; this application does not call it.
  virtual void SendFileHeaders(std::string contentType, std::string fileName);
  virtual void Write(std::string_view text);
  virtual void WriteLn(std::string_view text);
  // Kept for the engine's interface; this application does not call it.
  virtual void WriteStream(TStream& stream);
  virtual void WriteBuffer(const void* bytes, int64_t count);
  virtual int64_t ReadClient(void* bytes, int64_t count);
  virtual std::string GetServerVariable(const std::string& name);
  virtual std::string GetFormField(const std::string& name, const std::string& def);
  virtual void Terminate();
  // Kept for the engine's interface; this application does not call it.
  std::unique_ptr<TStringList> GetFormFields();

  std::string BrowserFamily();
  bool AcceptsWml();
  bool OutputIsWml();

  // The error page of a failed request.
  void HandleRequestException(Exception& e);
  void FailRequest(Exception& e);
  void EngineErrorPage(Exception& e);
  // The request cycle; takes ownership of both streams and the variables.
  void RunRequest(TStream* input, TStream* output, std::unique_ptr<TStringList> variables);
  // Reads and decodes the request input into the form fields.
  void ReadInput();
  // The engine's default file handler for uploads.
  void StoreUploadFile(TComponent* sender, TStringList& contentInfo, TStream*& outStream, bool& freeOutStream,
                       bool& cancelUpload);

protected:
  // True for the stdio and file based CGI engines.
  virtual bool IsCGIEngine() const { return false; }
  // True for a CGI engine that ends the process after its request.
  virtual bool AutoTerminates() const { return false; }

  std::string autoContentType_ = "text/html";
  bool autoReadInput_ = true;
  int32_t autoReadLimit_ = 0;
  bool autoHttpHeader_ = true;
  TCGIMode cgiMode_ = TCGIMode::NormalMode;
  TDebugMode debugMode_ = TDebugMode::NoDebug;
  bool noCache_ = false;
  std::string tempDir_ = "Temp";
  bool trimFormValues_ = true;
  TRemoveSessionObjectEvent onRemoveSessionObject_;
  TNotifyEvent onExecRequest_, onFirstExecRequest_, onLastExecRequest_, onPrepareRequest_;
  TRequestErrorEvent onRequestError_;
  TUploadPrepareFileEvent onUploadPrepareFile_;
  TBeforeResponseEvent onBeforeResponse_;

  // The other engine that a setter mirrors to, or null.
  THttpEngine* MirrorTarget();

  friend class TAllowedMethods;
  friend class TSessionProperties;
};

// The process's current engine.
extern std::atomic<THttpEngine*> CurrentEngine;
// The engine of the request that runs on the calling thread, else the
// current engine. The unit-level functions act on it.
THttpEngine* ActiveEngine();

// ---------------------------------------------------------------- unit functions

void HttpWrite(std::string_view text);
void HttpWriteLn(std::string_view text);
std::string HttpServerVariable(const std::string& name);
std::string HttpFormField(const std::string& name, const std::string& def);
std::string HttpRemoteAddr();
std::string HttpRemoteHost();
std::string HttpExecutablePath();
void HttpFlush();
std::string HttpUrlEncode(std::string_view text);
std::string HttpUrlDecode(std::string_view text);
std::string HttpHtmlEncode(std::string_view text);
std::unique_ptr<TStringList> HttpSplitLines(std::string_view text);
std::string HttpGmtDate(TDateTime dt);

// Parses form-encoded text (ending in "&") into the sorted field list, joining
// the values of repeated names with CR LF.
void ParseFormText(std::string_view text, TStringList& fields);
// Adds a field with the joining rule: a name that already has a value gets
// one entry whose value is the old value, CR LF and the new value.
void AddFormField(TStringList& fields, const std::string& name, const std::string& value);

// The decimal length of a CONTENT_LENGTH text, 0 when it is no number;
// saturated instead of wrapping.
int64_t AnnouncedLength(std::string_view text);

// Stops the body-read watchdog (end of process).
void StopWatchdog();

// Seeds the engine's random generator from the clock; draws 0..n-1.
int EngineRandom(int n);
