#pragma once
// Reading the value of an element that may be missing: its text, or its text as a number in the
// process's number format, with a default for a missing element. The price imports read the price
// fragments of the interchange document with these; the article export writes what they read.

#include <string>
#include <string_view>

#include "platform/rtl/format_settings.h"
#include "platform/xml/xml_node.h"

namespace tv {

// The node's text (as TXMLNode::Text gives it), or `defaultValue` when there is no node.
std::string GetXMLNodeText(const TXMLNode* node, std::string_view defaultValue);

// The node's text as a number with the settings' decimal separator, or `defaultValue` when there
// is no node. A text that is no number (an empty one too) raises the conversion error.
double GetXMLNodeFloat(const TXMLNode* node, double defaultValue,
                       const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
