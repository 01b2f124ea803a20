// Loading: libxml2's SAX interface feeds our own tree directly. The handler knows no entities but
// the five predefined ones and has no DTD callbacks, so no external entity, external subset or
// parameter entity is ever read, and no entity can expand.

#include <libxml/encoding.h>
#include <libxml/entities.h>
#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <exception>
#include <unordered_map>

#include "platform/rtl/codepage.h"
#include "platform/xml/xml_document.h"

namespace tv {
namespace {

const char* Chars(const xmlChar* s) {
    return reinterpret_cast<const char*>(s);
}

bool IsBlank(std::string_view s) {
    for (char c : s)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return false;
    return true;
}

std::string ScanEncodingDeclaration(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (text.substr(0, 5) != "<?xml" || text.size() < 6 || !std::strchr(" \t\r\n", text[5])) return {};
    text = text.substr(0, text.find("?>"));
    size_t pos = text.find("encoding");
    if (pos == std::string_view::npos) return {};
    pos += 8;
    auto skipBlanks = [&] {
        while (pos < text.size() && std::strchr(" \t\r\n", text[pos])) ++pos;
    };
    skipBlanks();
    if (pos >= text.size() || text[pos] != '=') return {};
    ++pos;
    skipBlanks();
    if (pos >= text.size() || (text[pos] != '"' && text[pos] != '\'')) return {};
    size_t end = text.find(text[pos], pos + 1);
    if (end == std::string_view::npos) return {};
    return std::string(text.substr(pos + 1, end - pos - 1));
}

// The encoding a file's declaration names, also in a UTF-16 file.
std::string DeclaredEncoding(std::string_view bytes) {
    std::string_view head = bytes.substr(0, 512);
    bool le = head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 4) == std::string_view("<\0?\0", 4);
    bool be = head.substr(0, 2) == "\xFE\xFF" || head.substr(0, 4) == std::string_view("\0<\0?", 4);
    if (!le && !be) return ScanEncodingDeclaration(head);
    if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") head.remove_prefix(2);
    std::u16string wide;
    for (size_t i = 0; i + 1 < head.size(); i += 2) {
        auto lo = static_cast<unsigned char>(head[le ? i : i + 1]);
        auto hi = static_cast<unsigned char>(head[le ? i + 1 : i]);
        wide += static_cast<char16_t>(lo | hi << 8);
    }
    return ScanEncodingDeclaration(Utf16ToUtf8(wide));
}

// Windows-1252 as the rest of the system reads it: the five bytes the code page leaves undefined
// become the C1 controls of the same value, so no file declared "windows-1252" is refused for them.
int Cp1252Input(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    // Called from libxml2's C code: nothing here allocates or raises.
    int written = 0, read = 0;
    while (read < *inLength) {
        const char32_t c = Cp1252ToUnicode(in[read]);
        const int bytes = c < 0x80 ? 1 : (c < 0x800 ? 2 : 3);
        if (written + bytes > *outLength) break;
        if (bytes == 1) {
            out[written] = static_cast<unsigned char>(c);
        } else if (bytes == 2) {
            out[written] = static_cast<unsigned char>(0xC0 | (c >> 6));
            out[written + 1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            out[written] = static_cast<unsigned char>(0xE0 | (c >> 12));
            out[written + 1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            out[written + 2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        written += bytes;
        ++read;
    }
    *outLength = written;
    *inLength = read;
    return written;
}

void RegisterCp1252Decoder() {
    static const bool registered = [] {
        xmlNewCharEncodingHandler("WINDOWS-1252", Cp1252Input, nullptr);  // registers itself
        xmlAddEncodingAlias("WINDOWS-1252", "CP1252");
        return true;
    }();
    (void)registered;
}

}  // namespace

// Builds the tree from SAX events. Blank text between markup is layout, not content, and is
// dropped; an element whose whole content is blank keeps it, so a value of blanks reads back.
class TXmlTreeBuilder {
public:
    explicit TXmlTreeBuilder(TXMLDocument& doc) : doc_(doc) { open_.push_back(doc.documentNode_); }

    static void InitHandler(xmlSAXHandler& sax) {
        std::memset(&sax, 0, sizeof sax);
        sax.initialized = XML_SAX2_MAGIC;
        sax.startElementNs = StartElement;
        sax.endElementNs = EndElement;
        sax.characters = Characters;
        sax.ignorableWhitespace = Characters;
        sax.comment = Comment;
        sax.processingInstruction = Instruction;
        sax.getEntity = GetEntity;
        sax.serror = Error;
    }

    void SetContext(xmlParserCtxtPtr ctxt) { ctxt_ = ctxt; }
    bool Failed() const { return failed_; }
    int Line() const { return line_; }
    int Column() const { return column_; }
    const std::string& Reason() const { return reason_; }
    std::exception_ptr Thrown() const { return thrown_; }

private:
    static TXmlTreeBuilder& Self(void* ctx) { return *static_cast<TXmlTreeBuilder*>(ctx); }

    // Exceptions must not cross libxml2's C frames: the first one is kept and rethrown afterwards.
    template <typename F>
    static void Guard(void* ctx, F&& f) {
        TXmlTreeBuilder& self = Self(ctx);
        if (self.failed_) return;
        try {
            f(self);
        } catch (...) {
            self.thrown_ = std::current_exception();
            self.Fail(0, 0, "");
            if (self.ctxt_) xmlStopParser(self.ctxt_);  // safe from a SAX callback
        }
    }

    void Fail(int line, int column, std::string reason) {
        if (failed_) return;
        failed_ = true;
        line_ = line;
        column_ = column;
        reason_ = std::move(reason);
    }

    const std::string* Name(const xmlChar* prefix, const xmlChar* local) {
        if (prefix) {
            std::string qualified = Chars(prefix);
            qualified += ':';
            qualified += Chars(local);
            return doc_.InternName(qualified);
        }
        // libxml2 keeps one copy of each name per parse, so its pointer is a key.
        auto [it, added] = names_.try_emplace(local, nullptr);
        if (added) it->second = doc_.InternName(Chars(local));
        return it->second;
    }

    void Append(TXMLNode* node) { open_.back()->Attach(node); }

    void FlushText(bool atEnd) {
        if (text_.empty()) return;
        TXMLNode* parent = open_.back();
        if (IsBlank(text_) &&
            (!atEnd || parent->HasChildNodes() || parent->NodeType() == TNodeType::ntDocument)) {
            text_.clear();
            return;
        }
        TXMLNode* node = doc_.NewNode(TNodeType::ntText, nullptr);
        node->value_.assign(text_);
        Append(node);
        text_.clear();
    }

    static void StartElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar*,
                             int nbNamespaces, const xmlChar** namespaces, int nbAttributes, int nbDefaulted,
                             const xmlChar** attributes) {
        Guard(ctx, [&](TXmlTreeBuilder& self) {
            self.FlushText(false);
            TXMLNode* element = self.doc_.NewNode(TNodeType::ntElement, self.Name(prefix, localname));
            int given = nbAttributes - nbDefaulted;
            element->attributes_.reserve(static_cast<size_t>(nbNamespaces + given));
            for (int i = 0; i < nbNamespaces; ++i) {
                const xmlChar* nsPrefix = namespaces[2 * i];
                const xmlChar* uri = namespaces[2 * i + 1];
                std::string name = nsPrefix ? std::string("xmlns:") + Chars(nsPrefix) : std::string("xmlns");
                element->attributes_.push_back({self.doc_.InternName(name), uri ? Chars(uri) : ""});
            }
            for (int i = 0; i < given; ++i) {
                const xmlChar** a = attributes + 5 * i;
                element->attributes_.push_back(
                    {self.Name(a[1], a[0]), std::string(Chars(a[3]), static_cast<size_t>(a[4] - a[3]))});
            }
            self.Append(element);
            self.open_.push_back(element);
        });
    }

    static void EndElement(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) {
        Guard(ctx, [](TXmlTreeBuilder& self) {
            self.FlushText(true);
            self.open_.pop_back();
        });
    }

    static void Characters(void* ctx, const xmlChar* ch, int len) {
        Guard(ctx, [&](TXmlTreeBuilder& self) { self.text_.append(Chars(ch), static_cast<size_t>(len)); });
    }

    static void Comment(void* ctx, const xmlChar* value) {
        Guard(ctx, [&](TXmlTreeBuilder& self) {
            self.FlushText(false);
            TXMLNode* node = self.doc_.NewNode(TNodeType::ntComment, nullptr);
            node->value_.assign(Chars(value));
            self.Append(node);
        });
    }

    static void Instruction(void* ctx, const xmlChar* target, const xmlChar* data) {
        Guard(ctx, [&](TXmlTreeBuilder& self) {
            self.FlushText(false);
            TXMLNode* node =
                self.doc_.NewNode(TNodeType::ntProcessingInstr, self.doc_.InternName(Chars(target)));
            if (data) node->value_.assign(Chars(data));
            self.Append(node);
        });
    }

    static xmlEntityPtr GetEntity(void*, const xmlChar* name) { return xmlGetPredefinedEntity(name); }

public:
    static void Error(void* ctx, xmlErrorPtr error) {
        // Warnings pass, except an entity that could not be expanded: its text would be lost. The
        // parser is not stopped from here (it may be inside an encoding switch); after a fatal
        // error it stops itself, after another one our callbacks ignore what follows.
        if (error->level == XML_ERR_WARNING && error->code != XML_WAR_UNDECLARED_ENTITY) return;
        TXmlTreeBuilder& self = Self(ctx);
        try {
            std::string reason = error->message ? error->message : "unknown error";
            while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
            if (error->code == XML_ERR_UNDECLARED_ENTITY || error->code == XML_WAR_UNDECLARED_ENTITY)
                reason += " (only the predefined entities and character references are read)";
            self.Fail(error->line, error->int2, std::move(reason));
        } catch (...) {
            // Out of memory: the failure is raised once the parser has returned, never through it.
            if (!self.thrown_) self.thrown_ = std::current_exception();
            self.Fail(error->line, error->int2, {});
        }
    }

    TXMLDocument& doc_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    std::vector<TXMLNode*> open_;
    std::string text_;
    std::unordered_map<const xmlChar*, const std::string*> names_;
    bool failed_ = false;
    int line_ = 0;
    int column_ = 0;
    std::string reason_;
    std::exception_ptr thrown_;
};

void TXMLDocument::ParseInto(std::string_view bytes, std::string_view sourceName, bool forceUtf8) {
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        throw EXMLDocError("The XML document \"" + std::string(sourceName) + "\" is larger than 2 GB");
    RegisterCp1252Decoder();
    Reset();
    auto fail = [&](int line, int column, const std::string& reason) {
        SetActive(false);
        std::string message = sourceName.empty() ? std::string() : std::string(sourceName) + ": ";
        message += "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + reason;
        throw EXMLParseError(std::move(message), line, column, reason);
    };
    if (bytes.empty()) fail(1, 1, "Document is empty");  // the parser takes no empty input
    TXmlTreeBuilder builder(*this);
    xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size()));
    if (!ctxt) {
        SetActive(false);
        throw EXMLDocError("The XML parser could not be started");
    }
    TXmlTreeBuilder::InitHandler(*ctxt->sax);
    ctxt->userData = &builder;
    builder.SetContext(ctxt);
    int options = XML_PARSE_NONET | XML_PARSE_NOENT;
    if (forceUtf8) {
        xmlSwitchEncoding(ctxt, XML_CHAR_ENCODING_UTF8);
        options |= XML_PARSE_IGNORE_ENC;
    }
    xmlCtxtUseOptions(ctxt, options);
    // Errors raised outside the parser's context (a byte the declared encoding lacks) come
    // through the thread's handler; they go to the builder too instead of to stderr.
    xmlStructuredErrorFunc oldHandler = xmlStructuredError;
    void* oldContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(&builder, TXmlTreeBuilder::Error);
    xmlParseDocument(ctxt);
    xmlSetStructuredErrorFunc(oldContext, oldHandler);
    bool wellFormed = ctxt->wellFormed != 0;
    if (ctxt->myDoc) xmlFreeDoc(ctxt->myDoc);  // where libxml2 keeps declarations it met
    xmlFreeParserCtxt(ctxt);

    if (builder.Thrown()) {
        SetActive(false);
        std::rethrow_exception(builder.Thrown());
    }
    if (builder.Failed() || !wellFormed)
        fail(builder.Line(), builder.Column(),
             builder.Reason().empty() ? "The document is not well-formed" : builder.Reason());
    encoding_ = forceUtf8 ? ScanEncodingDeclaration(bytes.substr(0, 512)) : DeclaredEncoding(bytes);
}

}  // namespace tv
