// The node model: what may be put into a document, and how the tree is built and changed.

#include <gtest/gtest.h>

#include "platform/xml/xml_document.h"
#include "tests/platform/xml/xml_test_util.h"

namespace tv {
namespace {

struct CharCase {
    const char* name;
    std::string text;
    bool accepted;
};

// Exactly what XML 1.0 forbids is refused; everything else, tab and DEL included, is kept.
const CharCase kCharCases[] = {
    {"tab", "a\tb", true},
    {"line feed", "a\nb", true},
    {"carriage return", "a\rb", true},
    {"delete",
     "a\x7F"
     "b",
     true},
    {"C1 control",
     "a\xC2\x85"
     "b",
     true},
    {"euro", "\xE2\x82\xAC", true},
    {"outside the BMP", "\xF0\x9F\x98\x80", true},
    {"NUL", std::string("a\0b", 3), false},
    {"SOH",
     "a\x01"
     "b",
     false},
    {"vertical tab",
     "a\x0B"
     "b",
     false},
    {"form feed",
     "a\x0C"
     "b",
     false},
    {"unit separator",
     "a\x1F"
     "b",
     false},
    {"U+FFFE", "a\xEF\xBF\xBE", false},
    {"U+FFFF", "a\xEF\xBF\xBF", false},
    {"lone UTF-8 lead byte", "a\xC3", false},
    {"Windows-1252 byte", "\xE5r", false},
    {"encoded surrogate", "\xED\xA0\x80", false},
};

TEST(XmlNode, TextAndAttributesRefuseExactlyTheCharactersXmlForbids) {
    for (const auto& c : kCharCases) {
        TXMLDocument doc;
        doc.SetActive(true);
        TXMLNode* v = doc.AddChild("v");
        v->SetText("old");
        v->SetAttribute("a", "old");
        if (c.accepted) {
            v->SetText(c.text);
            v->SetAttribute("a", c.text);
            EXPECT_EQ(v->Text(), c.text) << c.name;
            EXPECT_EQ(v->Attribute("a"), c.text) << c.name;
        } else {
            EXPECT_THROW(v->SetText(c.text), EXMLDocError) << c.name;
            EXPECT_THROW(v->SetAttribute("a", c.text), EXMLDocError) << c.name;
            EXPECT_THROW(v->SetAttribute("b", c.text), EXMLDocError) << c.name;
            EXPECT_EQ(v->Text(), "old") << c.name;  // a refused value changes nothing
            EXPECT_EQ(v->Attribute("a"), "old") << c.name;
            EXPECT_FALSE(v->HasAttribute("b")) << c.name;
        }
    }
}

TEST(XmlNode, RefusalNamesTheCharacterAndTheElement) {
    TXMLDocument doc;
    doc.SetActive(true);
    try {
        doc.AddChild("CUSTOMER_NAME")->SetText("ab\x01");
        FAIL();
    } catch (const EXMLDocError& e) {
        EXPECT_NE(std::string(e.what()).find("CUSTOMER_NAME"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("#x1"), std::string::npos) << e.what();
    }
}

struct NameCase {
    const char* name;
    bool valid;
};
constexpr NameCase kNameCases[] = {
    {"atKunder", true},  {"OOI_HEAD_DOCUMENT_NUMBER", true},
    {"_a", true},        {"x:y", true},
    {"\xC3\x85r", true}, {"a-b.c1", true},
    {"", false},         {"1abc", false},
    {"a b", false},      {"a<b", false},
    {"-x", false},       {".x", false},
    {"a&b", false},      {"\xE5r", false},
};

TEST(XmlNode, ElementAndAttributeNamesMustBeXmlNames) {
    for (const auto& c : kNameCases) {
        TXMLDocument doc;
        doc.SetActive(true);
        TXMLNode* root = doc.AddChild("r");
        if (c.valid) {
            EXPECT_NO_THROW(root->AddChild(c.name)) << c.name;
            EXPECT_NO_THROW(doc.CreateElement(c.name)) << c.name;
            EXPECT_NO_THROW(root->SetAttribute(c.name, "v")) << c.name;
        } else {
            EXPECT_THROW(root->AddChild(c.name), EXMLDocError) << c.name;
            EXPECT_THROW(doc.CreateElement(c.name), EXMLDocError) << c.name;
            EXPECT_THROW(root->SetAttribute(c.name, "v"), EXMLDocError) << c.name;
            EXPECT_EQ(root->ChildCount(), 0u) << c.name;
        }
    }
}

TEST(XmlNode, TextIsEmptyWithoutChildrenTheSingleTextOrAnError) {
    TXMLDocument doc;
    doc.LoadFromXML("<r><empty/><one>x</one><mixed>x<b/></mixed><two><a/><b/></two><c><!--n--></c></r>");
    TXMLNode* r = doc.DocumentElement();
    EXPECT_EQ(r->FindNode("empty")->Text(), "");
    EXPECT_EQ(r->FindNode("one")->Text(), "x");
    EXPECT_TRUE(r->FindNode("one")->IsTextElement());
    EXPECT_THROW(r->FindNode("mixed")->Text(), EXMLDocError);
    EXPECT_THROW(r->FindNode("two")->Text(), EXMLDocError);
    EXPECT_THROW(r->FindNode("c")->Text(), EXMLDocError);
    EXPECT_EQ(r->FindNode("c")->ChildNode(0)->Text(), "n");  // a comment gives its own value
}

TEST(XmlNode, SettingTextReplacesTheChildrenAndAnEmptyTextLeavesNone) {
    TXMLDocument doc;
    doc.LoadFromXML("<r><a>x<b/><!--c--></a></r>");
    TXMLNode* a = doc.DocumentElement()->FindNode("a");
    a->SetText("new");
    EXPECT_EQ(a->ChildCount(), 1u);
    EXPECT_EQ(a->Text(), "new");
    a->SetText("");
    EXPECT_FALSE(a->HasChildNodes());
    EXPECT_EQ(test::Dump(doc), "#document{r{a}}");
}

TEST(XmlNode, FindNodeComparesNamesExactlyAndSkipsComments) {
    TXMLDocument doc;
    doc.LoadFromXML("<r><!--customers--><Customers/><customers n='1'/><customers n='2'/></r>");
    TXMLNode* r = doc.DocumentElement();
    EXPECT_EQ(r->FindNode("customers")->Attribute("n"), "1");
    EXPECT_EQ(r->FindNode("CUSTOMERS"), nullptr);
    EXPECT_EQ(r->FindNode("#comment"), nullptr);
}

TEST(XmlNode, AttributesKeepTheirOrderAndAnAbsentOneReadsEmpty) {
    TXMLDocument doc;
    doc.SetActive(true);
    TXMLNode* c = doc.AddChild("atKontakter");
    c->SetAttribute("customerkey", "1");
    c->SetAttribute("supplierkey", "2");
    c->SetAttribute("key", "3");
    c->SetAttribute("customerkey", "4");  // changed in place
    EXPECT_EQ(doc.SaveToXML(),
              "<?xml version=\"1.0\"?>\r\n<atKontakter customerkey=\"4\" supplierkey=\"2\" key=\"3\"/>\r\n");
    EXPECT_FALSE(c->HasAttribute("option"));
    EXPECT_EQ(c->Attribute("option"), "");
    EXPECT_TRUE(c->RemoveAttribute("supplierkey"));
    EXPECT_FALSE(c->RemoveAttribute("supplierkey"));
    EXPECT_EQ(c->Attributes().size(), 2u);
}

TEST(XmlNode, TheDocumentElementIsReplacedAndOnlyOneIsAllowed) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetDocumentElement(doc.CreateElement("old"));
    doc.DocumentElement()->AddChild("child");
    EXPECT_THROW(doc.AddChild("second"), EXMLDocError);
    TXMLNode* fresh = doc.CreateElement("quorvel");
    doc.SetDocumentElement(fresh);
    EXPECT_EQ(doc.DocumentElement(), fresh);
    EXPECT_EQ(test::Dump(doc), "#document{quorvel}");
}

TEST(XmlNode, ChildrenAreRemovedAndTheSkeletonRebuiltPerRecord) {
    TXMLDocument doc;
    doc.SetActive(true);
    TXMLNode* root = doc.AddChild("quorvel");
    for (int record = 0; record < 3; ++record) {
        root->ClearChildNodes();
        root->AddChild("companydata");
        root->AddChild("customers")->AddChild("atKunder")->SetAttribute("key", std::to_string(record));
    }
    EXPECT_EQ(test::Dump(doc), "#document{quorvel{companydata,customers{atKunder @key=[2]}}}");
    TXMLNode* customers = root->FindNode("customers");
    root->RemoveChild(customers);
    EXPECT_EQ(root->ChildCount(), 1u);
    EXPECT_THROW(root->RemoveChild(root), EXMLDocError);
}

TEST(XmlNode, AppendChildMovesAnElementButRefusesCyclesAndStrangers) {
    TXMLDocument doc, other;
    doc.SetActive(true);
    other.SetActive(true);
    TXMLNode* root = doc.AddChild("r");
    TXMLNode* a = root->AddChild("a");
    TXMLNode* b = root->AddChild("b");
    b->AppendChild(a);
    EXPECT_EQ(test::Dump(doc), "#document{r{b{a}}}");
    EXPECT_THROW(a->AppendChild(b), EXMLDocError);
    EXPECT_THROW(a->AppendChild(a), EXMLDocError);
    EXPECT_THROW(root->AppendChild(other.CreateElement("x")), EXMLDocError);
    EXPECT_THROW(root->AppendChild(nullptr), EXMLDocError);
}

TEST(XmlNode, ChildPositionsOutsideTheListRaise) {
    TXMLDocument doc;
    doc.LoadFromXML("<r><a/></r>");
    EXPECT_NO_THROW(doc.DocumentElement()->ChildNode(0));
    EXPECT_THROW(doc.DocumentElement()->ChildNode(1), EXMLDocError);
}

TEST(XmlDocument, AnInactiveDocumentHoldsNothingAndRefusesWork) {
    TXMLDocument doc;
    EXPECT_FALSE(doc.Active());
    EXPECT_EQ(doc.DocumentElement(), nullptr);
    EXPECT_THROW(doc.SetEncoding("ISO-8859-1"), EXMLDocError);
    EXPECT_THROW(doc.Node(), EXMLDocError);
    EXPECT_THROW(doc.SaveToBytes(), EXMLDocError);
    doc.SetActive(true);
    doc.SetEncoding("ISO-8859-1");
    doc.AddChild("quorvel");
    doc.SetActive(false);  // discards the content
    doc.SetActive(true);
    EXPECT_EQ(doc.DocumentElement(), nullptr);
    EXPECT_EQ(doc.Encoding(), "");
}

TEST(XmlDocument, ADeepTreeBuiltInCodeIsSavedAndFreed) {
    TXMLDocument doc;
    doc.SetActive(true);
    doc.SetIndent(false);
    TXMLNode* n = doc.AddChild("d");
    for (int i = 0; i < 100000; ++i) n = n->AddChild("d");
    std::string bytes = doc.SaveToBytes();
    EXPECT_EQ(bytes.substr(bytes.size() - 10), "</d></d>\r\n");
    doc.Node().ClearChildNodes();
    EXPECT_EQ(doc.DocumentElement(), nullptr);
}

}  // namespace
}  // namespace tv
