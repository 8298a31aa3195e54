// Support for the tests of the customer field tags: a module over a site
// whose database holds the given rows, standing on a page customer as the
// page renderer leaves it (the search result on the customer, its record in
// q_kund and its level flag set).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/DbBackend.h"
#include "support/ModuleFixture.h"

class TagTest : public ::testing::Test {
protected:
  // `sql` is written as the program's text (Windows-1252); the test
  // database holds UTF-8.
  void Data(const std::string& sql) {
    // One module and site at a time; the thread's connection and remembered
    // look-ups belong to the previous site's database.
    fx_.reset();
    CloseDatabaseConnections();
    ForgetLookups();  // texts and code names of the previous site
    fx_ = std::make_unique<ModuleFixture>(Cp1252ToUtf8(sql));
  }

  // Renders the customer `kundid` as the page's customer.
  void Page(const std::string& kundid, const std::string& sprak = "S") {
    fx_->Language(sprak);
    TQuery& q = fx_->Form().q_dbqv;
    q.Close();
    q.SQL.Clear();
    q.SQL.Add("SELECT Kundid FROM Kund WHERE Kundid = '" + SqlQuote(kundid) + "'");
    q.Open();
    fx_->Customer(kundid);
  }

  TForm1& F() { return fx_->Form(); }
  std::string PageCustomer() { return F().q_kund.Text("Kundid"); }

  // This year and last year as the tags compare them.
  static std::string ThisYear() { return FormatDateTime("yyyy", Now()); }
  static std::string LastYear() { return std::to_string(std::stoi(ThisYear()) - 1); }

  std::unique_ptr<ModuleFixture> fx_;
};
