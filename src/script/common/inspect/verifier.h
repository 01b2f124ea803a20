#pragma once
// Structural checks of a compiled script, independent of the runtime: the container passes the
// loader's limits, every instruction decodes, every jump lands on an instruction inside the code,
// the run-time stack depth is the same on every path into an instruction and never goes below
// zero, and every variable operand names a global, parameter or live stack slot.

#include <string>
#include <string_view>
#include <vector>

namespace tv::script {

// The problems found, one line each ("proc 2 @17: ..."); empty when the container is sound.
std::vector<std::string> VerifyContainer(std::string_view bytes);

}  // namespace tv::script
