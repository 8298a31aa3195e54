#include "app/RequestState.h"

TRequestState& RS() {
  static thread_local TRequestState state;
  return state;
}
