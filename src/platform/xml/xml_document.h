#pragma once
// The XML document object: load from a file, from bytes or from text (libxml2 reads every declared
// encoding; external entities and DTDs are never read), build and change the tree, save through our
// own serializer. The saved form: the declaration with the document's encoding, CRLF line ends, one
// tab per level, "<x/>" for an empty element, "&lt; &gt; &amp;" escaped (and "&quot;" in
// attributes), characters the encoding lacks as "&#N;".

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/xml/xml_error.h"
#include "platform/xml/xml_node.h"
#include "platform/xml/xml_writer.h"

namespace tv {

class TXMLDocument {
public:
    TXMLDocument();
    ~TXMLDocument();
    TXMLDocument(const TXMLDocument&) = delete;
    TXMLDocument& operator=(const TXMLDocument&) = delete;

    // An inactive document holds no nodes. Activating it loads FileName when one is set, otherwise
    // it starts empty; deactivating it discards the content.
    bool Active() const { return active_; }
    void SetActive(bool active);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

    // The encoding the declaration names ("ISO-8859-1", "UTF-8" ...): taken from a loaded file,
    // written on save. Empty means UTF-8 and a declaration without encoding. Needs an active document.
    const std::string& Encoding() const { return encoding_; }
    void SetEncoding(std::string_view encoding);
    // One tab per level and a line per element (the default), or no layout at all.
    bool Indent() const { return indent_; }
    void SetIndent(bool indent) { indent_ = indent; }

    // The document node: the document element with the comments and instructions around it.
    TXMLNode& Node();
    TXMLNode* DocumentElement() const;
    // Makes `element` (created by this document) the document element, freeing the one before.
    void SetDocumentElement(TXMLNode* element);
    // A new element that belongs to no parent yet.
    TXMLNode* CreateElement(std::string_view name);
    // Adds the document element; raises when there is one.
    TXMLNode* AddChild(std::string_view name) { return Node().AddChild(name); }

    // Loading replaces the content and activates the document. A file that is not well-formed
    // raises EXMLParseError with the parser's line; a file that cannot be read, EFOpenError.
    void LoadFromFile(const std::string& fileName);
    // The bytes of a file: its declaration or byte-order mark decides the encoding.
    void LoadFromBytes(std::string_view bytes, std::string_view sourceName = {});
    // UTF-8 text; an encoding the declaration names is kept for saving but not applied.
    void LoadFromXML(std::string_view text);

    // Saving to a file replaces it whole (a temporary file renamed over it). Empty: FileName.
    void SaveToFile(const std::string& fileName = {});
    // The file's bytes, in the document's encoding.
    std::string SaveToBytes() const;
    // The same bytes handed to `put` in pieces of about kXmlPieceBytes, for writing a large
    // document out without holding its bytes whole.
    void SaveInPieces(const TBytePieceSink& put) const;
    // The same layout as UTF-8 text, every character as itself.
    std::string SaveToXML() const;

private:
    friend class TXMLNode;
    friend class TXmlTreeBuilder;

    void RequireActive(const char* operation) const;
    void Reset();
    void ParseInto(std::string_view bytes, std::string_view sourceName, bool forceUtf8);
    const std::string* InternName(std::string_view name);
    TXMLNode* NewNode(TNodeType type, const std::string* name);
    void FreeSubtree(TXMLNode* node);

    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return a == b; }
    };

    bool active_ = false;
    bool indent_ = true;
    std::string fileName_;
    std::string encoding_;
    TXMLNode* documentNode_ = nullptr;
    // Nodes live in chunks and are recycled through a free list, so that a run which rebuilds the
    // tree per record does not allocate anew each time.
    std::vector<std::unique_ptr<TXMLNode[]>> chunks_;
    size_t usedInLastChunk_ = 0;
    std::vector<TXMLNode*> freeNodes_;
    std::unordered_set<std::string, NameHash, NameEqual> names_;
};

}  // namespace tv
