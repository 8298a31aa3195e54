// The tables from template tag names to the module's tag methods.
#pragma once

#include <string>
#include <vector>

#include "app/vemlo3f.h"

struct SimpleTag {
  const char* name;
  std::string (TForm1::*method)();
};
struct OneArgTag {
  const char* name;
  std::string (TForm1::*method)(const std::string&);
};
struct ThreeArgTag {
  const char* name;
  std::string (TForm1::*method)(const std::string&, const std::string&, const std::string&);
};
struct BoolTag {
  const char* name;
  std::string (TForm1::*method)(bool);
};

const std::vector<SimpleTag>& SimpleTags();
const std::vector<OneArgTag>& OneArgTags();
const std::vector<ThreeArgTag>& ThreeArgTags();
const std::vector<BoolTag>& BoolTags();
