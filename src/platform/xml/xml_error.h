#pragma once
// The failures of the XML document object: a refused name or character, a misuse of the node
// model, a file that is not well-formed (with the parser's line and column).

#include <string>

#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EXMLDocError, Exception);

class EXMLParseError : public EXMLDocError {
public:
    EXMLParseError(std::string message, int line, int column, std::string reason)
        : EXMLDocError(std::move(message)), Line(line), Column(column), Reason(std::move(reason)) {}
    const char* ClassName() const noexcept override { return "EXMLParseError"; }

    int Line;            // 1-based, 0 when unknown
    int Column;          // 1-based, 0 when unknown
    std::string Reason;  // the parser's own message
};

}  // namespace tv
