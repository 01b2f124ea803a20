// The saved form of a document, byte for byte, against files written out by hand.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/codepage.h"
#include "platform/xml/xml_document.h"

namespace tv {
namespace {

// An interchange document: declaration, a tab per level, CRLF, empty elements closed at once,
// escapes in text and attributes, a character beyond Latin-1 as a reference.
TEST(XmlWriter, InterchangeDocumentMatchesTheHandWrittenFile) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetEncoding("ISO-8859-1");
    doc.SetDocumentElement(doc.CreateElement("quorvel"));
    TXMLNode* root = doc.DocumentElement();
    root->AddChild("companydata");
    TXMLNode* customer = root->AddChild("customers")->AddChild("atKunder");
    customer->SetAttribute("key", "K<1> & \"2\" 'x'");
    customer->AddChild("CUSTOMER_NAME")->SetText("Åsa & Co <AB>");
    customer->AddChild("CUSTOMER_EMPTY");
    customer->AddChild("CUSTOMER_NOTE")->SetText("5 € per\tår");
    customer->AddChild("CUSTOMER_MEMO")->SetText("rad 1\r\nrad 2");
    customer->AddChild("CUSTOMER_QUOTE")->SetText("\"it's\"");
    root->AddChild("articles");

    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n"
        "<quorvel>\r\n"
        "\t<companydata/>\r\n"
        "\t<customers>\r\n"
        "\t\t<atKunder key=\"K&lt;1&gt; &amp; &quot;2&quot; 'x'\">\r\n"
        "\t\t\t<CUSTOMER_NAME>\xC5sa &amp; Co &lt;AB&gt;</CUSTOMER_NAME>\r\n"
        "\t\t\t<CUSTOMER_EMPTY/>\r\n"
        "\t\t\t<CUSTOMER_NOTE>5 &#8364; per\t\xE5r</CUSTOMER_NOTE>\r\n"
        "\t\t\t<CUSTOMER_MEMO>rad 1&#13;\nrad 2</CUSTOMER_MEMO>\r\n"
        "\t\t\t<CUSTOMER_QUOTE>\"it's\"</CUSTOMER_QUOTE>\r\n"
        "\t\t</atKunder>\r\n"
        "\t</customers>\r\n"
        "\t<articles/>\r\n"
        "</quorvel>\r\n";
    EXPECT_EQ(doc.SaveToBytes(), expected);
}

struct CharsetCase {
    const char* encoding;
    const char* expectedText;  // the bytes of "Å€中" in the file
};
constexpr CharsetCase kCharsetCases[] = {
    {"ISO-8859-1", "\xC5&#8364;&#20013;"},
    {"windows-1252", "\xC5\x80&#20013;"},
    {"UTF-8", "\xC3\x85\xE2\x82\xAC\xE4\xB8\xAD"},
};

TEST(XmlWriter, CharactersTheEncodingLacksBecomeDecimalReferences) {
    for (const auto& c : kCharsetCases) {
        TXMLDocument doc;
        doc.SetActive(true);
        doc.SetEncoding(c.encoding);
        doc.AddChild("v")->SetText("Å€中");
        std::string expected = std::string("<?xml version=\"1.0\" encoding=\"") + c.encoding + "\"?>\r\n<v>" +
                               c.expectedText + "</v>\r\n";
        EXPECT_EQ(doc.SaveToBytes(), expected) << c.encoding;
    }
}

TEST(XmlWriter, Utf16IsWrittenLittleEndianWithItsMark) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetEncoding("UTF-16");
    doc.AddChild("v")->SetText("Å");
    std::string expected("\xFF\xFE", 2);
    for (char c : std::string("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<v>\xC5</v>\r\n")) {
        expected += c;
        expected += '\0';
    }
    EXPECT_EQ(doc.SaveToBytes(), expected);
}

// A large document saved in pieces: each piece ends between two nodes, no piece is much larger than
// kXmlPieceBytes, and together they are the document's bytes in every encoding (UTF-16 turned piece
// by piece, with characters of two and three UTF-8 bytes near every boundary).
TEST(XmlWriter, ALargeDocumentIsSavedInPiecesThatEndBetweenNodes) {
    for (const char* encoding : {"UTF-8", "ISO-8859-1", "UTF-16"}) {
        TXMLDocument doc;
        doc.SetActive(true);
        doc.SetEncoding(encoding);
        TXMLNode* root = doc.AddChild("customers");
        for (int i = 0; i < 6000; ++i)
            root->AddChild("atKunder")->AddChild("CUSTOMER_NAME")->SetText("Kund " + std::to_string(i) + " Åkesson €");
        std::vector<std::string> pieces;
        doc.SaveInPieces([&](std::string_view piece) { pieces.emplace_back(piece); });
        ASSERT_GT(pieces.size(), 2u) << encoding;
        std::string whole;
        for (const std::string& piece : pieces) {
            EXPECT_LT(piece.size(), 2 * kXmlPieceBytes + 1024) << encoding;
            whole += piece;
        }
        if (std::string(encoding) == "UTF-16") {
            EXPECT_EQ(pieces.front(), std::string("\xFF\xFE", 2));
            std::string expected("\xFF\xFE", 2);
            for (char16_t c : Utf8ToUtf16(doc.SaveToXML())) {
                expected += static_cast<char>(c & 0xFF);
                expected += static_cast<char>(c >> 8);
            }
            EXPECT_EQ(whole, expected);
        } else {
            // Between nodes: after a tag, a line end or a whole text (which ends in "€").
            for (size_t i = 0; i + 1 < pieces.size(); ++i)
                EXPECT_TRUE(pieces[i].ends_with(">") || pieces[i].ends_with("\n") ||
                            pieces[i].ends_with(std::string(encoding) == "UTF-8" ? "\u20AC" : "\x80"))
                    << encoding << " " << i;
            TXMLDocument back;
            back.LoadFromBytes(whole);
            EXPECT_EQ(back.SaveToXML(), doc.SaveToXML()) << encoding;
        }
    }
}

TEST(XmlWriter, AttributeWhitespaceIsWrittenAsReferencesSoItSurvivesReading) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.AddChild("v")->SetAttribute("a", "1\t2\n3\r4");
    EXPECT_EQ(doc.SaveToBytes(), "<?xml version=\"1.0\"?>\r\n<v a=\"1&#9;2&#10;3&#13;4\"/>\r\n");
}

TEST(XmlWriter, WithoutIndentOnlyTheDeclarationAndTheEndGetALineEnd) {
    TXMLDocument doc;
    doc.LoadFromXML("<?xml version=\"1.0\" encoding=\"utf-8\"?><quorvelprefs/>\r\n");
    doc.SetIndent(false);
    doc.DocumentElement()->AddChild("Kunder")->SetText("40329,5");
    doc.DocumentElement()->AddChild("Artiklar");
    EXPECT_EQ(doc.SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
              "<quorvelprefs><Kunder>40329,5</Kunder><Artiklar/></quorvelprefs>\r\n");
}

// Comments and instructions get lines of their own; an element holding text keeps its content,
// child elements included, on one line, so no blank is added to the text.
TEST(XmlWriter, LoadedCommentsInstructionsAndMixedContentAreLaidOutWithoutTouchingText) {
    TXMLDocument doc;
    doc.LoadFromXML(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- head -->\n<r>\n  <!-- c1 -->\n"
        "  <a>x<b>y</b> z</a>\n  <?pi some data?>\n  <e>\n  </e>\n</r>\n");
    EXPECT_EQ(doc.SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<!-- head -->\r\n"
              "<r>\r\n"
              "\t<!-- c1 -->\r\n"
              "\t<a>x<b>y</b> z</a>\r\n"
              "\t<?pi some data?>\r\n"
              "\t<e>\n  </e>\r\n"
              "</r>\r\n");
}

TEST(XmlWriter, ANameTheEncodingCannotCarryIsRefused) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetEncoding("ISO-8859-1");
    doc.AddChild("v")->AddChild("中");
    EXPECT_THROW(doc.SaveToBytes(), EXMLDocError);
    doc.SetEncoding("UTF-8");
    EXPECT_EQ(doc.SaveToBytes(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<v>\r\n\t<\xE4\xB8\xAD/>\r\n</v>\r\n");
}

TEST(XmlWriter, AnEncodingWeCannotWriteIsRefused) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetEncoding("EBCDIC-US");
    doc.AddChild("v");
    EXPECT_THROW(doc.SaveToBytes(), EXMLDocError);
}

TEST(XmlWriter, SaveToXmlGivesTheSameLayoutWithEveryCharacterAsItself) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetEncoding("ISO-8859-1");
    doc.AddChild("v")->SetText("€ & å");
    EXPECT_EQ(doc.SaveToXML(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<v>€ &amp; å</v>\r\n");
}

}  // namespace
}  // namespace tv
