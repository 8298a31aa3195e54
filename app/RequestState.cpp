#include "app/RequestState.h"

#include <new>
#include <type_traits>

TRequestState& RS() {
  static thread_local TRequestState state;
  return state;
}

TRequestState& NewRequestState() {
  static_assert(std::is_nothrow_default_constructible_v<TRequestState>);
  TRequestState& rs = RS();
  rs.~TRequestState();
  return *new (&rs) TRequestState;
}
