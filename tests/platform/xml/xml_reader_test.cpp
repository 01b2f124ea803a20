// Loading: every declared encoding, the tree the walk of the import relies on, entities and DTDs
// never read, and errors that say where the file is broken.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/rtl/codepage.h"
#include "platform/xml/xml_document.h"
#include "tests/platform/xml/xml_test_util.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

std::string Utf16Bytes(std::string_view utf8, bool littleEndian) {
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t c : Utf8ToUtf16(utf8)) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out += littleEndian ? lo : hi;
        out += littleEndian ? hi : lo;
    }
    return out;
}

std::string Declared(const char* encoding, std::string_view body) {
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?>\r\n" + std::string(body);
}

// The same customer in every form a peer may send it.
TEST(XmlReader, FilesDeclaredInEachEncodingLoadToTheSameTree) {
    const std::string utf8Body =
        "<quorvel><customers><atKunder key=\"\xC3\x85"
        "1\"><NAME>\xC3\x85sa \xE2\x82\xAC</NAME></atKunder>"
        "</customers></quorvel>";
    struct Case {
        const char* name;
        std::string bytes;
        const char* encoding;
    };
    const Case cases[] = {
        {"ISO-8859-1",
         Declared("ISO-8859-1",
                  "<quorvel><customers><atKunder key=\"\xC5"
                  "1\"><NAME>\xC5sa &#8364;</NAME>"
                  "</atKunder></customers></quorvel>"),
         "ISO-8859-1"},
        {"lower-case latin",
         Declared("iso-8859-1",
                  "<quorvel><customers><atKunder key=\"\xC5"
                  "1\"><NAME>\xC5sa &#x20AC;"
                  "</NAME></atKunder></customers></quorvel>"),
         "iso-8859-1"},
        {"windows-1252",
         Declared("windows-1252",
                  "<quorvel><customers><atKunder key=\"\xC5"
                  "1\"><NAME>\xC5sa \x80</NAME>"
                  "</atKunder></customers></quorvel>"),
         "windows-1252"},
        {"UTF-8", Declared("UTF-8", utf8Body), "UTF-8"},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + Declared("UTF-8", utf8Body), "UTF-8"},
        {"no declaration", utf8Body, ""},
        {"UTF-16 LE", Utf16Bytes(Declared("UTF-16", utf8Body), true), "UTF-16"},
        {"UTF-16 BE", Utf16Bytes(Declared("UTF-16", utf8Body), false), "UTF-16"},
    };
    const std::string expected = "#document{quorvel{customers{atKunder @key=[Å1]{NAME{\"Åsa €\"}}}}}";
    for (const auto& c : cases) {
        TXMLDocument doc;
        ASSERT_NO_THROW(doc.LoadFromBytes(c.bytes)) << c.name;
        EXPECT_EQ(test::Dump(doc), expected) << c.name;
        EXPECT_EQ(doc.Encoding(), c.encoding) << c.name;
    }
}

TEST(XmlReader, EveryWindows1252ByteIsReadAsTheCodePageMapsIt) {
    std::string body = "<v>";
    std::string expected;
    for (int b = 0x80; b <= 0xFF; ++b) {
        body += static_cast<char>(b);
        AppendUtf8(expected, Cp1252ToUnicode(static_cast<unsigned char>(b)));
    }
    TXMLDocument doc;
    doc.LoadFromBytes(Declared("windows-1252", body + "</v>"));
    EXPECT_EQ(doc.DocumentElement()->Text(), expected);
}

TEST(XmlReader, TextIsReadAsUtf8WhateverItsDeclarationSaysButTheEncodingIsKept) {
    TXMLDocument doc;
    doc.LoadFromXML(Declared("ISO-8859-1", "<v>\xC3\x85</v>"));
    EXPECT_EQ(doc.DocumentElement()->Text(), "Å");
    EXPECT_EQ(doc.Encoding(), "ISO-8859-1");
    EXPECT_EQ(doc.SaveToBytes(), Declared("ISO-8859-1", "<v>\xC5</v>\r\n"));
}

// Positions count every child, comments included; layout between elements is not a child.
TEST(XmlReader, CommentsAreChildrenAndLayoutBlanksAreNot) {
    TXMLDocument doc;
    doc.LoadFromXML(
        "<quorvel>\r\n\t<customers>\r\n\t\t<!-- first -->\r\n\t\t<atKunder key=\"1\"/>\r\n"
        "\t\t<atKunder key=\"2\"/>\r\n\t</customers>\r\n</quorvel>\r\n");
    TXMLNode* customers = doc.DocumentElement()->FindNode("customers");
    ASSERT_EQ(customers->ChildCount(), 3u);
    EXPECT_EQ(customers->ChildNode(0)->NodeType(), TNodeType::ntComment);
    EXPECT_EQ(customers->ChildNode(0)->NodeName(), "#comment");
    EXPECT_EQ(customers->ChildNode(2)->Attribute("key"), "2");
    EXPECT_EQ(doc.DocumentElement()->ChildCount(), 1u);
}

struct ContentCase {
    const char* name;
    const char* xml;
    const char* dump;
};
const ContentCase kContentCases[] = {
    {"blank value kept", "<v>   </v>", "#document{v{\"   \"}}"},
    {"blanks around a value kept", "<v> a </v>", "#document{v{\" a \"}}"},
    {"line ends read as line feeds", "<v>a\r\nb\rc</v>", "#document{v{\"a\nb\nc\"}}"},
    {"character reference for CR", "<v>a&#13;\nb</v>", "#document{v{\"a\r\nb\"}}"},
    {"predefined entities and references", "<v a=\"&lt;&#65;&#x42;&amp;&quot;&apos;\">&gt;&#8364;&amp;</v>",
     "#document{v @a=[<AB&\"']{\">€&\"}}"},
    {"attribute whitespace normalised unless referenced", "<v a=\"1\t2\n3\" b=\"1&#9;2&#10;3\"/>",
     "#document{v @a=[1 2 3] @b=[1\t2\n3]}"},
    {"CDATA read as text", "<v><![CDATA[x<y&z]]></v>", "#document{v{\"x<y&z\"}}"},
    {"text split by a comment", "<v>a<!--c-->b</v>", "#document{v{\"a\",<!--c-->,\"b\"}}"},
    {"namespaces kept as written", "<p:r xmlns:p=\"urn:x\" p:a=\"1\"/>",
     "#document{p:r @xmlns:p=[urn:x] @p:a=[1]}"},
    {"instruction and prolog comment", "<?pi d?><!--c--><r/>", "#document{<?pi d?>,<!--c-->,r}"},
};

TEST(XmlReader, ContentIsReadAsTheRulesOfXmlGiveIt) {
    for (const auto& c : kContentCases) {
        TXMLDocument doc;
        ASSERT_NO_THROW(doc.LoadFromXML(c.xml)) << c.name;
        EXPECT_EQ(test::Dump(doc), c.dump) << c.name;
    }
}

class XmlEntities : public ::testing::Test {
protected:
    void SetUp() override {
        secretPath = dir.Write("secret.txt", "TOPSECRET");
        dir.Write("defs.ent", "<!ENTITY y \"TOPSECRET\">");
        dir.Write("defaults.dtd", "<!ENTITY y \"TOPSECRET\"><!ATTLIST r a CDATA \"TOPSECRET\">");
    }
    // Loads `xml`; a failure must not carry the secret either.
    std::string LoadOrError(const std::string& xml) {
        TXMLDocument doc;
        try {
            doc.LoadFromBytes(xml, "test.xml");
        } catch (const EXMLParseError& e) {
            EXPECT_EQ(std::string(e.what()).find("TOPSECRET"), std::string::npos) << e.what();
            return std::string("error: ") + e.Reason;
        }
        return test::Dump(doc);
    }
    test::TempDir dir;
    std::string secretPath;
};

TEST_F(XmlEntities, AnExternalEntityIsNeverRead) {
    std::string result =
        LoadOrError("<!DOCTYPE r [<!ENTITY x SYSTEM \"file://" + secretPath + "\">]><r>&x;</r>");
    EXPECT_EQ(result.rfind("error: ", 0), 0u) << result;
    result = LoadOrError("<!DOCTYPE r [<!ENTITY x SYSTEM \"" + secretPath + "\">]><r a=\"&x;\"/>");
    EXPECT_EQ(result.rfind("error: ", 0), 0u) << result;
}

TEST_F(XmlEntities, NeitherAnExternalSubsetNorAParameterEntityIsRead) {
    std::string dtd = dir.Path("defaults.dtd");
    EXPECT_EQ(LoadOrError("<!DOCTYPE r SYSTEM \"" + dtd + "\"><r>x</r>"), "#document{r{\"x\"}}");
    EXPECT_EQ(LoadOrError("<!DOCTYPE r SYSTEM \"" + dtd + "\"><r>&y;</r>").rfind("error: ", 0), 0u);
    std::string defs = dir.Path("defs.ent");
    EXPECT_EQ(
        LoadOrError("<!DOCTYPE r [<!ENTITY % p SYSTEM \"" + defs + "\"> %p;]><r>&y;</r>").rfind("error: ", 0),
        0u);
}

TEST_F(XmlEntities, InternalEntitiesAreRefusedSoNothingCanExpand) {
    std::string laughs = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        std::string refs;
        for (int i = 0; i < 10; ++i) refs += std::string("&") + static_cast<char>(c - 1) + ";";
        laughs += std::string("<!ENTITY ") + c + " \"" + refs + "\">";
    }
    laughs += "]><r>&j;</r>";
    std::string result = LoadOrError(laughs);
    EXPECT_EQ(result.rfind("error: ", 0), 0u) << result.substr(0, 200);
    result = LoadOrError("<!DOCTYPE r [<!ENTITY co \"Brismark\">]><r>&co;</r>");
    EXPECT_NE(result.find("predefined"), std::string::npos) << result;
}

struct BrokenCase {
    const char* name;
    std::string bytes;
    int line;
};

TEST(XmlReader, AMalformedFileRaisesWithTheParsersLine) {
    const BrokenCase cases[] = {
        {"truncated",
         "<?xml version=\"1.0\"?>\r\n<quorvel>\r\n\t<customers>\r\n\t\t<atKunder key=\"1\">\r\n\t\t\t<NA", 5},
        {"mismatched end tag", "<r>\n<a>\n</b>\n</r>", 3},
        {"two document elements", "<r/>\n<s/>", 2},
        {"empty file", "", 1},
        {"control character in content", "<r>\n\x01</r>", 2},
        {"undeclared prefix", "<r>\n<p:a/>\n</r>", 2},
        {"byte invalid in UTF-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<r>\xE5</r>", 2},
        {"duplicate attribute", "<r a=\"1\" a=\"2\"/>", 1},
    };
    for (const auto& c : cases) {
        TXMLDocument doc;
        try {
            doc.LoadFromBytes(c.bytes);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const EXMLParseError& e) {
            EXPECT_EQ(e.Line, c.line) << c.name << ": " << e.what();
            EXPECT_FALSE(e.Reason.empty()) << c.name;
            EXPECT_NE(std::string(e.what()).find("line " + std::to_string(c.line)), std::string::npos)
                << e.what();
        }
        EXPECT_FALSE(doc.Active()) << c.name;
    }
}

TEST(XmlReader, FilesAreLoadedAndSavedByName) {
    test::TempDir dir;
    std::string path = dir.Write("in.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r>\xE5</r>");
    TXMLDocument doc;
    doc.SetFileName(path);
    doc.SetActive(true);  // activating with a file name loads it
    EXPECT_EQ(doc.DocumentElement()->Text(), "å");
    doc.DocumentElement()->SetText("ä");
    doc.SaveToFile();
    EXPECT_EQ(dir.Read("in.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<r>\xE4</r>\r\n");
    // A replaced file keeps its mode; a new one gets the usual mode, readable by others.
    std::filesystem::permissions(path, std::filesystem::perms(0640));
    doc.SaveToFile();
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
    mode_t mask = ::umask(022);
    doc.SaveToFile(dir.Path("new.xml"));
    ::umask(mask);
    EXPECT_EQ(std::filesystem::status(dir.Path("new.xml")).permissions(), std::filesystem::perms(0644));

    std::string broken = dir.Write("broken.xml", "<r>\n<a>\n");
    try {
        doc.LoadFromFile(broken);
        FAIL();
    } catch (const EXMLParseError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(broken + ": line 3", 0), 0u) << e.what();
    }
    EXPECT_THROW(doc.LoadFromFile(dir.Path("missing.xml")), EFOpenError);
    doc.LoadFromXML("<r/>");
    EXPECT_THROW(doc.SaveToFile(dir.Path("no/such/folder/out.xml")), Exception);
    EXPECT_FALSE(dir.Exists("no"));
}

}  // namespace
}  // namespace tv
