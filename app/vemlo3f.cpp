// The application module and the request driver.
#include "app/vemlo3f.h"

#include <algorithm>

#include "app/Config.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(bool serveRequest) : TComponent(nullptr) {
  if (!Form1) Form1 = this;
  RS().Form1 = this;
  if (!serveRequest) return;

  GeneralHttpEngine1 = std::make_unique<TGeneralHttpEngine>(this);
  TGeneralHttpEngine& e = *GeneralHttpEngine1;
  e.AllowedMethods.SetGet(true);
  e.AllowedMethods.SetPut(false);
  e.AllowedMethods.SetPost(true);
  e.SetAutoContentType("text/html");
  // The operator's body limit; a request that announces more gets the
  // engine's error page before its body is read.
  e.SetAutoReadLimit(static_cast<int32_t>(std::min<int64_t>(Config().MaxBody, INT32_MAX)));
  e.SetCGIMode(OperatorCGIMode());
  e.SetDebugMode(TDebugMode::NoDebug);
  e.SetNoCache(false);
  e.SetTempDir("Temp");
  e.CGISession.SetSessionName("Default");
  e.CGISession.SetSessionType(TSessionType::sPrivateCookie);
  e.CGISession.SetFileBased(true);
  e.CGISession.SetVisibility(TSessionVisibility::AllApplications);
  e.CGISession.SetEncryptionKey(DefaultEncryptionKey);
  e.SetSessionName("Default");
  e.SetOnExecRequest([this](TComponent* s) { ThreadModule().GeneralHttpEngine1ExecRequest(s); });
  // A thread's own module closes its queries when the thread ends.
  e.SetOnLastExecRequest([this](TComponent* s) {
    if (std::this_thread::get_id() == ownerThread_) GeneralHttpEngine1LastExecRequest(s);
  });
  e.SetBufferedOutput(true);
  e.SetCGIAutoTerminate(true);
  e.Loaded();
  // The module is complete: under standard CGI the request runs now.
  e.OwnerCreated();
}

TForm1::~TForm1() {
  if (RS().Form1 == this) RS().Form1 = nullptr;
  if (Form1 == this) Form1 = nullptr;
}

TForm1& TForm1::ThreadModule() {
  if (std::this_thread::get_id() == ownerThread_) return *this;
  struct Holder {
    std::unique_ptr<TForm1> module;
    ~Holder() {
      if (module) module->GeneralHttpEngine1LastExecRequest(nullptr);
    }
  };
  // The module's last act at the end of its thread closes the thread's
  // database connections, so they must still exist then: thread-local
  // objects end in the reverse order of their creation, and the connection
  // cache is set up first.
  static thread_local bool connectionsFirst = (CloseDatabaseConnections(), true);
  static thread_local Holder holder;
  (void)connectionsFirst;
  if (!holder.module) holder.module = std::make_unique<TForm1>(false);
  return *holder.module;
}

TCGIMode OperatorCGIMode() {
  std::string value = Trim(GetEnv("VEMLO3_CGIMODE"));
  if (value.empty()) value = Config().CGIMode;
  value = LowerCase(value);
  if (value == "servermode" || value == "server") return TCGIMode::ServerMode;
  if (value == "serverthreadmode" || value == "thread" || value == "serverthread") return TCGIMode::ServerThreadMode;
  return TCGIMode::NormalMode;
}

void TForm1::GeneralHttpEngine1ExecRequest(TComponent*) {
  // A thread serves many visitors in turn: every request starts from a fresh
  // state, set back as a whole. A log that a failed request left open is
  // closed with it.
  TRequestState& rs = NewRequestState();
  rs.Form1 = this;
  try {
    rs.Starttid = Now();
    // What earlier requests left warm is checked against its sources.
    NewRequestForLookups();
    RefreshConfig();
    Randomize();
    rs.AnropsId = HttpRemoteAddr() + "-" + IntToStr(Random(10000) + 10000);
    InitieraDatabas();
    HamtaFormparametrar();
    InitieraLogfil();
    if (!rs.FelaktigtAnrop) Sok();
    SkrivUppgift();
    AvslutaLogfil();
  } catch (const Exception& e) {
    SkrivFelsida(e);
  } catch (const std::exception& e) {
    SkrivFelsida(Exception(e.what()));
  }
  EndRequestOnConnections();
}

void TForm1::GeneralHttpEngine1LastExecRequest(TComponent*) {
  for (TQuery* q : AllQueries) q->Close();
  CloseDatabaseConnections();
}

std::string CommentSafe(std::string s) {
  while (Contains(s, "--")) s = ReplaceAll(s, "--", "- -");
  return s;
}

void TForm1::SkrivFelsida(const Exception& e) {
  TRequestState& rs = RS();
  // The log of a failed request ends without its closing section.
  rs.Logfil.Close();
  const SiteConfig& c = Config();
  std::string page =
      "<html><body><h2>Fel i programmet</h2>Det har uppst\xE5tt ett fel vid k\xF6rningen av detta program.<br>"
      "V\xE4nta en stund och prova igen.<br>Om felet \xE5terkommer ber vi dig kontakta <a href=\"mailto:" +
      c.SupportEpost + "\">" + c.SupportEpost + "</a>, eller ringa " + c.SupportTelefon + "." + "\r\n<!--\r\n" +
      "Message=" + CommentSafe(LogSafe(e.Message)) + "\r\n" + "HelpContext=" + IntToStr(e.HelpContext) + "\r\n" + "-->\r\n" +
      "</body></html>";
  try {
    PutAAO(page);
  } catch (const std::exception&) {
  }
}
