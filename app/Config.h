// Operator settings of the site: values that belong to the operator rather
// than to the program (the support contact on the error page, the addresses
// of outside sites). Read once per process from "vemlo3.conf" in the working
// directory (lines "key=value", "#" starts a comment); built-in defaults for
// every key that the file does not set.
#pragma once

#include <string>

struct SiteConfig {
  std::string SupportEpost = "support@tallbrun.se";
  std::string SupportTelefon = "08-123 456 70";
};

const SiteConfig& Config();
// Reads the settings again (tests, or a resident process after a change).
void ReloadConfig();
