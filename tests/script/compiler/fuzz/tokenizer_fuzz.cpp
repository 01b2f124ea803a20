// Feeds arbitrary bytes to the tokenizer: it must end at CSTI_EOF in a bounded number of steps, with
// positions that only move forward and stay inside the text.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "script/compiler/pascal_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    tv::script::TPSPascalParser p;
    int errors = 0;
    p.OnParserError = [&](tv::script::TPSPascalParser&, tv::script::TPSParserErrorKind) { ++errors; };
    p.EnableComments = size % 2 == 0;
    p.SetText(text);
    uint32_t last = 0;
    for (size_t steps = 0; p.CurrTokenID() != tv::script::CSTI_EOF; ++steps) {
        if (steps > size + 1 || p.CurrTokenPos() < last || p.CurrTokenPos() + p.TokenLength() > size)
            std::abort();
        last = p.CurrTokenPos();
        p.Next();
    }
    if (errors > 1) std::abort();
    return 0;
}
