#include "core/adk_command_line.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/number_text.h"
#include "platform/win/process.h"

namespace tv {
namespace {

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameTextAscii(text.substr(0, prefix.size()), prefix);
}

std::string_view TrimValue(std::string_view v) {
    while (!v.empty() && static_cast<unsigned char>(v.front()) <= ' ') v.remove_prefix(1);
    while (!v.empty() && static_cast<unsigned char>(v.back()) <= ' ') v.remove_suffix(1);
    return v;
}

struct SwitchArgument {
    std::string name;   // "/" and the name as written
    std::string value;  // what followed "=" or a blank in the same argument
    bool takesValue = true;
};

const TKnownSwitch* KnownSwitch(std::string_view name) {
    for (const TKnownSwitch& k : kKnownSwitches)
        if (StartsWithText(name, k.Name)) return &k;
    return nullptr;
}

// The name of an argument in switch form ("/", "-" or "--" and a name holding no "/"), with the
// position after it; nothing for any other argument.
std::optional<std::pair<std::string_view, size_t>> SwitchName(std::string_view arg) {
    size_t start;
    if (arg.starts_with("--"))
        start = 2;
    else if (arg.starts_with('/') || arg.starts_with('-'))
        start = 1;
    else
        return std::nullopt;
    const size_t end = std::min(arg.find_first_of("= \t", start), arg.size());
    const std::string_view name = arg.substr(start, end - start);
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    return std::make_pair(name, end);
}

std::optional<SwitchArgument> AsSwitch(std::string_view arg) {
    const auto named = SwitchName(arg);
    if (!named) return std::nullopt;
    const auto [name, end] = *named;
    const bool hasValue = end < arg.size() && arg[end] == '=';
    const TKnownSwitch* known = KnownSwitch(name);
    if (!known && !hasValue) return std::nullopt;
    SwitchArgument s;
    s.name.reserve(1 + name.size());
    s.name.append("/").append(name);
    s.takesValue = !known || known->TakesValue;
    if (end < arg.size()) s.value = std::string(arg.substr(end + 1));
    return s;
}

std::vector<std::string> SplitArguments(std::string_view text) {
    if (text.find_first_of("\r\n") == std::string_view::npos) return SplitCommandLine(text);
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        if (end > pos) lines.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

}  // namespace

size_t FindStdInSwitch(std::string_view text) {
    constexpr std::string_view kStdIn = "/stdin";
    for (size_t pos = text.find(kStdIn); pos != std::string_view::npos; pos = text.find(kStdIn, pos + 1)) {
        bool atStart = pos == 0 || text[pos - 1] == ' ' || text[pos - 1] == '\t' || text[pos - 1] == '\r' ||
                       text[pos - 1] == '\n';
        size_t after = pos + kStdIn.size();
        bool atEnd = after == text.size() || text[after] == ' ' || text[after] == '\r' ||
                     text[after] == '\n' || text[after] == '=';
        if (atStart && atEnd) return pos;
    }
    return std::string_view::npos;
}

TAdkCommandLine::TAdkCommandLine(std::string_view text) {
    TAdkCommandLine::ParseCmdLine(text);
}

TAdkCommandLine::TAdkCommandLine(const TStrings& list) {
    std::vector<std::string> args;
    for (int i = 0; i < list.Count(); ++i) args.push_back(list.Strings(i));
    ParseArguments(args);
}

void TAdkCommandLine::ParseCmdLine(std::string_view text) {
    size_t stdIn = FindStdInSwitch(text);
    ParseArguments(SplitArguments(text.substr(0, stdIn)));
    if (stdIn != std::string_view::npos) AddSwitch("/stdin", {});
}

void TAdkCommandLine::ParseArguments(const std::vector<std::string>& args) {
    std::optional<SwitchArgument> current;
    for (const auto& arg : args) {
        if (auto s = AsSwitch(arg)) {
            if (current) AddSwitch(current->name, std::move(current->value));
            current = std::move(s);
        } else if (current && (current->takesValue || !SwitchName(arg))) {
            if (!current->value.empty()) current->value += ' ';
            current->value += arg;
        } else {
            fIgnored.push_back(arg);
        }
    }
    if (current) AddSwitch(current->name, std::move(current->value));
}

void TAdkCommandLine::AddSwitch(const std::string& name, std::string value) {
    value = std::string(TrimValue(value));
    // The integration-menu switches are told apart by their beginning, letter case included.
    if (name.starts_with("/register"))
        fRegister = StrToIntDef(value, kRegisterInvalid);
    else if (name.starts_with("/prg"))
        fPrg = value;
    else if (name.starts_with("/gemfiler"))
        fCommonFiles = value;
    else if (name.starts_with("/ftg"))
        fCompanyFolder = value;
    else if (name.starts_with("/id"))
        fUniqueID = value;
    else {
        if (StartsWithText(name, "/runscript")) std::replace(value.begin(), value.end(), '\\', '/');
        std::string line;
        line.reserve(name.size() + 1 + value.size());
        line.append(name).append("=").append(value);
        fParams.Add(line);
    }
}

int TAdkCommandLine::IndexOf(std::string_view prefix) const {
    for (int i = 0; i < fParams.Count(); ++i)
        if (StartsWithText(fParams.Strings(i), prefix)) return i;
    return -1;
}

void TAdkCommandLine::CopyFieldsTo(TAdkCommandLine& other) const {
    other.fParams.Clear();
    other.fParams.AddStrings(fParams);
    other.fRegister = fRegister;
    other.fCompanyFolder = fCompanyFolder;
    other.fCommonFiles = fCommonFiles;
    other.fUniqueID = fUniqueID;
    other.fPrg = fPrg;
    other.fIgnored = fIgnored;
}

}  // namespace tv
