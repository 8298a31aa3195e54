// An application module over a throw-away site with an SQLite database, for
// tests of the module's methods (look-ups, tag methods, page rendering):
// the working directory is the site's cgi-win folder, the request state is
// fresh, and whatever the module writes is captured.
#pragma once

#include <memory>
#include <string>

#include "app/vemlo3f.h"
#include "support/EngineHarness.h"
#include "support/Site.h"

class ModuleFixture {
public:
  // `sql` is run on the new database after the schema.
  explicit ModuleFixture(const std::string& sql = "", const std::vector<std::string>& serverVars = {});
  ~ModuleFixture();

  TForm1& Form() { return *form_; }
  TestSite& Site() { return site_; }
  // Fetches the customer into q_kund (and, like the page renderer, sets the
  // level flag from its Niva).
  void Customer(const std::string& kundid);
  // "S", "E" or "D" with the matching suffix and folder.
  void Language(const std::string& sprak);
  // What the module has written so far (and clears it).
  std::string TakeOutput();

private:
  TestSite site_;
  std::string oldCwd_;
  std::string output_;
  std::unique_ptr<RequestScope> scope_;
  std::unique_ptr<TForm1> form_;
};
