#pragma once
// Helpers for the compiler tests: compiling a text against host declaration fixtures and reading the
// messages, the container and the debug stream back.

#include <functional>
#include <string>
#include <vector>

#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script::test {

struct Message {
    std::string type;  // "Error", "Hint", "Warning"
    int code = -1;
    std::string param;
    uint32_t row = 0, col = 0, pos = 0;
    std::string text;  // MessageToString
};

struct CompileResult {
    bool ok = false;
    std::string output;
    std::string debug;
    std::vector<Message> messages;
    // The first error, or an empty message.
    Message FirstError() const;
    std::string AllMessages() const;
};

// The import units every job script sees, in the script host's order, and the job API.
std::vector<std::string> ImportUnitFiles();
std::vector<std::string> FullHostFiles();

// Compiles `text`; `host` declaration files are registered for "SYSTEM" (and any unit they name).
// `setup` may change options and events before the compile.
CompileResult CompileScript(const std::string& text, const std::vector<std::string>& host = {},
                            const std::function<void(TPSPascalCompiler&)>& setup = {});

// The container and messages of a compile through an existing compiler.
CompileResult Collect(TPSPascalCompiler& c, bool ok);

// "XX XX ..." as bytes.
std::string Bytes(const std::string& hex);
std::string Hex(const std::string& bytes);

}  // namespace tv::script::test
