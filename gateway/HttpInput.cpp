// Request input: server variables with their aliases, basic authorisation,
// form fields, reading the body under the allowed-method rules, the form and
// HTML encodings, and browser and WAP detection.
#include "gateway/FormFieldTable.h"
#include "gateway/HFileUp.h"
#include "gateway/HttpEng.h"

namespace {
struct AliasGroup {
  std::initializer_list<const char*> asked;
  std::initializer_list<const char*> tried;
  int auth;  // 1: then the user of HTTP_AUTHORIZATION, 2: its password
};

const AliasGroup kAliases[] = {
    {{"EXECUTABLE_PATH", "SCRIPT_NAME", "URL", "URI", "HTTP_URL"},
     {"SCRIPT_NAME", "EXECUTABLE_PATH", "URL", "HTTP_URL", "URI"},
     0},
    {{"QUERY_STRING", "QUERY"}, {"QUERY_STRING", "QUERY"}, 0},
    {{"SERVER_SOFTWARE", "SERVER_NAME"}, {"SERVER_SOFTWARE", "SERVER_NAME"}, 0},
    {{"REMOTE_ADDR", "REMOTE_ADDRESS", "IP"}, {"REMOTE_ADDR", "REMOTE_ADDRESS", "IP"}, 0},
    {{"REQUEST_METHOD", "METHOD"}, {"REQUEST_METHOD", "METHOD"}, 0},
    {{"REMOTE_HOST", "HOST", "DNS"}, {"REMOTE_HOST", "HOST", "DNS"}, 0},
    {{"AUTH_TYPE", "AUTHETICATION_METHOD"}, {"AUTH_TYPE", "AUTHETICATION_METHOD"}, 0},
    {{"HTTP_USER_AGENT", "USER_AGENT"}, {"USER_AGENT", "HTTP_USER_AGENT"}, 0},
    {{"HTTP_REFERER", "REFERER"}, {"REFERER", "HTTP_REFERER"}, 0},
    {{"SERVER_PROTOCOL", "REQUEST_PROTOCOL", "PROTOCOL"}, {"SERVER_PROTOCOL", "REQUEST_PROTOCOL", "PROTOCOL"}, 0},
    {{"HTTP_COOKIE", "COOKIE"}, {"HTTP_COOKIE", "COOKIE"}, 0},
    {{"DOCUMENT_ROOT", "PATH_TRANSLATED", "PATH"}, {"DOCUMENT_ROOT", "PATH_TRANSLATED", "PATH"}, 0},
    {{"AUTH_USER", "AUTHENTICATED_USERNAME"}, {"AUTH_USER", "AUTHENTICATED_USERNAME"}, 1},
    {{"AUTH_PASSWORD", "AUTHENTICATED_PASSWORD"}, {"AUTH_PASSWORD", "AUTHENTICATED_PASSWORD"}, 2},
};

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return 0;  // "=" and any other character: six zero bits
}

// User (part 1) or password (part 2) of a basic authorisation header.
std::string DecodeBasicAuth(const std::string& header, int part) {
  size_t blank = header.find(' ');
  std::string code = blank == std::string::npos ? header : header.substr(blank + 1);
  if (code.size() > 1032) code.resize(1032);
  std::string plain;
  uint32_t acc = 0;
  int n = 0;
  for (char c : code) {
    acc = (acc << 6) | static_cast<uint32_t>(Base64Value(c));
    if (++n == 4) {
      plain += static_cast<char>((acc >> 16) & 0xFF);
      plain += static_cast<char>((acc >> 8) & 0xFF);
      plain += static_cast<char>(acc & 0xFF);
      acc = 0;
      n = 0;
    }
  }
  size_t colon = plain.find(':');
  if (colon == std::string::npos) return std::string();
  if (part == 1) return Trim(plain.substr(0, colon));
  std::string pass = plain.substr(colon + 1);
  if (pass.size() > 1032) pass.resize(1032);
  return Trim(pass);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

// The decimal length of a CONTENT_LENGTH text, 0 when it is no number (as
// the engine's ContentLength reads it); saturated instead of wrapping.
int64_t AnnouncedLength(std::string_view text) {
  std::string t = Trim(text);
  if (t.empty()) return 0;
  int64_t n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return 0;
    n = n > INT64_MAX / 10 - 1 ? INT64_MAX / 10 : n * 10 + (c - '0');
  }
  return n;
}

std::string THttpEngine::GetServerVariable(const std::string& name) {
  std::string norm = UpperCase(name);
  for (auto& c : norm)
    if (c == '-' || c == ' ') c = '_';
  const TStringList* vars = ERS().ServerVariables.get();
  auto lookup = [&](std::string_view n) { return vars ? vars->Value(n) : std::string(); };
  std::string value = lookup(norm);
  if (!value.empty()) return value;
  for (const auto& group : kAliases) {
    bool member = false;
    for (const char* a : group.asked)
      if (norm == a) member = true;
    if (!member) continue;
    for (const char* t : group.tried) {
      value = lookup(t);
      if (!value.empty()) return value;
    }
    if (group.auth) {
      std::string header = GetServerVariable("HTTP_AUTHORIZATION");
      if (!header.empty()) value = DecodeBasicAuth(header, group.auth);
      if (!value.empty()) return value;
    }
    break;
  }
  return GetRawVariable(name);
}

std::string THttpEngine::GetFormField(const std::string& name, const std::string& def) {
  const TStringList* fields = ERS().FormFields.get();
  if (!fields) return def;
  int i = fields->IndexOfName(name);
  std::string value = i < 0 ? std::string() : fields->ValueFromIndex(i);
  if (trimFormValues_) value = Trim(value);
  return value.empty() ? def : value;
}

void THttpEngine::ReadInput() {
  EngineRequestState& r = ERS();
  // Checked before a byte of the body is read. The announced length is read
  // in full, so that one beyond the 32-bit range is refused too.
  const char* const kTooLong = "Content length exceeds allowed limit";
  if (autoReadLimit_ > 0 && AnnouncedLength(GetServerVariable("CONTENT_LENGTH")) > autoReadLimit_)
    throw Exception(kTooLong);
  std::string contentType = UpperCase(ContentType());
  std::string method = UpperCase(RequestMethod());
  if (Contains(contentType, "MULTIPART/FORM-DATA")) {
    if (!AllowedMethods.Put()) throw Exception("Method not allowed (PUT)");
    TUploadPrepareFileEvent handler = onUploadPrepareFile_;
    if (!handler)
      handler = [this](TComponent* s, TStringList& info, TStream*& out, bool& freeOut, bool& cancel) {
        StoreUploadFile(s, info, out, freeOut, cancel);
      };
    ProcessUpload([this](void* b, int64_t n) { return ReadClient(b, n); }, ContentLength(), *r.FormFields, handler,
                  this);
  } else if (method == "POST") {
    if (!AllowedMethods.Post()) throw Exception("Method not allowed (POST)");
    int64_t length = ContentLength();
    if (r.InputStream && r.InputStream->HasKnownSize()) length = r.InputStream->Size() - r.InputStream->Position();
    // A body file (Windows CGI) may hold more than its profile announced.
    if (autoReadLimit_ > 0 && length > autoReadLimit_) throw Exception(kTooLong);
    if (length > 0) {
      // The buffer grows with the bytes that really arrive, never with the
      // length that the client claims.
      std::string body;
      char chunk[16384];
      int64_t remaining = length;
      while (remaining > 0) {
        int64_t n = ReadClient(chunk, std::min<int64_t>(remaining, sizeof chunk));
        if (n <= 0) break;
        body.append(chunk, static_cast<size_t>(n));
        remaining -= n;
      }
      body += '&';
      ParseFormText(body, *r.FormFields);
    }
  }
  if (AllowedMethods.Get()) {
    ParseFormText(QueryString() + "&", *r.FormFields);
  } else if (method == "GET") {
    throw Exception("Method not allowed (GET)");
  }
}

void AddFormField(TStringList& fields, const std::string& name, const std::string& value) {
  TFormFieldTable table(fields);
  table.Add(name, value);
  table.Store(fields);
}

void ParseFormText(std::string_view text, TStringList& fields) {
  TFormFieldTable table(fields);
  size_t start = 0;
  std::string_view::size_type lastEq = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '=') {
      lastEq = i;
    } else if (c == '&') {
      if (lastEq != std::string_view::npos && lastEq >= start && lastEq < i) {
        size_t firstEq = text.find('=', start);
        std::string name = HttpUrlDecode(text.substr(start, firstEq - start));
        std::string value = HttpUrlDecode(text.substr(lastEq + 1, i - lastEq - 1));
        if (!name.empty()) table.Add(name, value);
      }
      start = i + 1;
    }
  }
  table.Store(fields);
}

std::string HttpUrlDecode(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      r += ' ';
    } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
      r += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      r += c;
    }
  }
  return r;
}

std::string HttpUrlEncode(std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '.' || u == '/' ||
        u == '\\') {
      r += c;
    } else if (u == ' ') {
      r += '+';
    } else {
      r += '%';
      r += hex[u >> 4];
      r += hex[u & 15];
    }
  }
  return r;
}

std::string HttpHtmlEncode(std::string_view text) {
  std::string r;
  r.reserve(text.size());
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (u == '"' || u == '&' || u == '<' || u == '>' || u >= 160) {
      r += "&#";
      r += std::to_string(u);
      r += ';';
    } else {
      r += c;
    }
  }
  return r;
}

std::string THttpEngine::BrowserFamily() {
  std::string ua = UpperCase(UserAgent());
  if (Contains(ua, "OPERA")) return "OPERA";
  if (Contains(ua, "MSIE") || Contains(ua, "MSPIE") || Contains(ua, "INTERNET EXPLORER")) return "MSIE";
  if (Contains(ua, "MOZILLA")) return Contains(ua, "COMPATIBLE") ? "UNKNOWN" : "NETSCAPE";
  return "UNKNOWN";
}

bool THttpEngine::AcceptsWml() { return Contains(GetServerVariable("HTTP_ACCEPT"), "text/vnd.wap.wml"); }

bool THttpEngine::OutputIsWml() {
  const TMemoryStream* buf = ERS().OutputBuffer.get();
  if (!buf) return false;
  std::string_view head(buf->Data());
  return Contains(head.substr(0, 512), "<wml>");
}
