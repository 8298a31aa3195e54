// The form fields of a request while a form text is decoded into them.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "gateway/HUtils.h"

// Holds the entries of a sorted field list grouped by name, so that adding a
// field costs the same however many fields the request has already sent. The
// joining rule is that of the list itself: a name that already has a value
// gets one entry whose value is the old value, CR LF and the new value,
// spelled as the name arrived last; names match without regard to case.
class TFormFieldTable {
public:
  // Takes the entries of the list, which is left empty until Store.
  explicit TFormFieldTable(TStringList& fields);
  void Add(std::string_view name, std::string_view value);
  // Gives the entries back to the list, in the list's order.
  void Store(TStringList& fields);

private:
  struct AnsiLess {
    bool operator()(const std::string& a, const std::string& b) const { return AnsiCompareText(a, b) < 0; }
  };
  // The entries of one group, in the list's order. A group holds the entries
  // whose name is the same without regard to case (as a rule exactly one);
  // its key is that name, upper-cased, followed by "=". Entries without "="
  // are kept under their own text.
  using Group = std::set<std::string, AnsiLess>;
  Group& GroupOf(std::string_view entryName);
  void Insert(std::string entry);
  // The keys sort as the entries of their groups do, so the groups in key
  // order give the list's order.
  std::map<std::string, Group> groups_;
};
