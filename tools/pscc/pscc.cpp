// pscc [--host FILE]... [--psrun] [--list] [--verify] [--hex] [--debug] [--short-circuit] SCRIPT
// Compiles SCRIPT (single-byte text) against the host declaration files and prints every compiler
// message as "[Error] (row:col): text". Without --host (or with --psrun) it compiles against what
// psrun runs with: psrun.decl beside pscc. Exit status 0 when it compiled (and verified), 1
// otherwise, 2 for a usage error.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "script/common/inspect/container_reader.h"
#include "script/common/inspect/disassembler.h"
#include "script/common/inspect/verifier.h"
#include "script/compiler/host_declarations.h"
#include "script/compiler/pascal_compiler.h"

namespace {

constexpr const char* kUsage =
    "usage: pscc [--host FILE]... [--psrun] [--list] [--verify] [--hex] [--debug] [--short-circuit] SCRIPT\n";

constexpr const char* kHelp =
    "Compiles a script and prints the compiler's messages as \"[Error] (row:col): text\".\n"
    "\n"
    "  --host FILE      compile against the host declarations in FILE (may be repeated)\n"
    "  --psrun          compile against what psrun runs with (the default when no --host is given):\n"
    "                   the import units and psrun's Print, from psrun.decl beside pscc\n"
    "  --list           print the compiled code, disassembled\n"
    "  --verify         check the compiled container as the loader would\n"
    "  --hex            print the compiled container's bytes\n"
    "  --debug          print the debug information's bytes\n"
    "  --short-circuit  evaluate Boolean expressions short-circuit\n"
    "  --help           print this text\n"
    "\n"
    "Exit status: 0 compiled (and verified), 1 not, 2 a usage error.\n";

// psrun's host declarations, written by the build beside pscc.
std::string PsrunDeclarations() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "psrun.decl").string();
}

void PrintHex(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i)
        std::printf("%02X%s", static_cast<unsigned char>(bytes[i]),
                    i % 16 == 15 || i + 1 == bytes.size() ? "\n" : " ");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> hosts;
    std::string script;
    bool list = false, verify = false, hex = false, debug = false, shortCircuit = false, psrun = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << kUsage << "\n" << kHelp;
            return 0;
        } else if (a == "--host" && i + 1 < argc)
            hosts.push_back(argv[++i]);
        else if (a == "--psrun")
            psrun = true;
        else if (a == "--list")
            list = true;
        else if (a == "--verify")
            verify = true;
        else if (a == "--hex")
            hex = true;
        else if (a == "--debug")
            debug = true;
        else if (a == "--short-circuit")
            shortCircuit = true;
        else if (!a.empty() && a[0] != '-' && script.empty())
            script = a;
        else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (script.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    // psrun's units first: other hosts build on their classes.
    if (psrun || hosts.empty()) hosts.insert(hosts.begin(), PsrunDeclarations());
    std::ifstream in(script, std::ios::binary);
    if (!in) {
        std::cerr << "pscc: cannot read " << script << "\n";
        return 2;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        tv::script::THostDeclarations decls = tv::script::THostDeclarations::ParseFiles(hosts);
        tv::script::TPSPascalCompiler compiler;
        compiler.BooleanShortCircuit = shortCircuit;
        compiler.OnUses = [&](tv::script::TPSPascalCompiler& c, const std::string& unit) {
            return decls.Register(c, unit) || unit == "SYSTEM";
        };
        bool ok = compiler.Compile(text);
        for (size_t i = 0; i < compiler.MsgCount(); ++i)
            std::cout << compiler.Msg(i)->MessageToString() << "\n";
        std::string output, debugOutput;
        compiler.GetOutput(output);
        compiler.GetDebugOutput(debugOutput);
        if (ok && list) {
            tv::script::Container c;
            std::string error;
            if (tv::script::ReadContainer(output, c, error))
                std::cout << tv::script::DisassembleContainer(c);
            else
                std::cout << "unreadable container: " << error << "\n";
        }
        if (ok && hex) PrintHex(output);
        if (debug) PrintHex(debugOutput);
        if (ok && verify) {
            for (const std::string& p : tv::script::VerifyContainer(output)) {
                std::cout << "verify: " << p << "\n";
                ok = false;
            }
        }
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "pscc: " << e.what() << "\n";
        return 1;
    }
}
