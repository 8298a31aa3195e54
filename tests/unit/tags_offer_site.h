// A module over a throw-away site for the offer, calendar and geography tag
// tests. The test rows are written in Windows-1252 (the program's text) and
// stored as UTF-8, as the SQLite database holds them. Database connections
// are cached per thread by connection line, and every site uses the same
// relative line, so the connections of an earlier site are closed first.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data/DbBackend.h"
#include "support/ModuleFixture.h"

class TagFixture : public ModuleFixture {
public:
  explicit TagFixture(const std::string& sql = "") : ModuleFixture(Prepare(sql)) {}

private:
  static std::string Prepare(const std::string& sql) {
    CloseDatabaseConnections();
    return Cp1252ToUtf8(sql);
  }
};

inline bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
