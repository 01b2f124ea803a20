#pragma once
// Working state of the block compiler that lives only while one loop body is compiled: the pending
// break and continue jumps and what the body has entered since the loop began, innermost last, so
// that a break or continue can leave each of them in turn.

#include <cstdint>
#include <vector>

#include "script/compiler/pascal_compiler.h"

namespace tv::script {

struct LoopNesting {
    enum Kind : uint8_t {
        Pops,   // stack temporaries of a with statement
        Case,   // the temporaries of a case statement: its own two and those its selector holds
        Frame,  // the exception frame of a try statement
    };
    Kind kind;
    uint32_t pops = 0;
};

struct TPSPascalCompiler::LoopState {
    std::vector<uint32_t> breaks;  // positions just after each pending jump's distance field
    std::vector<uint32_t> continues;
    std::vector<LoopNesting> nesting;
};

}  // namespace tv::script
