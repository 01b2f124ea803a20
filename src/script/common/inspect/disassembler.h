#pragma once
// Decodes the instructions of a compiled script and lists them as text, one instruction a line:
// "<offset>: <mnemonic> <operands>". Operands read G<n> (global), L<i> (local or temporary i),
// P<n> (parameter n, 0 being a function's result), X[n] and X[Y] (element or field), and
// #<type>:<value> (a constant); jumps show their absolute target offsets.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/common/inspect/container_reader.h"

namespace tv::script {

struct DecodedOperand {
    uint8_t kind = 0;
    uint32_t var = 0;     // kinds 0, 2, 3
    uint32_t index = 0;   // kind 2: field or element; kind 3: variable number of the index
    uint32_t typeNo = 0;  // kind 1
    std::string text;     // as listed
};

struct DecodedInstruction {
    uint32_t offset = 0;
    uint32_t length = 0;
    uint8_t opcode = 0;
    uint8_t sub = 0;      // operator, comparison, invert or frame subcode byte
    uint32_t number = 0;  // procedure or type number
    std::vector<DecodedOperand> operands;
    std::vector<int64_t> targets;  // absolute jump targets; -1 for an absent frame part
};

// Decodes the instruction at `pos`; false with a reason when it does not decode.
bool DecodeInstruction(const Container& c, std::string_view code, uint32_t pos, DecodedInstruction& out,
                       std::string& error);
std::string FormatInstruction(const DecodedInstruction& ins);
// The listing of one procedure's code; an undecodable instruction ends it with "<offset>: ??? reason".
std::string DisassembleCode(const Container& c, std::string_view code);
// Types, procedures with their code, and variables.
std::string DisassembleContainer(const Container& c);

}  // namespace tv::script
