#include "platform/xml/xml_writer.h"

#include <array>
#include <vector>

#include "platform/rtl/codepage.h"
#include "platform/xml/xml_error.h"

namespace tv {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

struct CharsetName {
    std::string_view name;
    TXmlCharset charset;
};
constexpr CharsetName kCharsetNames[] = {
    {"", TXmlCharset::Utf8},
    {"UTF-8", TXmlCharset::Utf8},
    {"UTF8", TXmlCharset::Utf8},
    {"ISO-8859-1", TXmlCharset::Latin1},
    {"ISO8859-1", TXmlCharset::Latin1},
    {"ISO_8859-1", TXmlCharset::Latin1},
    {"ISO-LATIN-1", TXmlCharset::Latin1},
    {"LATIN1", TXmlCharset::Latin1},
    {"WINDOWS-1252", TXmlCharset::Cp1252},
    {"CP1252", TXmlCharset::Cp1252},
    {"UTF-16", TXmlCharset::Utf16LE},
    {"UTF16", TXmlCharset::Utf16LE},
};

// Which ASCII bytes need an entity in text and in attribute values.
enum Escape : unsigned char { kPlain = 0, kText = 1, kAttribute = 2 };
constexpr std::array<unsigned char, 128> MakeEscapeTable() {
    std::array<unsigned char, 128> t{};
    t['<'] = t['>'] = t['&'] = t['\r'] = kText | kAttribute;
    t['"'] = t['\t'] = t['\n'] = kAttribute;
    return t;
}
constexpr auto kEscapeTable = MakeEscapeTable();

void AppendReference(std::string& out, char32_t c) {
    char buf[16];
    char* end = buf + sizeof buf;
    char* p = end;
    *--p = ';';
    do {
        *--p = static_cast<char>('0' + c % 10);
        c /= 10;
    } while (c);
    *--p = '#';
    *--p = '&';
    out.append(p, end);
}

void AppendEntity(std::string& out, char c) {
    switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            AppendReference(out, static_cast<unsigned char>(c));
            break;  // tab, LF, CR
    }
}

class Writer {
public:
    Writer(TXmlCharset charset, bool indent, std::string& out, const TBytePieceSink* pieces)
        : charset_(charset), indent_(indent), out_(out), pieces_(pieces) {}

    void Document(const TXMLNode& doc, std::string_view encoding) {
        out_ += "<?xml version=\"1.0\"";
        if (!encoding.empty()) {
            out_ += " encoding=\"";
            out_ += encoding;
            out_ += '"';
        }
        out_ += "?>";
        out_ += kLineEnd;
        for (const TXMLNode* child : doc.ChildNodes()) Node(*child, 0, indent_);
        if (!indent_) out_ += kLineEnd;
        if (pieces_) HandOver();
    }

private:
    // Written as an explicit stack: trees built in code have no depth limit.
    struct Open {
        const TXMLNode* element;
        size_t next;
        size_t depth;
    };

    void Node(const TXMLNode& root, size_t rootDepth, bool layout) {
        std::vector<Open> stack;
        const TXMLNode* node = &root;
        size_t depth = rootDepth;
        for (;;) {
            if (pieces_ && out_.size() >= kXmlPieceBytes) HandOver();
            if (node) {
                if (StartNode(*node, depth, layout)) stack.push_back({node, 0, depth});
            }
            if (stack.empty()) return;
            Open& top = stack.back();
            const auto& children = top.element->ChildNodes();
            if (top.next < children.size()) {
                node = children[top.next++];
                depth = top.depth + 1;
                continue;
            }
            Indent(top.depth, layout);
            out_ += "</";
            Chars(top.element->NodeName(), kPlain, false);
            out_ += '>';
            LineEnd(layout);
            stack.pop_back();
            node = nullptr;
        }
    }

    // Writes a node whole, or an element's start tag; true when its children follow on lines.
    bool StartNode(const TXMLNode& node, size_t depth, bool layout) {
        Indent(depth, layout);
        switch (node.NodeType()) {
            case TNodeType::ntText:
                Chars(node.Text(), kText);
                return false;
            case TNodeType::ntComment:
                out_ += "<!--";
                Chars(node.Text(), kPlain, false);
                out_ += "-->";
                LineEnd(layout);
                return false;
            case TNodeType::ntProcessingInstr:
                out_ += "<?";
                Chars(node.NodeName(), kPlain, false);
                if (!node.Text().empty()) {
                    out_ += ' ';
                    Chars(node.Text(), kPlain, false);
                }
                out_ += "?>";
                LineEnd(layout);
                return false;
            case TNodeType::ntDocument:
                return false;
            case TNodeType::ntElement:
                break;
        }
        out_ += '<';
        Chars(node.NodeName(), kPlain, false);
        for (const auto& a : node.Attributes()) {
            out_ += ' ';
            Chars(*a.Name, kPlain, false);
            out_ += "=\"";
            Chars(a.Value, kAttribute);
            out_ += '"';
        }
        const auto& children = node.ChildNodes();
        if (children.empty()) {
            out_ += "/>";
            LineEnd(layout);
            return false;
        }
        out_ += '>';
        bool holdsText = false;
        for (const TXMLNode* child : children)
            if (child->NodeType() == TNodeType::ntText) holdsText = true;
        if (!layout || !holdsText) {
            LineEnd(layout);
            return true;
        }
        // Text content keeps its exact characters: the whole element goes on one line.
        for (const TXMLNode* child : children) Node(*child, 0, false);
        out_ += "</";
        Chars(node.NodeName(), kPlain, false);
        out_ += '>';
        LineEnd(layout);
        return false;
    }

    void HandOver() {
        (*pieces_)(out_);
        out_.clear();
    }

    void Indent(size_t depth, bool layout) {
        if (layout) out_.append(depth, '\t');
    }
    void LineEnd(bool layout) {
        if (layout) out_ += kLineEnd;
    }

    // Appends text with the escapes of `context`, in the output charset. Names, comments and
    // instructions cannot hold references: a character the charset lacks is refused there.
    void Chars(std::string_view s, unsigned char context, bool references = true) {
        size_t run = 0;
        size_t i = 0;
        const size_t n = s.size();
        while (i < n) {
            unsigned char b = static_cast<unsigned char>(s[i]);
            if (b < 0x80) {
                if (kEscapeTable[b] & context) {
                    out_.append(s.data() + run, i - run);
                    AppendEntity(out_, static_cast<char>(b));
                    run = ++i;
                } else {
                    ++i;
                }
                continue;
            }
            if (charset_ == TXmlCharset::Utf8 || charset_ == TXmlCharset::Utf16LE) {
                ++i;
                continue;
            }
            out_.append(s.data() + run, i - run);
            char32_t c = NextUtf8(s, i);
            int byte =
                charset_ == TXmlCharset::Latin1 ? (c <= 0xFF ? static_cast<int>(c) : -1) : UnicodeToCp1252(c);
            if (byte >= 0)
                out_ += static_cast<char>(byte);
            else if (references)
                AppendReference(out_, c);
            else
                throw EXMLDocError("The name, comment or instruction \"" + std::string(s) +
                                   "\" holds a character the document's encoding cannot carry");
            run = i;
        }
        out_.append(s.data() + run, n - run);
    }

    TXmlCharset charset_;
    bool indent_;
    std::string& out_;
    const TBytePieceSink* pieces_;
};

}  // namespace

TXmlCharset XmlCharsetForEncoding(std::string_view encoding) {
    for (const auto& c : kCharsetNames)
        if (SameAscii(c.name, encoding)) return c.charset;
    throw EXMLDocError("The document cannot be saved in the encoding \"" + std::string(encoding) + "\"");
}

void WriteXmlDocument(const TXMLNode& documentNode, std::string_view encoding, bool indent,
                      TXmlCharset charset, std::string& out, const TBytePieceSink* pieces) {
    Writer(charset, indent, out, pieces).Document(documentNode, encoding);
}

}  // namespace tv
