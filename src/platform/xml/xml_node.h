#pragma once
// One node of an XML document: the document node, an element, a text, a comment or a processing
// instruction. Nodes belong to their TXMLDocument; a pointer to one stays valid until the node is
// removed from its parent or the document is closed or loaded again.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TXMLDocument;

enum class TNodeType : uint8_t { ntElement, ntText, ntComment, ntProcessingInstr, ntDocument };

struct TXMLAttribute {
    const std::string* Name;  // held by the document's name pool
    std::string Value;
};

class TXMLNode {
public:
    TNodeType NodeType() const { return type_; }
    // The element's or instruction's name; "#text", "#comment", "#document" for the others.
    const std::string& NodeName() const { return *name_; }
    TXMLNode* ParentNode() const { return parent_; }
    TXMLDocument& OwnerDocument() const { return *doc_; }

    // Child nodes in document order, comments and texts included: positions count every one.
    const std::vector<TXMLNode*>& ChildNodes() const { return children_; }
    size_t ChildCount() const { return children_.size(); }
    TXMLNode* ChildNode(size_t index) const;  // raises EXMLDocError outside the list
    bool HasChildNodes() const { return !children_.empty(); }
    // The first child element with exactly this name (case counts), or null.
    TXMLNode* FindNode(std::string_view name) const;

    // Appends a new element; the name must be an XML name. The document node takes one element.
    TXMLNode* AddChild(std::string_view name);
    // Appends an element created by the same document, moving it from where it was.
    void AppendChild(TXMLNode* element);
    // Removes and frees a child with its subtree; pointers into it become invalid.
    void RemoveChild(TXMLNode* child);
    void ClearChildNodes();

    // An element's text: empty without children, the text of a single text child, otherwise an
    // EXMLDocError. Texts, comments and instructions give their own value.
    const std::string& Text() const;
    // Replaces an element's children by one text (none for an empty text). Raises EXMLDocError
    // for a character XML cannot carry, leaving the node unchanged.
    void SetText(std::string_view text);
    bool IsTextElement() const;

    const std::vector<TXMLAttribute>& Attributes() const { return attributes_; }
    bool HasAttribute(std::string_view name) const { return FindAttribute(name) != nullptr; }
    const std::string* FindAttribute(std::string_view name) const;
    // The attribute's value; empty when absent.
    const std::string& Attribute(std::string_view name) const;
    // Sets or adds an attribute; a new one goes last. Name and value are checked as for SetText.
    void SetAttribute(std::string_view name, std::string_view value);
    bool RemoveAttribute(std::string_view name);

private:
    friend class TXMLDocument;
    friend class TXmlTreeBuilder;

    void RequireElement(const char* operation) const;
    void Attach(TXMLNode* child);

    TXMLDocument* doc_ = nullptr;
    TXMLNode* parent_ = nullptr;
    const std::string* name_ = nullptr;
    TNodeType type_ = TNodeType::ntElement;
    std::string value_;  // text, comment and instruction content
    std::vector<TXMLNode*> children_;
    std::vector<TXMLAttribute> attributes_;
};

}  // namespace tv
