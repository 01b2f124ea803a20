#pragma once
// Arithmetic faults of the shared arithmetic raised as the class library's exceptions, which the
// executor then records as script errors.

#include "script/common/arith.h"

namespace tv::script {

[[noreturn]] void ThrowArithFault(ArithFault f);

inline void CheckArith(ArithFault f) {
    if (f != ArithFault::None) ThrowArithFault(f);
}

}  // namespace tv::script
