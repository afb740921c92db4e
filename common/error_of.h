// For tests: the run-time error number an operation raises, or 0 when it
// raises none.
#pragma once

#include <cstdint>
#include <functional>

#include "error.h"

inline int32_t ErrorOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RunTimeError& e) {
    return e.number();
  }
  return 0;
}
