#pragma once
// How the import reads the loaded file: items are the children of a container in document order,
// comments passed over; positions count every child, comments included, from 0 (they are the
// numbers in messages). Elements are found by exact name; an element's text is its one text.

#include <string>
#include <string_view>

#include "platform/xml/xml_node.h"

namespace tv {

// Calls `visit(item, position)` for every child of `container` that is not a comment, in order,
// until it answers false.
template <class Visit>
void ForEachItem(const TXMLNode& container, Visit&& visit) {
    const auto& children = container.ChildNodes();
    for (size_t position = 0; position < children.size(); ++position) {
        TXMLNode* child = children[position];
        if (child->NodeType() == TNodeType::ntComment) continue;
        if (!visit(*child, static_cast<int>(position))) return;
    }
}

inline bool IsElement(const TXMLNode& node) {
    return node.NodeType() == TNodeType::ntElement;
}

// The first child element of that name, or null (a node that is no element has none).
inline TXMLNode* ChildElement(const TXMLNode& node, std::string_view name) {
    return IsElement(node) ? node.FindNode(name) : nullptr;
}

// The item's first element of that name; a missing one is added as the item's last child.
inline TXMLNode& ElementOf(TXMLNode& item, std::string_view name) {
    TXMLNode* element = ChildElement(item, name);
    return element ? *element : *item.AddChild(name);
}

// The text of the first child element of that name; empty when there is none.
inline std::string ChildText(const TXMLNode& node, std::string_view name) {
    const TXMLNode* child = ChildElement(node, name);
    return child ? child->Text() : std::string();
}

}  // namespace tv
