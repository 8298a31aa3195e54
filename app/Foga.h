// Texts built piece by piece: Foga(r, a, b, c) appends a, b and c to r with
// one reservation, where r += a + b + c would make a new text for every +.
// A piece is anything a std::string_view is made from, or a single char;
// no piece may be r itself (it grows while it is read).
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

namespace foga_detail {
template <class T>
size_t Langd(const T& t) {
  if constexpr (std::is_same_v<T, char>)
    return 1;
  else
    return std::string_view(t).size();
}
template <class T>
void Lagg(std::string& r, const T& t) {
  if constexpr (std::is_same_v<T, char>)
    r.push_back(t);
  else
    r.append(std::string_view(t));
}
}  // namespace foga_detail

template <class... Delar>
void Foga(std::string& r, const Delar&... delar) {
  r.reserve(r.size() + (foga_detail::Langd(delar) + ... + 0));
  (foga_detail::Lagg(r, delar), ...);
}

// The pieces joined into a new text.
template <class... Delar>
std::string Fogat(const Delar&... delar) {
  std::string r;
  Foga(r, delar...);
  return r;
}
