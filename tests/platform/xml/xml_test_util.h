#pragma once
// A readable one-line picture of a tree, for comparing what different inputs load to.

#include <string>

#include "platform/xml/xml_document.h"

namespace tv::test {

inline void DumpNode(const TXMLNode& node, std::string& out) {
    switch (node.NodeType()) {
        case TNodeType::ntText:
            out += "\"" + node.Text() + "\"";
            return;
        case TNodeType::ntComment:
            out += "<!--" + node.Text() + "-->";
            return;
        case TNodeType::ntProcessingInstr:
            out += "<?" + node.NodeName() + " " + node.Text() + "?>";
            return;
        case TNodeType::ntDocument:
        case TNodeType::ntElement:
            break;
    }
    out += node.NodeName();
    for (const auto& a : node.Attributes()) out += " @" + *a.Name + "=[" + a.Value + "]";
    if (!node.HasChildNodes()) return;
    out += "{";
    for (size_t i = 0; i < node.ChildCount(); ++i) {
        if (i) out += ",";
        DumpNode(*node.ChildNode(i), out);
    }
    out += "}";
}

inline std::string Dump(TXMLDocument& doc) {
    std::string out;
    DumpNode(doc.Node(), out);
    return out;
}

}  // namespace tv::test
