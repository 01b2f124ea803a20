#include "platform/xml/xml_node.h"

#include <algorithm>

#include "platform/xml/xml_chars.h"
#include "platform/xml/xml_document.h"
#include "platform/xml/xml_error.h"

namespace tv {
namespace {

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

void CheckName(std::string_view name, const char* what) {
    if (!IsXmlName(name))
        throw EXMLDocError(std::string("\"") + std::string(name) + "\" is not a valid XML " + what + " name");
}

void CheckChars(std::string_view text, const char* what, std::string_view owner) {
    if (auto fault = FindXmlCharFault(text))
        throw EXMLDocError(std::string(what) + " of \"" + std::string(owner) +
                           "\" cannot hold the character " + DescribeXmlCharFault(text, fault) +
                           " (position " + std::to_string(fault.Position + 1) + ")");
}

}  // namespace

void TXMLNode::RequireElement(const char* operation) const {
    if (type_ != TNodeType::ntElement)
        throw EXMLDocError(std::string(operation) + " needs an element, not \"" + *name_ + "\"");
}

TXMLNode* TXMLNode::ChildNode(size_t index) const {
    if (index >= children_.size())
        throw EXMLDocError("Child node " + std::to_string(index) + " of \"" + *name_ + "\" does not exist (" +
                           std::to_string(children_.size()) + " nodes)");
    return children_[index];
}

TXMLNode* TXMLNode::FindNode(std::string_view name) const {
    for (TXMLNode* child : children_)
        if (child->type_ == TNodeType::ntElement && *child->name_ == name) return child;
    return nullptr;
}

void TXMLNode::Attach(TXMLNode* child) {
    child->parent_ = this;
    children_.push_back(child);
}

TXMLNode* TXMLNode::AddChild(std::string_view name) {
    if (type_ == TNodeType::ntDocument) {
        if (doc_->DocumentElement())
            throw EXMLDocError("The document already has the document element \"" +
                               doc_->DocumentElement()->NodeName() + "\"");
    } else {
        RequireElement("Adding a child");
    }
    CheckName(name, "element");
    TXMLNode* child = doc_->NewNode(TNodeType::ntElement, doc_->InternName(name));
    Attach(child);
    return child;
}

void TXMLNode::AppendChild(TXMLNode* element) {
    if (type_ != TNodeType::ntDocument) RequireElement("Appending a child");
    if (!element || element->doc_ != doc_ || element->type_ != TNodeType::ntElement)
        throw EXMLDocError("Only an element of the same document can be appended to \"" + *name_ + "\"");
    for (const TXMLNode* n = this; n; n = n->parent_)
        if (n == element) throw EXMLDocError("\"" + *name_ + "\" cannot be appended inside itself");
    if (type_ == TNodeType::ntDocument && element->parent_ != this && doc_->DocumentElement())
        throw EXMLDocError("The document already has the document element \"" +
                           doc_->DocumentElement()->NodeName() + "\"");
    if (TXMLNode* old = element->parent_) {
        auto& siblings = old->children_;
        siblings.erase(std::find(siblings.begin(), siblings.end(), element));
    }
    Attach(element);
}

void TXMLNode::RemoveChild(TXMLNode* child) {
    auto it = std::find(children_.rbegin(), children_.rend(), child);
    if (it == children_.rend()) throw EXMLDocError("The node to remove is not a child of \"" + *name_ + "\"");
    children_.erase(std::next(it).base());
    doc_->FreeSubtree(child);
}

void TXMLNode::ClearChildNodes() {
    for (TXMLNode* child : children_) doc_->FreeSubtree(child);
    children_.clear();
}

bool TXMLNode::IsTextElement() const {
    return type_ == TNodeType::ntElement && children_.size() == 1 && children_[0]->type_ == TNodeType::ntText;
}

const std::string& TXMLNode::Text() const {
    if (type_ != TNodeType::ntElement && type_ != TNodeType::ntDocument) return value_;
    if (children_.empty()) return EmptyText();
    if (IsTextElement()) return children_[0]->value_;
    throw EXMLDocError("\"" + *name_ + "\" does not hold a single text");
}

void TXMLNode::SetText(std::string_view text) {
    switch (type_) {
        case TNodeType::ntElement:
            CheckChars(text, "The text", *name_);
            if (IsTextElement() && !text.empty()) {
                children_[0]->value_.assign(text);
                return;
            }
            ClearChildNodes();
            if (!text.empty()) {
                TXMLNode* node = doc_->NewNode(TNodeType::ntText, nullptr);
                node->value_.assign(text);
                Attach(node);
            }
            return;
        case TNodeType::ntText:
            CheckChars(text, "The text", "#text");
            value_.assign(text);
            return;
        case TNodeType::ntComment:
            CheckChars(text, "The comment", "#comment");
            if (text.find("--") != std::string_view::npos || (!text.empty() && text.back() == '-'))
                throw EXMLDocError("A comment cannot hold \"--\" or end with \"-\"");
            value_.assign(text);
            return;
        case TNodeType::ntProcessingInstr:
            CheckChars(text, "The instruction", *name_);
            if (text.find("?>") != std::string_view::npos)
                throw EXMLDocError("A processing instruction cannot hold \"?>\"");
            value_.assign(text);
            return;
        case TNodeType::ntDocument:
            break;
    }
    throw EXMLDocError("The document node holds no text");
}

const std::string* TXMLNode::FindAttribute(std::string_view name) const {
    for (const auto& a : attributes_)
        if (*a.Name == name) return &a.Value;
    return nullptr;
}

const std::string& TXMLNode::Attribute(std::string_view name) const {
    const std::string* value = FindAttribute(name);
    return value ? *value : EmptyText();
}

void TXMLNode::SetAttribute(std::string_view name, std::string_view value) {
    RequireElement("Setting an attribute");
    for (auto& a : attributes_)
        if (*a.Name == name) {
            CheckChars(value, "The attribute", name);
            a.Value.assign(value);
            return;
        }
    CheckName(name, "attribute");
    CheckChars(value, "The attribute", name);
    attributes_.push_back({doc_->InternName(name), std::string(value)});
}

bool TXMLNode::RemoveAttribute(std::string_view name) {
    auto it =
        std::find_if(attributes_.begin(), attributes_.end(), [&](const auto& a) { return *a.Name == name; });
    if (it == attributes_.end()) return false;
    attributes_.erase(it);
    return true;
}

}  // namespace tv
