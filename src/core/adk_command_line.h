#pragma once
// A job command parsed from the collected parameters: the integration-menu switches ("/register",
// "/prg", "/gemfiler", "/ftg", "/id") as fields and every other switch as a line of the switch, "="
// and its value ("/runscript=export/default_smart.pas", "/import=").
//
// How arguments are read (the rule that lets Linux paths be values):
// - Text with line breaks holds one argument per line; a text of one line is split at blanks, with
//   quotes grouping, a backslash being an ordinary character.
// - An argument is a switch when it begins with "/", "-" or "--" followed by a name holding no "/"
//   that either begins with a known switch name (any letter case) or carries "=value". The value
//   may follow the name after "=" or a blank. The switch is kept as "/" and the name as written.
// - Every other argument belongs to the value of the switch before it (several joined by a blank);
//   text before the first switch is ignored. Values lose surrounding blanks and control characters.
// - An argument in switch form ("/name", "-name") of no known name joins the value of a switch that
//   takes a value; anywhere else it is an unknown switch and ignored.
// - What is ignored is kept in Ignored(), so that the command's handler can say so.
// - A "\" in the value of "/runscript" becomes "/".
// - "/stdin" ends the switches: what follows it is the text piped into a second start, never parsed
//   as switches; it gives the line "/stdin=".

#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/string_list.h"

namespace tv {

// The names that make an argument a switch without "=value" ("/identity" begins with "id"), and
// whether the switch takes a value: an argument in switch form of no known name joins the value of
// a switch that takes one, and is otherwise an unknown switch.
struct TKnownSwitch {
    std::string_view Name;
    bool TakesValue;
};
inline constexpr TKnownSwitch kKnownSwitches[] = {
    {"register", true},   {"prg", true},         {"gemfiler", true},  {"ftg", true},
    {"id", true},         {"import", false},     {"export", false},   {"runscript", true},
    {"nevershutdown", false}, {"stdin", false},  {"appinstance", true}, {"appinst", true},
    {"profile", true},    {"workfolder", true},  {"setup", false},    {"forcedot", false},
    {"adklog", false}};

inline constexpr int kRegisterAbsent = -2;
inline constexpr int kRegisterInvalid = -1;

// The position of the "/stdin" switch in a command text (at the start of an argument), npos if none.
size_t FindStdInSwitch(std::string_view text);

class TAdkCommandLine {
public:
    TAdkCommandLine() = default;
    explicit TAdkCommandLine(std::string_view text);
    // The entries of the list are the arguments.
    explicit TAdkCommandLine(const TStrings& list);
    virtual ~TAdkCommandLine() = default;

    // Adds what the text holds to this command (see the rule above).
    virtual void ParseCmdLine(std::string_view text);
    // Adds the switches of ready-split arguments.
    void ParseArguments(const std::vector<std::string>& args);

    // Index of the first switch line that begins with `prefix` (letter case ignored), -1 if none.
    int IndexOf(std::string_view prefix) const;

    TStringList& Params() { return fParams; }
    const TStringList& Params() const { return fParams; }
    // kRegisterAbsent without "/register", kRegisterInvalid when its value is empty or no number.
    int Register() const { return fRegister; }
    const std::string& CompanyFolder() const { return fCompanyFolder; }
    const std::string& CommonFiles() const { return fCommonFiles; }
    const std::string& UniqueID() const { return fUniqueID; }
    const std::string& Prg() const { return fPrg; }
    // The arguments the command did not take: unknown switches and text before the first switch.
    const std::vector<std::string>& Ignored() const { return fIgnored; }

protected:
    void AddSwitch(const std::string& name, std::string value);
    void CopyFieldsTo(TAdkCommandLine& other) const;

private:
    TStringList fParams;
    int fRegister = kRegisterAbsent;
    std::string fCompanyFolder;
    std::string fCommonFiles;
    std::string fUniqueID;
    std::string fPrg;
    std::vector<std::string> fIgnored;
};

}  // namespace tv
