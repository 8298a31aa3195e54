#include "gateway/FormFieldTable.h"

TFormFieldTable::TFormFieldTable(TStringList& fields) {
  for (const std::string& e : fields.Items()) Insert(e);
  fields.Clear();
}

TFormFieldTable::Group& TFormFieldTable::GroupOf(std::string_view entry) {
  size_t eq = entry.find('=');
  std::string key = AnsiUpperCase(entry.substr(0, eq == std::string_view::npos ? entry.size() : eq + 1));
  return groups_.try_emplace(groups_.end(), std::move(key))->second;
}

// An entry equal to one present (without regard to case) is not added twice.
void TFormFieldTable::Insert(std::string entry) {
  Group& g = GroupOf(entry);
  g.insert(std::move(entry));
}

void TFormFieldTable::Add(std::string_view name, std::string_view value) {
  // A name with "=" in it (decoded from "%3D") never matches an entry's name:
  // it has no value so far and joins nothing.
  std::string entry;
  entry.reserve(name.size() + 1 + value.size());
  entry.append(name).append(1, '=');
  if (name.find('=') == std::string_view::npos) {
    Group& g = GroupOf(entry);
    if (g.empty()) {
      g.insert(entry.append(value));
      return;
    }
    // The first entry of the name holds its value so far: it is replaced by
    // one with the new value joined on, under this arrival's spelling.
    auto node = g.extract(g.begin());
    std::string& e = node.value();
    e.replace(0, name.size(), name);
    e.append("\r\n").append(value);
    g.insert(std::move(node));
    return;
  }
  Insert(entry.append(value));
}

void TFormFieldTable::Store(TStringList& fields) {
  fields.Clear();
  for (auto& [key, g] : groups_)
    while (!g.empty()) fields.Add(std::move(g.extract(g.begin()).value()));
  groups_.clear();
}
