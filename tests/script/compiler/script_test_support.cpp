#include "script_test_support.h"

#include <cstdio>

namespace tv::script::test {

namespace {

std::string HostFile(const char* name) {
    return std::string(TV_FIXTURES_DIR) + "/script/hosts/" + name;
}

}  // namespace

Message CompileResult::FirstError() const {
    for (const Message& m : messages)
        if (m.type == "Error") return m;
    return {};
}

std::string CompileResult::AllMessages() const {
    std::string s;
    for (const Message& m : messages) s += m.text + "\n";
    return s;
}

std::vector<std::string> ImportUnitFiles() {
    // The plug-ins register dateutils, std and classes, then the host's handler all seven units.
    std::vector<std::string> files;
    for (const char* f : {"dateutils.decl", "std.decl", "classes.decl", "dateutils.decl", "std.decl",
                          "classes.decl", "graphics.decl", "controls.decl", "stdctrls.decl", "forms.decl"})
        files.push_back(HostFile(f));
    return files;
}

std::vector<std::string> FullHostFiles() {
    std::vector<std::string> files = ImportUnitFiles();
    files.push_back(HostFile("job_api.decl"));
    return files;
}

CompileResult Collect(TPSPascalCompiler& c, bool ok) {
    CompileResult r;
    r.ok = ok;
    c.GetOutput(r.output);
    c.GetDebugOutput(r.debug);
    for (size_t i = 0; i < c.MsgCount(); ++i) {
        TPSPascalCompilerMessage* m = c.Msg(i);
        Message msg;
        msg.type = m->ErrorType();
        if (auto* e = dynamic_cast<TPSPascalCompilerError*>(m)) msg.code = e->Error;
        if (auto* h = dynamic_cast<TPSPascalCompilerHint*>(m)) msg.code = h->Hint;
        if (auto* w = dynamic_cast<TPSPascalCompilerWarning*>(m)) msg.code = w->Warning;
        msg.param = m->Param;
        msg.row = m->Row;
        msg.col = m->Col;
        msg.pos = m->Pos;
        msg.text = m->MessageToString();
        r.messages.push_back(msg);
    }
    return r;
}

CompileResult CompileScript(const std::string& text, const std::vector<std::string>& host,
                            const std::function<void(TPSPascalCompiler&)>& setup) {
    TPSPascalCompiler c;
    THostDeclarations decls = THostDeclarations::ParseFiles(host);
    c.OnUses = [&](TPSPascalCompiler& comp, const std::string& unit) {
        return decls.Register(comp, unit) || unit == "SYSTEM";
    };
    if (setup) setup(c);
    bool ok = c.Compile(text);
    return Collect(c, ok);
}

std::string Bytes(const std::string& hex) {
    std::string out;
    unsigned v = 0;
    int digits = 0;
    for (char ch : hex) {
        int d = ch >= '0' && ch <= '9'   ? ch - '0'
                : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10
                : ch >= 'a' && ch <= 'f' ? ch - 'a' + 10
                                         : -1;
        if (d < 0) continue;
        v = v << 4 | static_cast<unsigned>(d);
        if (++digits == 2) {
            out.push_back(static_cast<char>(v));
            v = 0;
            digits = 0;
        }
    }
    return out;
}

std::string Hex(const std::string& bytes) {
    std::string s;
    char buf[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
        if (i) s.push_back(' ');
        s += buf;
    }
    return s;
}

}  // namespace tv::script::test
