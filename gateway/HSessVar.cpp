#include "gateway/HSessVar.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "gateway/HFileUp.h"

std::mutex SessionLock;
std::unique_ptr<TSessionStore> SessionStore;

namespace {

constexpr char kValueMarker = '\x01';
constexpr char kClearMarker = '\x03';
// A session file larger than this is not ours to read.
constexpr off_t kMaxSessionFile = 16 * 1024 * 1024;

int g_accessObjects = 0;  // session access objects alive (under SessionLock)

using Objects = std::vector<std::unique_ptr<TObject>>;

// Hands each object to the removal event, then releases it. Runs without
// SessionLock.
void ReleaseObjects(Objects& objects, TComponent* sender, const TRemoveSessionObjectEvent& onRemove) {
  for (auto& object : objects) {
    if (onRemove) onRemove(sender, object->ClassName(), object.get());
    object.reset();
  }
  objects.clear();
}

void ReleaseWithSessionEvent(Objects& objects) {
  const TCGISessionVariables* session = ERS().Session;
  if (session)
    ReleaseObjects(objects, session->Sender(), session->OnRemoveSessionObject());
  else
    ReleaseObjects(objects, nullptr, {});
}

// The current session's record, or null; SessionLock held.
TSessionRecord* CurrentRecordLocked() {
  if (!SessionStore) return nullptr;
  int i = SessionStore->IndexOf(SRS().SessionId);
  return i < 0 ? nullptr : &SessionStore->Record(i);
}

// The file's modification time as a date-time; 0 when it is missing or was
// never set from an expiry.
TDateTime FileTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || st.st_mtime <= 0) return 0;
  return UnixTimeToDateTime(st.st_mtime);
}

void SetFileTime(const std::string& path, TDateTime dt) {
  struct timespec times[2];
  times[0].tv_sec = times[1].tv_sec = DateTimeToUnixTime(dt);
  times[0].tv_nsec = times[1].tv_nsec = 0;
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::string DecodeRecord(const TBlowFish& cipher, std::string_view record) {
  return cipher.Decrypt(HttpUrlDecode(record));
}

std::string SafeNamePart(std::string_view s) {
  std::string r;
  for (char c : s) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    r += ok ? c : '_';
  }
  return r;
}

// Loads a session file into a new record; SessionLock held.
void LoadRecord(TSessionRecord& record, const std::string& path, const TBlowFish& cipher) {
  std::vector<std::pair<std::string, std::string>> values;
  if (!ReadSessionFile(path, cipher, values)) return;
  TDateTime expiry = FileTime(path);
  // A session file whose expiry has passed holds an ended session.
  if (expiry > 0 && expiry < Now()) return;
  record.Expiry = expiry;
  for (auto& [name, value] : values) {
    int i = record.IndexOf(name);
    if (i >= 0)
      record.Values[static_cast<size_t>(i)].Value = value;
    else
      record.Values.push_back({name, value, nullptr});
  }
}

}  // namespace

// ---------------------------------------------------------------- store

int TSessionRecord::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < Values.size(); ++i)
    if (SameText(Values[i].Name, name)) return static_cast<int>(i);
  return -1;
}

int TSessionStore::IndexOf(std::string_view id) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].first == id) return static_cast<int>(i);
  return -1;
}

int TSessionStore::Add(const std::string& id) {
  items_.emplace_back(id, std::make_unique<TSessionRecord>());
  return Count() - 1;
}

TCGISessionVariables::TCGISessionVariables(std::string_view encryptionKey, TRemoveSessionObjectEvent onRemove,
                                           TComponent* sender)
    : cipher_(encryptionKey), onRemove_(std::move(onRemove)), sender_(sender) {
  std::lock_guard<std::mutex> lock(SessionLock);
  if (!SessionStore) SessionStore = std::make_unique<TSessionStore>();
  ++g_accessObjects;
}

TCGISessionVariables::~TCGISessionVariables() {
  std::lock_guard<std::mutex> lock(SessionLock);
  if (--g_accessObjects == 0 && SessionStore && SessionStore->Empty()) SessionStore.reset();
}

SessionRequestState& SRS() {
  thread_local SessionRequestState state;
  return state;
}

// ---------------------------------------------------------------- the engine's work

int CurrentSessionIndex() {
  std::lock_guard<std::mutex> lock(SessionLock);
  return SessionStore ? SessionStore->IndexOf(SRS().SessionId) : -1;
}

TDateTime SessionExpiry() {
  std::lock_guard<std::mutex> lock(SessionLock);
  TSessionRecord* record = CurrentRecordLocked();
  if (!record) return 0;
  TDateTime expiry = record->Expiry;
  if (expiry == 0 && SRS().FileBased > 0) expiry = FileTime(SRS().FileName);
  return expiry < Now() ? 0 : expiry;
}

void RequireSession() {
  if (!ERS().Session) throw Exception("No Session started");
}

void SaveSession() {
  SessionRequestState& srs = SRS();
  const TCGISessionVariables* session = ERS().Session;
  if (!session || srs.FileBased <= 0 || srs.Saved || srs.FileName.empty()) return;
  std::lock_guard<std::mutex> lock(SessionLock);
  TSessionRecord* record = CurrentRecordLocked();
  if (!record) return;

  // Written beside the session file and renamed over it: a reader never
  // sees half a file, and a link planted under the name is replaced, not
  // followed.
  ForceDirectories(ExtractFilePath(srs.FileName));
  std::string temp;
  std::unique_ptr<TFileStream> file;
  for (int attempt = 1; !file; ++attempt) {
    temp = srs.FileName + "." + IntToStr(EngineRandom(9000000)) + ".new";
    try {
      file = std::make_unique<TFileStream>(temp, TFileStream::CreateExclusive, 0600);
    } catch (const EInOutError&) {
      if (attempt >= 20) throw;
    }
  }
  bool written = true;
  for (const TSessionValue& v : record->Values)
    written = written && file->WriteString(EncodeSessionRecord(session->Cipher(), kValueMarker + v.Name + "=" + v.Value));
  file.reset();
  SetFileTime(temp, record->Expiry);
  if (!written || ::rename(temp.c_str(), srs.FileName.c_str()) != 0) {
    ::unlink(temp.c_str());
    throw EInOutError("Cannot write session file \"" + srs.FileName + "\"");
  }
  srs.Saved = true;
}

void ClearSession(bool ignoreMissing) {
  if (ignoreMissing && !ERS().Session) return;
  RequireSession();
  const TCGISessionVariables* session = ERS().Session;
  SessionRequestState& srs = SRS();
  Objects objects;
  {
    std::lock_guard<std::mutex> lock(SessionLock);
    TSessionRecord* record = CurrentRecordLocked();
    if (record) {
      for (TSessionValue& v : record->Values)
        if (v.Object) objects.push_back(std::move(v.Object));
      record->Values.clear();
    }
    // The clear record goes over the start of the file; a session that was
    // never saved has no file to mark.
    int fd = srs.FileBased > 0 ? ::open(srs.FileName.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC) : -1;
    if (fd >= 0) {
      THandleStream file(fd, true);
      const std::string cleared = ClearedSessionBytes(session->Cipher());
      file.WriteAll(cleared.data(), static_cast<int64_t>(cleared.size()));
    }
    if (fd >= 0 && record) SetFileTime(srs.FileName, record->Expiry);
    srs.Saved = false;
  }
  ReleaseObjects(objects, session->Sender(), session->OnRemoveSessionObject());
}

void RemoveSessionObjects(TComponent* sender, const TRemoveSessionObjectEvent& onRemove) {
  Objects objects;
  {
    std::lock_guard<std::mutex> lock(SessionLock);
    if (!SessionStore) return;
    for (int i = 0; i < SessionStore->Count(); ++i)
      for (TSessionValue& v : SessionStore->Record(i).Values)
        if (v.Object) objects.push_back(std::move(v.Object));
  }
  ReleaseObjects(objects, sender, onRemove);
}

void EndRequestSession() {
  EngineRequestState& rs = ERS();
  if (!rs.Session) return;
  // Nobody is left to tell at the end of a request: a session file that
  // cannot be written keeps its last state.
  try {
    SaveSession();
  } catch (const std::exception&) {
  }
  delete rs.Session;
  rs.Session = nullptr;
  SRS() = SessionRequestState();
}

void TerminateSession() { EndRequestSession(); }

// ---------------------------------------------------------------- using sessions

bool ValidSessionId(std::string_view id) {
  if (id.empty() || id.size() > 64) return false;
  for (char c : id)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

std::string NewSessionId() {
  std::random_device rd;
  std::string id;
  for (int i = 0; i < 4; ++i) id += IntToHex(rd(), 8);
  return id;
}

std::string SessionFileName(const THttpEngine& engine, const std::string& id) {
  if (!ValidSessionId(id)) throw Exception("Invalid session id");
  std::string name = "sess_";
  if (engine.CGISession.Visibility() == TSessionVisibility::ThisApplication)
    name += SafeNamePart(ChangeFileExt(ExtractFileName(ProgramFileName()), "")) + "_";
  name += SafeNamePart(engine.CGISession.SessionName()) + "_" + id + ".ses";
  return EngineTempDir(engine) + name;
}

std::string StartSession(THttpEngine& engine, const std::string& id) {
  const std::string sid = id.empty() ? NewSessionId() : id;
  if (!ValidSessionId(sid)) throw Exception("Invalid session id");
  EngineRequestState& rs = ERS();
  SessionRequestState& srs = SRS();
  if (rs.Session && srs.SessionId != sid) SaveSession();
  if (!rs.Session) rs.Session = new TCGISessionVariables(engine.CGISession.EncryptionKey(),
                                                         engine.OnRemoveSessionObject(), &engine);
  const bool fileBased = engine.CGISession.FileBased();
  std::string fileName = fileBased ? SessionFileName(engine, sid) : std::string();
  if (srs.SessionId != sid) {
    srs.SessionId = sid;
    srs.FileBased = fileBased ? 1 : 0;
    srs.Saved = false;
    srs.FileName = fileName;
  }

  Objects expired;
  {
    std::lock_guard<std::mutex> lock(SessionLock);
    int i = SessionStore->IndexOf(sid);
    if (i < 0) {
      TSessionRecord& record = SessionStore->Record(SessionStore->Add(sid));
      if (fileBased) LoadRecord(record, fileName, rs.Session->Cipher());
    } else {
      TSessionRecord& record = SessionStore->Record(i);
      if (record.Expiry > 0 && record.Expiry < Now()) {
        for (TSessionValue& v : record.Values)
          if (v.Object) expired.push_back(std::move(v.Object));
        record.Values.clear();
        record.Expiry = 0;
      }
    }
  }
  ReleaseWithSessionEvent(expired);
  return sid;
}

void SetSessionValue(const std::string& name, const std::string& value, TObject* object) {
  std::unique_ptr<TObject> owned(object);
  RequireSession();
  // The name ends at the first "=" of a session file record.
  if (name.empty() || name.find('=') != std::string::npos) throw Exception("Invalid session value name");
  Objects replaced;
  {
    std::lock_guard<std::mutex> lock(SessionLock);
    TSessionRecord* record = CurrentRecordLocked();
    if (!record) throw Exception("No Session started");
    int i = record->IndexOf(name);
    if (i < 0) {
      record->Values.push_back({name, value, std::move(owned)});
    } else {
      TSessionValue& v = record->Values[static_cast<size_t>(i)];
      v.Value = value;
      if (v.Object.get() == owned.get()) {
        owned.release();  // the same object again: it is already ours
      } else {
        if (v.Object) replaced.push_back(std::move(v.Object));
        v.Object = std::move(owned);
      }
    }
    SRS().Saved = false;
  }
  ReleaseWithSessionEvent(replaced);
}

std::string GetSessionValue(const std::string& name) {
  RequireSession();
  std::lock_guard<std::mutex> lock(SessionLock);
  TSessionRecord* record = CurrentRecordLocked();
  int i = record ? record->IndexOf(name) : -1;
  return i < 0 ? std::string() : record->Values[static_cast<size_t>(i)].Value;
}

TObject* GetSessionObject(const std::string& name) {
  RequireSession();
  std::lock_guard<std::mutex> lock(SessionLock);
  TSessionRecord* record = CurrentRecordLocked();
  int i = record ? record->IndexOf(name) : -1;
  return i < 0 ? nullptr : record->Values[static_cast<size_t>(i)].Object.get();
}

void SetSessionExpiry(TDateTime expiry) {
  RequireSession();
  std::lock_guard<std::mutex> lock(SessionLock);
  TSessionRecord* record = CurrentRecordLocked();
  if (!record) throw Exception("No Session started");
  record->Expiry = expiry;
  SRS().Saved = false;
}

void EndSession() {
  RequireSession();
  SessionRequestState& srs = SRS();
  Objects objects;
  {
    std::lock_guard<std::mutex> lock(SessionLock);
    int i = SessionStore ? SessionStore->IndexOf(srs.SessionId) : -1;
    if (i >= 0) {
      for (TSessionValue& v : SessionStore->Record(i).Values)
        if (v.Object) objects.push_back(std::move(v.Object));
      SessionStore->Delete(i);
    }
    if (srs.FileBased > 0 && !srs.FileName.empty()) ::unlink(srs.FileName.c_str());
  }
  srs = SessionRequestState();
  ReleaseWithSessionEvent(objects);
}

// ---------------------------------------------------------------- session files

std::string EncodeSessionRecord(const TBlowFish& cipher, std::string_view text) {
  std::string record = HttpUrlEncode(cipher.Encrypt(text));
  record += '\0';
  return record;
}

std::string ClearedSessionBytes(const TBlowFish& cipher) {
  return cipher.Encrypt(EncodeSessionRecord(cipher, std::string(1, kClearMarker)));
}

bool ReadSessionFile(const std::string& path, const TBlowFish& cipher,
                     std::vector<std::pair<std::string, std::string>>& values) {
  values.clear();
  std::string data;
  {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    THandleStream in(fd, true);
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxSessionFile) return false;
    char buf[8192];
    for (int64_t n; (n = in.Read(buf, sizeof buf)) > 0 && data.size() <= static_cast<size_t>(kMaxSessionFile);)
      data.append(buf, static_cast<size_t>(n));
  }

  // A list of records, each ending in a zero byte.
  bool records = data.empty() || data.back() == '\0';
  std::vector<std::pair<std::string, std::string>> found;
  for (size_t start = 0; records && start < data.size();) {
    size_t end = data.find('\0', start);
    std::string text = DecodeRecord(cipher, std::string_view(data).substr(start, end - start));
    start = end + 1;
    if (text.size() == 1 && text[0] == kClearMarker) {
      found.clear();
    } else if (!text.empty() && text[0] == kValueMarker) {
      size_t eq = text.find('=');
      if (eq == std::string::npos) eq = text.size();
      found.emplace_back(text.substr(1, eq - 1), eq < text.size() ? text.substr(eq + 1) : std::string());
    } else {
      records = false;
    }
  }
  if (records) {
    values = std::move(found);
    return true;
  }
  // Cleared in place: the clear record over the start of the old records.
  return data.rfind(ClearedSessionBytes(cipher), 0) == 0;
}
