#include "core/xml_command_helper.h"

namespace tv {

void TXmlCommandHelper::ParseCmdLine(std::string_view text) {
    TAdkCommandLine::ParseCmdLine(text);
    size_t stdIn = FindStdInSwitch(text);
    if (stdIn == std::string_view::npos) return;
    size_t pos = stdIn + std::string_view("/stdin").size();
    if (pos < text.size() && text[pos] == ' ') ++pos;
    fParamList = std::string(text.substr(pos));
}

std::unique_ptr<TXmlCommandHelper> TXmlCommandHelper::Clone() const {
    auto copy = std::make_unique<TXmlCommandHelper>();
    CopyFieldsTo(*copy);
    return copy;
}

}  // namespace tv
