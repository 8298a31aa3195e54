// Operator settings of the site: values that belong to the operator rather
// than to the program (the support contact on the error page, the addresses
// of outside sites). Read from "vemlo3.conf" in the working directory (lines
// "key=value", "#" starts a comment); built-in defaults for every key that
// the file does not set. A resident process reads the file again when it
// has changed (RefreshConfig, once per request).
#pragma once

#include <cstdint>
#include <string>

struct SiteConfig {
  std::string SupportEpost = "support@tallbrun.se";
  std::string SupportTelefon = "08-123 456 70";
  // Host name of the video-sharing service whose embedded player takes the
  // option "rel=0"; a customer's multimedia address that contains it gets
  // the option. Empty: no address gets it.
  std::string VideoVard = "youtube.com";
  // Outside sites that the symbol row links to.
  std::string VisitaUrl = "https://www.visita.se/";
  std::string HomeRunUrl = "https://www.telia.se/homerun/";
  std::string EqualityUrl = "https://www.equality.se/";
  std::string RoksUrl = "https://www.roks.se/porrfritt-hotell/";
  std::string EricssonKonferensUrl = "https://resor.ericsson.se/konferensguide.htm";
  // The award's web site, which the award badge links to.
  std::string AretsAmetistUrl = "https://www.aretsametist.se/";
  // How the program serves ("CGIMode"); read by OperatorCGIMode.
  std::string CGIMode;
  // Client addresses for which "Debug=J" shows the statements in the page
  // ("DebugFran"): a comma-separated list, "*" for every client. Without the
  // key only the server's own loopback addresses.
  std::string DebugFran = "127.0.0.1,::1";
  // Largest request body in bytes that the engine reads ("MaxBody"); a
  // request that announces more is refused before its body is read. 0: no
  // limit. Handed to the engine when the module is created, so a process
  // that serves many requests sees a change when it starts again.
  int64_t MaxBody = 1024 * 1024;
};

// Whether the operator lets this client address switch the statement echo on.
bool DebugAllowedFor(const SiteConfig& c, const std::string& remoteAddr);

// The settings as the calling thread's current request sees them: they stay
// the same for the whole request, whatever other threads do meanwhile.
const SiteConfig& Config();
// At the start of a request: the thread takes the settings anew, read
// again first when the file has changed (its identity, size or times).
void RefreshConfig();
// Reads the settings again now, changed or not (tests).
void ReloadConfig();
