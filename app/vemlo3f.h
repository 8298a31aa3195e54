// The application module: the gateway engine component, the query
// components and every operation of the application as a method. The
// methods are defined by subsystem: app/ (driver, parameters, log, text
// helpers), data/ (database, look-ups, search), render/ (template processor,
// sections, page frame, tabs, page control tags) and tags/ (field tags).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/RequestState.h"
#include "data/Query.h"
#include "gateway/GenEng.h"

struct TSida;
struct TBlockBit;

class TForm1 : public TComponent {
public:
  // `serveRequest` false builds a module that does not start a request of its
  // own (a module for one thread of a resident server or a loaded library).
  explicit TForm1(bool serveRequest = true);
  ~TForm1() override;

  std::string Caption = "S\xF6k och visa kund";

  std::unique_ptr<TGeneralHttpEngine> GeneralHttpEngine1;
  TQuery q_dbqv{"q_dbqv"};
  TQuery q_dbqv2{"q_dbqv2"};
  TQuery q_temp{"q_temp"};
  TQuery q_sprk{"q_sprk"};
  TQuery q_kund{"q_kund"};

  // ------------------------------------------------------------ request driver
  // The module that serves requests on the calling thread: this one on the
  // thread that created it, else a module of the thread's own (created on
  // its first request, released when the thread ends). Requests that run at
  // the same time never share query components.
  TForm1& ThreadModule();
  void GeneralHttpEngine1ExecRequest(TComponent* sender);
  void GeneralHttpEngine1LastExecRequest(TComponent* sender);
  // The driver's error page for a failed request.
  void SkrivFelsida(const Exception& e);

  // ------------------------------------------------------------ parameters
  std::string HamtaParmStr(const std::string& name);
  int32_t HamtaParmInt(const std::string& name);
  double HamtaParmExt(const std::string& name);  // of the readers' family; nothing calls it yet
  void HamtaFormparametrar();

  // ------------------------------------------------------------ request log
  void InitieraLogfil();
  void AvslutaLogfil();
  // One line of the request log, with its line end; raises EInOutError.
  void SkrivLogg(const std::string& line);

  // ------------------------------------------------------------ text helpers
  std::string br(const std::string& s);
  // s = br(s) + mer, without building the text again.
  void brLaggTill(std::string& s, std::string_view mer);
  std::string br2(const std::string& s);
  std::string cr(const std::string& s);
  std::string hr(const std::string& s);
  std::string komma(const std::string& s);
  std::string och(const std::string& s);
  std::string eller(const std::string& s);
  std::string parentes(const std::string& s);
  std::string InledVersal(const std::string& s);
  // RensaBlanka, BytBlanka, Ersatt and PutAAOnbsp belong to the helpers'
  // family; no tag of this application calls them.
  std::string RensaBlanka(const std::string& s);
  std::string BytBlanka(const std::string& s);
  std::string Ersatt(const std::string& s, const std::string& fran, const std::string& till);
  void PutAAO(const std::string& s);
  void PutAAOnbsp(const std::string& s);
  std::string Radbryt(std::string s, int forsta, int ovriga);
  std::vector<std::string> DelaUppString(const std::string& s, const std::string& avgransare);
  int ForstaAvgransare(const std::string& s, const std::string& avgransare);
  std::string ExtToStr(double x);
  int DaysInMonth(TDateTime date);

  // ------------------------------------------------------------ database
  void InitieraDatabas();
  std::string FixaTabellnamn(const std::string& name);
  // `lines` as the statement shows them inside HTML (SqlStatement::Lines).
  void VisaSQL(const std::vector<std::string>& lines);
  // The query pattern: close, the statement in place of the old one, echo
  // when Debug is set, open, first row.
  void OppnaFraga(TQuery& q, SqlStatement statement);
  // A statement that names its tables as the connection line asks, begun
  // with its columns and its first table (and that table's alias).
  SqlStatement NyFraga(const std::string& kolumner, const std::string& tabell, const std::string& alias = {});
  std::string HamtaText(const std::string& textS, int antal = 0);
  // Any other look-up of the site's fixed tables (not of customers' data),
  // remembered under `nyckel` by the same rules as the page texts; `fraga`
  // runs its statement on `q` when the answer is not known.
  std::string Uppslag(TQuery& q, const std::string& nyckel, const std::function<std::string()>& fraga);
  std::string HamtaForknamn(const std::string& tabell, const std::string& falt, const std::string& koder,
                            const std::string& avskiljare);
  std::string HamtaForknamn1(const std::string& tabell, const std::string& falt, const std::string& kod);
  // The statements behind the three look-ups (their results are remembered
  // while their database is unchanged, see Uppslag.cpp).
  std::string HamtaTextFraga(const std::string& textS, int antal);
  std::string HamtaForknamnFraga(const std::string& tabell, const std::string& falt, const std::string& koder,
                                 const std::string& avskiljare);
  std::string HamtaForknamn1Fraga(const std::string& tabell, const std::string& falt, const std::string& kod);
  void Sok();
  void SokKund(const std::string& kundid);
  void SokKonferensakuten(const std::string& kundid, TDateTime fran);
  // The request's area as alternatives joined with OR: its municipalities
  // (county and municipality code, or with `baraLan` the county alone), else
  // its area codes (a county or, unless `baraLan`, a region). `tabell`
  // qualifies the county and municipality columns. True when a region is
  // among them.
  bool Omradesvillkor(SqlStatement& v, const std::string& tabell, bool baraLan);

  // Look-ups of the sections and tags, each opened in q_temp.
  // The customer's news items of a category shown on `dag`.
  void FragaNyheter(const std::string& kundid, const std::string& kategori, TDateTime dag);
  // A municipality's row (its budget flag).
  void FragaKommun(const std::string& lankod, const std::string& kommkod);
  // An operator parameter of a type by its name.
  void FragaParameter(const std::string& parmtyp, const std::string& parmnamn);
  // A county's names by its code; all counties of the request's area.
  void FragaLan(const std::string& lankod);
  void FragaLanen();
  // The counties and municipalities of the request's area.
  void FragaKommunerna();
  // Columns of another customer's row.
  void FragaKundkolumner(const std::string& kolumner, const std::string& kundid);
  // A customer's offers of one kind (`prefix`: table name and column
  // prefix) whose period covers `dag`; the lines of the period start with
  // `fom` and `tom`, and without `fom` only the period's end is tested.
  void FragaErbjudanden(const std::string& prefix, const char* kolumner, const char* fom, const char* tom,
                        const std::string& kundid, TDateTime dag);

  // ------------------------------------------------------------ page
  void SkrivUppgift();
  // Template lookup; raises EInOutError when no template exists.
  std::string MallFil();
  // The frame pass's handler of one piece, and its output path.
  void RamBit(TSida& sida, std::string bit);
  // A piece that RamKlassad has classified already; with `blockSparat` the
  // block's pieces are only counted (the template's kept block serves).
  void RamDel(TSida& sida, const TBlockBit& b, bool blockSparat);
  void Skicka(TSida& sida, const std::string& text);
  void KUNDLISTA(TSida& sida);
  // The section flags, look-ups and tab rows of the current customer.
  void BeraknaSektioner(TSida& sida);
  // True when the customer of the current search row has a news item of the
  // category shown on the request's day.
  bool NyhetFinns(const std::string& kategori);
  void ByggFlikar(TSida& sida);
  void Blockpass(TSida& sida);
  // Every customer of the search result: fetched, its sections and tabs
  // computed, the block rendered.
  void Kundloop(TSida& sida);

  // ------------------------------------------------------------ tag building blocks
  // Field text, number, integer and date of the current customer in q_kund.
  std::string FaltText(std::string_view falt);
  double FaltTal(std::string_view falt);
  int32_t FaltHeltal(std::string_view falt);
  TDateTime FaltDatum(std::string_view falt);
  // Code list of table T, field F: the names of the codes in field F,
  // in the request's language, joined by the separator.
  std::string Kodlista(const std::string& tabell, const std::string& falt, const std::string& avskiljare);
  // Labelled section: adds "<b>" + label in the request's language + ":</b><br>"
  // + body to the accumulator (after a "<br>" when it is not empty).
  void RubrikSektion(std::string& ackumulator, const std::string& rubrik, const std::string& innehall);
  // Language-selected field name: the base name for Swedish, base + "Eng"
  // for English, base + "Ty" for German.
  std::string SprakFalt(const std::string& bas);
  // This year as four digits.
  std::string DettaAr();
  // The empty fallback of table cells.
  // Taken by value: a text made for it is passed on, not copied.
  static std::string Nbsp(std::string s) {
    if (s.empty()) return "&nbsp;";
    return s;
  }

  // ------------------------------------------------------------ tags
#include "app/TagMethods.inc"

  TQuery* AllQueries[5] = {&q_dbqv, &q_dbqv2, &q_temp, &q_sprk, &q_kund};

private:
  std::thread::id ownerThread_ = std::this_thread::get_id();
};

// The engine mode that the operator has chosen: the environment variable
// VEMLO3_CGIMODE, else the line "CGIMode=" of vemlo3.conf in the working
// directory; "NormalMode" (one process per request, the default),
// "ServerMode" or "ServerThreadMode" (a resident server serves the requests,
// one by one or each on its own thread).
TCGIMode OperatorCGIMode();

// Makes a text safe inside an HTML comment: no "--" can end it early.
std::string CommentSafe(std::string s);
// A request value in the request log or the error page's comment: control
// characters would start lines or sections of their own, so they become
// blanks.
std::string LogSafe(std::string s);
// The text as PutAAO writes it: the letters that pages carry as HTML
// entities (å, ä, ö, é and their kin) replaced by their entities.
std::string Entitetstext(std::string_view s);

// The module of the process (the one the program created at start-up).
extern TForm1* Form1;
