#include "support/ModuleFixture.h"

#include <climits>
#include <unistd.h>

ModuleFixture::ModuleFixture(const std::string& sql, const std::vector<std::string>& serverVars) {
  char buf[PATH_MAX];
  if (getcwd(buf, sizeof buf)) oldCwd_ = buf;
  // Every site writes the same connection line: connections and look-ups
  // of an earlier site in this process must not be taken for this one's.
  CloseDatabaseConnections();
  ForgetLookups();
  site_.UseSqlite(sql);
  if (chdir(site_.cgiwin.c_str()) != 0) throw std::runtime_error("chdir");
  RS() = TRequestState{};
  RS().Starttid = Now();
  RS().Sprak = "S";
  RS().UppdateradDagar = 7;
  scope_ = std::make_unique<RequestScope>(output_, serverVars);
  form_ = std::make_unique<TForm1>(false);
  form_->InitieraDatabas();
}

ModuleFixture::~ModuleFixture() {
  form_.reset();
  scope_.reset();
  if (!oldCwd_.empty() && chdir(oldCwd_.c_str()) != 0) {
  }
}

void ModuleFixture::Customer(const std::string& kundid) {
  form_->SokKund(kundid);
  RS().NivaOver0 = !form_->q_kund.Eof() && form_->q_kund.Text("Niva") > "0";
}

void ModuleFixture::Language(const std::string& sprak) {
  RS().Sprak = sprak;
  RS().SprakSuffix = sprak == "S" ? "" : sprak;
  RS().SprakKatalog = sprak == "E" ? "/e" : sprak == "D" ? "/d" : "";
}

std::string ModuleFixture::TakeOutput() {
  scope_->Flush();
  std::string out;
  out.swap(output_);
  return out;
}
