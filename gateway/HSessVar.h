// Session variables: the process-wide session store, the session access
// object and the session file records.
//
// A session holds named values, each with an optional object, and an expiry
// time. A file-based session is also kept in a session file under the
// engine's temporary directory: one record per value, each record the form
// encoding of the Blowfish-encrypted text followed by one zero byte, the
// text starting with a marker byte (1 = a name=value entry, 3 = cleared).
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gateway/HBlowFish.h"
#include "gateway/HttpEng.h"

// One value of a session; the store owns its object.
struct TSessionValue {
  std::string Name;
  std::string Value;
  std::unique_ptr<TObject> Object;
};

// A session: its values in order and its expiry (0 = none).
class TSessionRecord : public TObject {
public:
  std::string ClassName() const override { return "TSessionRecord"; }
  // Index of the value with this name (letter case ignored), or -1.
  int IndexOf(std::string_view name) const;
  std::vector<TSessionValue> Values;
  TDateTime Expiry = 0;
};

// Session identifiers with their records.
class TSessionStore {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  int IndexOf(std::string_view id) const;
  const std::string& Id(int index) const { return items_[static_cast<size_t>(index)].first; }
  TSessionRecord& Record(int index) { return *items_[static_cast<size_t>(index)].second; }
  int Add(const std::string& id);
  void Delete(int index) { items_.erase(items_.begin() + index); }

private:
  std::vector<std::pair<std::string, std::unique_ptr<TSessionRecord>>> items_;
};

// Guards SessionStore and every session record. No event is called while it
// is held, so event handlers may use the session functions.
extern std::mutex SessionLock;
// Created by the first session access object; released when the last one
// goes and no session is left.
extern std::unique_ptr<TSessionStore> SessionStore;

// The session access object of a request: the cipher of the session files
// and the event that takes the objects of removed values.
class TCGISessionVariables : public TObject {
public:
  // Raises "Blowfish keylength out of range" for a bad key.
  TCGISessionVariables(std::string_view encryptionKey, TRemoveSessionObjectEvent onRemove,
                       TComponent* sender = nullptr);
  ~TCGISessionVariables() override;
  TCGISessionVariables(const TCGISessionVariables&) = delete;
  TCGISessionVariables& operator=(const TCGISessionVariables&) = delete;
  std::string ClassName() const override { return "TCGISessionVariables"; }

  const TBlowFish& Cipher() const { return cipher_; }
  const TRemoveSessionObjectEvent& OnRemoveSessionObject() const { return onRemove_; }
  TComponent* Sender() const { return sender_; }

private:
  TBlowFish cipher_;
  TRemoveSessionObjectEvent onRemove_;
  TComponent* sender_;
};

// The calling thread's session state for its request.
struct SessionRequestState {
  std::string SessionId;  // current session identifier
  int FileBased = 0;      // positive when the session lives in a file
  bool Saved = false;     // the session file was written in this request
  std::string FileName;   // the session file
};
SessionRequestState& SRS();

// Index of the current session in SessionStore, -1 when the store does not
// exist (or does not hold the session).
int CurrentSessionIndex();
// The current session's expiry; when the record has none and the session is
// file based, the session file's modification time. A time that has passed
// counts as 0.
TDateTime SessionExpiry();
// Raises "No Session started" when the request has no session.
void RequireSession();
// Writes the current file-based session to its file, once per request.
void SaveSession();
// Clears the current session; a request without one is left alone when
// `ignoreMissing` is set (the extension's unload), else "No Session started".
void ClearSession(bool ignoreMissing = false);
// Hands every stored session object to the removal event and releases it.
void RemoveSessionObjects(TComponent* sender, const TRemoveSessionObjectEvent& onRemove);
// End of request: save the request's session (when it has one) and release
// its access object.
void EndRequestSession();
// End of process or library: the same work as at the end of a request.
void TerminateSession();

// ---------------------------------------------------------------- using sessions

// Starts or resumes the session `id` (a new random identifier when empty)
// for the calling thread's request with the engine's session settings; a
// file-based session that this process does not hold yet is loaded from its
// file. Returns the identifier. Identifiers are 1 to 64 letters and digits,
// else "Invalid session id".
std::string StartSession(THttpEngine& engine, const std::string& id = {});
// 32 random hexadecimal digits.
std::string NewSessionId();
bool ValidSessionId(std::string_view id);
// The session file of `id`: in the engine's temporary directory, named after
// the session name (and the program, for sessions of this application only).
std::string SessionFileName(const THttpEngine& engine, const std::string& id);

// The session interface for applications (this one keeps no session
// values; the tests use them). Values of the current session (each raises "No Session started" without
// one). Setting a value gives the store the object; an object that it
// replaces goes to the removal event and is released. A name is not empty
// and holds no "=", else "Invalid session value name".
void SetSessionValue(const std::string& name, const std::string& value, TObject* object = nullptr);
std::string GetSessionValue(const std::string& name);
TObject* GetSessionObject(const std::string& name);
void SetSessionExpiry(TDateTime expiry);
// Ends the current session for good: its objects go to the removal event, it
// leaves the store and its file is deleted. The request keeps its access
// object and can start another session.
void EndSession();

// ---------------------------------------------------------------- session files

// One record: the encoded encrypted text and a zero byte.
std::string EncodeSessionRecord(const TBlowFish& cipher, std::string_view text);
// What clearing writes at the start of a session file: the clear record,
// encrypted once more.
std::string ClearedSessionBytes(const TBlowFish& cipher);
// Reads the name=value entries of a session file. False when the file is
// missing or is neither a list of records nor a cleared file.
bool ReadSessionFile(const std::string& path, const TBlowFish& cipher,
                     std::vector<std::pair<std::string, std::string>>& values);
