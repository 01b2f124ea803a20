#include "script/compiler/host_declarations.h"

#include <fstream>
#include <iterator>

#include "platform/rtl/exception.h"
#include "script/common/number_text.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view Word(std::string_view& s) {
    s = Trim(s);
    size_t end = s.find_first_of(" \t");
    std::string_view w = s.substr(0, end);
    s = end == std::string_view::npos ? std::string_view() : Trim(s.substr(end));
    return w;
}

bool StartsWithWord(std::string_view s, std::string_view word) {
    return s.size() > word.size() && s.substr(0, word.size()) == word &&
           (s[word.size()] == ' ' || s[word.size()] == '\t' || s[word.size()] == '(' ||
            s[word.size()] == ';');
}

[[noreturn]] void Fail(int line, std::string_view what) {
    throw Exception("line " + std::to_string(line) + ": " + std::string(what));
}

bool ParseGuidText(std::string_view s, TPSGuid& guid) {
    auto hex = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    std::string digits;
    for (char c : s)
        if (c != '{' && c != '}' && c != '-') digits.push_back(c);
    if (digits.size() != 32) return false;
    uint8_t raw[16];
    for (size_t i = 0; i < 16; ++i) {
        int hi = hex(digits[2 * i]), lo = hex(digits[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        raw[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    // The text gives the first three fields most significant byte first.
    const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (size_t i = 0; i < 16; ++i) guid[i] = raw[order[i]];
    return true;
}

}  // namespace

THostDeclarations THostDeclarations::Parse(std::string_view text) {
    THostDeclarations d;
    std::string unit = "SYSTEM";
    int number = 0;
    while (!text.empty()) {
        size_t nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++number;
        std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#') continue;
        bool member = raw[0] == ' ' || raw[0] == '\t';
        if (!member && StartsWithWord(line, "unit")) {
            std::string_view rest = line.substr(4);
            unit = AsciiUpperCase(Trim(rest));
            continue;
        }
        d.lines_.push_back({unit, number, member, std::string(line)});
    }
    return d;
}

THostDeclarations THostDeclarations::ParseFiles(const std::vector<std::string>& paths) {
    std::string all;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Exception("Unable to read declaration file " + path);
        all.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        all.push_back('\n');
    }
    return Parse(all);
}

bool THostDeclarations::Register(TPSPascalCompiler& c, std::string_view unitName,
                                 std::vector<std::string>* dropped) const {
    bool found = false;
    TPSCompileTimeClass* cls = nullptr;
    TPSInterface* intf = nullptr;
    for (const Line& l : lines_) {
        if (l.unit != unitName) continue;
        found = true;
        std::string_view rest = l.text;
        if (l.member) {
            if (!cls && !intf) Fail(l.number, "member outside a class or interface");
            std::string name = cls ? cls->ClassName : intf->Name.Name;
            if (StartsWithWord(rest, "property")) {
                Word(rest);
                std::string propName(Word(rest));
                size_t open = rest.find('"'), close = rest.rfind('"');
                if (!cls || open == std::string_view::npos || close == open)
                    Fail(l.number, "property NAME \"TYPES\" ACCESS");
                std::string types(rest.substr(open + 1, close - open - 1));
                std::string_view access = Trim(rest.substr(close + 1));
                TPSPropType a = access == "rw" ? iptRW : access == "r" ? iptR : access == "w" ? iptW : iptRW;
                if (access != "rw" && access != "r" && access != "w") Fail(l.number, "access rw, r or w");
                size_t before = cls->Count();
                cls->RegisterProperty(propName, types, a);
                if (cls->Count() == before && dropped) dropped->push_back(name + "." + propName);
            } else if (StartsWithWord(rest, "default")) {
                Word(rest);
                if (!cls) Fail(l.number, "default outside a class");
                cls->SetDefaultPropery(std::string(Word(rest)));
            } else if (cls) {
                if (!cls->RegisterMethod(rest) && dropped) dropped->push_back(name + "." + std::string(rest));
            } else if (!intf->RegisterMethod(rest, cdStdCall) && dropped) {
                dropped->push_back(name + "." + std::string(rest));
            }
            continue;
        }
        cls = nullptr;
        intf = nullptr;
        std::string_view keyword = Word(rest);
        if (keyword == "type") {
            size_t eq = rest.find('=');
            if (eq == std::string_view::npos) Fail(l.number, "type NAME = TEXT");
            c.AddTypeS(Trim(rest.substr(0, eq)), Trim(rest.substr(eq + 1)));
        } else if (keyword == "basetype") {
            std::string name(Word(rest));
            int code = TextToIntDefault(Word(rest), -1);
            if (code < 0 || code > 255) Fail(l.number, "basetype NAME CODE");
            c.AddType(name, static_cast<uint8_t>(code))->ExportName = true;
        } else if (keyword == "const") {
            std::string name(Word(rest));
            std::string typeName(Word(rest));
            TPSConstant* k = c.AddConstantN(name, typeName);
            std::string_view value = Trim(rest);
            if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') {
                k->SetString(value.substr(1, value.size() - 2));
            } else if (!value.empty() && value[0] == '#') {
                char ch = static_cast<char>(TextToIntDefault(value.substr(1), 0));
                k->SetString(std::string_view(&ch, 1));
            } else {
                bool negative = !value.empty() && value[0] == '-';
                uint64_t bits = 0;
                if (!ParseIntegerLiteral(negative ? value.substr(1) : value, bits))
                    Fail(l.number, "constant value");
                int64_t v = negative ? -static_cast<int64_t>(bits) : static_cast<int64_t>(bits);
                if (k->Value->FType->BaseType == btS64)
                    k->SetInt64(v);
                else
                    k->SetInt(static_cast<int32_t>(v));
            }
        } else if (keyword == "var") {
            std::string name(Word(rest));
            if (!c.AddUsedVariableN(name, Word(rest))) Fail(l.number, "unknown variable type");
        } else if (keyword == "function" || keyword == "procedure") {
            c.AddNativeFunction(l.text);
        } else if (keyword == "class") {
            std::string name(Word(rest));
            TPSCompileTimeClass* parent = nullptr;
            if (Word(rest) == ":") parent = c.FindClass(Word(rest));
            cls = c.AddClassN(parent, name);
        } else if (keyword == "interface") {
            std::string name(Word(rest));
            TPSInterface* parent = nullptr;
            std::string_view next = Word(rest);
            if (next == ":") {
                parent = c.FindInterface(Word(rest));
                next = Word(rest);
            }
            TPSGuid guid{};
            if (!ParseGuidText(next, guid)) Fail(l.number, "interface GUID");
            intf = c.AddInterface(parent, guid, name);
        } else {
            Fail(l.number, "unknown declaration");
        }
    }
    return found;
}

}  // namespace tv::script
