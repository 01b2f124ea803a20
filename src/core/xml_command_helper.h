#pragma once
// The command object the command handler receives: a parsed command line that also keeps the text
// piped into a second start (what followed "/stdin" and one blank).

#include <memory>
#include <string>
#include <string_view>

#include "core/adk_command_line.h"

namespace tv {

class TXmlCommandHelper : public TAdkCommandLine {
public:
    TXmlCommandHelper() = default;
    explicit TXmlCommandHelper(std::string_view text) { TXmlCommandHelper::ParseCmdLine(text); }

    void ParseCmdLine(std::string_view text) override;
    // Removes every switch line; the fields stay.
    void Clear() { Params().Clear(); }
    // A new command with the same switch lines and fields; ParamList is not copied.
    std::unique_ptr<TXmlCommandHelper> Clone() const;

    const std::string& ParamList() const { return fParamList; }

private:
    std::string fParamList;
};

}  // namespace tv
