#include "platform/xml/xml_node_values.h"

#include "platform/rtl/number_text.h"

namespace tv {

std::string GetXMLNodeText(const TXMLNode* node, std::string_view defaultValue) {
    return node ? node->Text() : std::string(defaultValue);
}

double GetXMLNodeFloat(const TXMLNode* node, double defaultValue, const TFormatSettings& settings) {
    return node ? StrToFloat(node->Text(), settings) : defaultValue;
}

}  // namespace tv
