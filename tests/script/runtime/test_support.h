#pragma once
// Printing of the runtime's codes in test failures.

#include <ostream>

#include "script/runtime/errors.h"

namespace tv::script {

inline void PrintTo(TPSError e, std::ostream* os) {
    *os << static_cast<int>(e) << " (" << ErrorToText(e, "%") << ")";
}
inline void PrintTo(TPSStatus s, std::ostream* os) {
    static const char* kNames[] = {"isNotLoaded", "isLoaded", "isRunning", "isPaused"};
    *os << (s <= isPaused ? kNames[s] : "?");
}

}  // namespace tv::script
