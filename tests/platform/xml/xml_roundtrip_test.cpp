// Values read back equal values written, in every encoding the document saves.

#include <gtest/gtest.h>

#include "platform/xml/xml_document.h"

namespace tv {
namespace {

const std::string kValues[] = {
    "",
    "   ",
    " lead and trail ",
    "a  b",
    "rad 1\r\nrad 2\rrad 3\nrad 4",
    "\ttab\t",
    "<&>\"'",
    "]]>",
    "\xC3\x85\xC3\xA4\xC3\xB6",  // Åäö
    "\xE2\x82\xAC",              // €
    "\xE4\xB8\xAD\xE6\x96\x87",  // 中文
    "\xF0\x9F\x98\x80",          // beyond the BMP
    "\x7F\xC2\x85",              // DEL and a C1 control
    "&#8364;",                   // looks like a reference, is text
};

const char* const kEncodings[] = {"ISO-8859-1", "windows-1252", "UTF-8", "UTF-16", ""};

TEST(XmlRoundTrip, TextAndAttributeValuesReadBackAsWritten) {
    for (const char* encoding : kEncodings) {
        TXMLDocument out;
        out.SetActive(true);
        out.SetEncoding(encoding);
        TXMLNode* root = out.AddChild("quorvel");
        for (const auto& v : kValues) {
            TXMLNode* e = root->AddChild("v");
            e->SetText(v);
            e->SetAttribute("key", v);
        }
        for (bool asText : {false, true}) {
            TXMLDocument in;
            if (asText)
                in.LoadFromXML(out.SaveToXML());
            else
                in.LoadFromBytes(out.SaveToBytes());
            TXMLNode* back = in.DocumentElement();
            ASSERT_EQ(back->ChildCount(), std::size(kValues)) << encoding;
            for (size_t i = 0; i < std::size(kValues); ++i) {
                EXPECT_EQ(back->ChildNode(i)->Text(), kValues[i])
                    << encoding << " text " << i << " " << asText;
                EXPECT_EQ(back->ChildNode(i)->Attribute("key"), kValues[i]) << encoding << " attr " << i;
            }
            EXPECT_EQ(in.Encoding(), encoding);
            // Saving what was loaded gives the same bytes again.
            EXPECT_EQ(in.SaveToBytes(), out.SaveToBytes()) << encoding;
        }
    }
}

}  // namespace
}  // namespace tv
