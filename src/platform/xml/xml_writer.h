#pragma once
// The serializer behind TXMLDocument's save operations: the exact bytes of the interchange files.

#include <string>
#include <string_view>

#include "platform/rtl/text_file.h"
#include "platform/xml/xml_node.h"

namespace tv {

enum class TXmlCharset { Utf8, Latin1, Cp1252, Utf16LE };

// The charset an encoding name stands for; raises EXMLDocError for one we cannot write.
TXmlCharset XmlCharsetForEncoding(std::string_view encoding);

// Appends the document: the declaration naming `encoding`, then the document node's children. With
// `indent` every element gets its own line and a tab per level (an element holding text keeps its
// content on one line); without it only the declaration and the end get a line end. Characters the
// charset lacks are written as decimal references. Utf16LE is produced by the caller from Utf8.
// With `pieces`, whenever `out` holds kXmlPieceBytes or more between two nodes, and at the end, it
// is handed to `pieces` and emptied (a piece ends between two nodes): a large document is never held whole as bytes.
void WriteXmlDocument(const TXMLNode& documentNode, std::string_view encoding, bool indent,
                      TXmlCharset charset, std::string& out, const TBytePieceSink* pieces = nullptr);
inline constexpr size_t kXmlPieceBytes = 64 * 1024;

}  // namespace tv
