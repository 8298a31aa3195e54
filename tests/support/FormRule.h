// The joining rule of repeated form names as the sorted field list states
// it, one field at a time: the value so far of the name, the entry made of
// the name and that value removed, the joined entry added. The decoder groups
// fields by name instead; the tests and the fuzzer hold it to this rule.
#pragma once

#include <string>

#include "gateway/HUtils.h"

inline void AddOneByOne(TStringList& fields, const std::string& name, const std::string& value) {
  std::string joined = value;
  int i = fields.IndexOfName(name);
  if (i >= 0) {
    std::string existing = fields.ValueFromIndex(i);
    int e = fields.IndexOf(name + "=" + existing);
    if (e >= 0) {
      fields.Delete(e);
      joined = existing + "\r\n" + value;
    }
  }
  fields.Add(name + "=" + joined);
}
