#include "platform/xml/xml_document.h"

#include <algorithm>

#include "platform/rtl/codepage.h"
#include "platform/rtl/text_file.h"
#include "platform/xml/xml_chars.h"
#include "platform/xml/xml_writer.h"

namespace tv {
namespace {

constexpr size_t kChunkNodes = 1024;
constexpr size_t kKeptValueCapacity = 256;  // larger buffers of freed nodes are given back

const std::string kTextName = "#text";
const std::string kCommentName = "#comment";
const std::string kDocumentName = "#document";

}  // namespace

TXMLDocument::TXMLDocument() = default;
TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::RequireActive(const char* operation) const {
    if (!active_) throw EXMLDocError(std::string(operation) + " needs an active document");
}

void TXMLDocument::SetActive(bool active) {
    if (active == active_) return;
    if (!active) {
        chunks_.clear();
        freeNodes_.clear();
        names_.clear();
        usedInLastChunk_ = 0;
        documentNode_ = nullptr;
        encoding_.clear();
        active_ = false;
        return;
    }
    if (!fileName_.empty()) {
        LoadFromFile(fileName_);
        return;
    }
    Reset();
}

void TXMLDocument::Reset() {
    SetActive(false);
    documentNode_ = NewNode(TNodeType::ntDocument, &kDocumentName);
    active_ = true;
}

void TXMLDocument::SetEncoding(std::string_view encoding) {
    RequireActive("Setting the encoding");
    encoding_.assign(encoding);
}

TXMLNode& TXMLDocument::Node() {
    RequireActive("Reaching the document node");
    return *documentNode_;
}

TXMLNode* TXMLDocument::DocumentElement() const {
    if (!active_) return nullptr;
    for (TXMLNode* child : documentNode_->children_)
        if (child->type_ == TNodeType::ntElement) return child;
    return nullptr;
}

void TXMLDocument::SetDocumentElement(TXMLNode* element) {
    RequireActive("Setting the document element");
    TXMLNode* old = DocumentElement();
    if (element == old) return;
    auto& top = documentNode_->children_;
    if (!element) {
        documentNode_->RemoveChild(old);
        return;
    }
    if (element->doc_ != this || element->type_ != TNodeType::ntElement)
        throw EXMLDocError("Only an element of the same document can be the document element");
    if (TXMLNode* parent = element->parent_) {
        auto& siblings = parent->children_;
        siblings.erase(std::find(siblings.begin(), siblings.end(), element));
    }
    element->parent_ = documentNode_;
    if (!old) {
        top.push_back(element);
        return;
    }
    *std::find(top.begin(), top.end(), old) = element;
    FreeSubtree(old);
}

TXMLNode* TXMLDocument::CreateElement(std::string_view name) {
    RequireActive("Creating an element");
    if (!IsXmlName(name)) throw EXMLDocError("\"" + std::string(name) + "\" is not a valid XML element name");
    return NewNode(TNodeType::ntElement, InternName(name));
}

const std::string* TXMLDocument::InternName(std::string_view name) {
    auto it = names_.find(name);
    if (it == names_.end()) it = names_.emplace(name).first;
    return &*it;
}

TXMLNode* TXMLDocument::NewNode(TNodeType type, const std::string* name) {
    TXMLNode* node;
    if (!freeNodes_.empty()) {
        node = freeNodes_.back();
        freeNodes_.pop_back();
    } else {
        if (chunks_.empty() || usedInLastChunk_ == kChunkNodes) {
            chunks_.push_back(std::make_unique<TXMLNode[]>(kChunkNodes));
            usedInLastChunk_ = 0;
        }
        node = &chunks_.back()[usedInLastChunk_++];
    }
    node->doc_ = this;
    node->parent_ = nullptr;
    node->type_ = type;
    if (!name) name = type == TNodeType::ntComment ? &kCommentName : &kTextName;
    node->name_ = name;
    return node;
}

void TXMLDocument::FreeSubtree(TXMLNode* node) {
    std::vector<TXMLNode*> pending{node};
    while (!pending.empty()) {
        TXMLNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children_.begin(), n->children_.end());
        n->children_.clear();
        n->attributes_.clear();
        n->value_.clear();
        if (n->value_.capacity() > kKeptValueCapacity) n->value_.shrink_to_fit();
        n->parent_ = nullptr;
        freeNodes_.push_back(n);
    }
}

void TXMLDocument::LoadFromFile(const std::string& fileName) {
    std::string bytes = ReadFileBytes(fileName);
    ParseInto(bytes, fileName, false);
    fileName_ = fileName;
}

void TXMLDocument::LoadFromBytes(std::string_view bytes, std::string_view sourceName) {
    ParseInto(bytes, sourceName, false);
}

void TXMLDocument::LoadFromXML(std::string_view text) {
    ParseInto(text, {}, true);
}

void TXMLDocument::SaveInPieces(const TBytePieceSink& put) const {
    RequireActive("Saving");
    const TXmlCharset charset = XmlCharsetForEncoding(encoding_);
    std::string out;
    if (charset != TXmlCharset::Utf16LE) {
        WriteXmlDocument(*documentNode_, encoding_, indent_, charset, out, &put);
        return;
    }
    // Written as UTF-8 and turned into UTF-16 piece by piece: a piece ends between two nodes, so
    // never inside a character.
    put("\xFF\xFE");
    std::string bytes;
    const TBytePieceSink wide = [&](std::string_view piece) {
        bytes.clear();
        for (char16_t c : Utf8ToUtf16(piece)) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        put(bytes);
    };
    WriteXmlDocument(*documentNode_, encoding_, indent_, TXmlCharset::Utf8, out, &wide);
}

std::string TXMLDocument::SaveToBytes() const {
    std::string bytes;
    SaveInPieces([&](std::string_view piece) { bytes += piece; });
    return bytes;
}

std::string TXMLDocument::SaveToXML() const {
    RequireActive("Saving");
    std::string out;
    WriteXmlDocument(*documentNode_, encoding_, indent_, TXmlCharset::Utf8, out);
    return out;
}

void TXMLDocument::SaveToFile(const std::string& fileName) {
    const std::string& target = fileName.empty() ? fileName_ : fileName;
    if (target.empty()) throw EXMLDocError("Saving needs a file name");
    WriteFileBytesReplacing(target, [&](const TBytePieceSink& put) { SaveInPieces(put); });
}

}  // namespace tv
