// Reading the values of elements that may be missing, as the price imports read the article
// export's price fragments: texts as they stand, numbers in the process's number format.

#include "platform/xml/xml_node_values.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "platform/xml/xml_document.h"
#include "tests/support/format_settings.h"

namespace tv {
namespace {

class XmlNodeValues : public ::testing::Test {
protected:
    XmlNodeValues() {
        doc_.LoadFromXML(
            "<row><PRICE_PRICE>12,5</PRICE_PRICE><PRICE_DOT>12.5</PRICE_DOT><EMPTY/>"
            "<NAME> Skruv &amp; mutter </NAME><MIXED>a<b/>c</MIXED></row>");
    }
    const TXMLNode* Child(const char* name) { return doc_.DocumentElement()->FindNode(name); }

    TXMLDocument doc_;
};

TEST_F(XmlNodeValues, TextIsTakenAsItStandsAndADefaultOnlyForAMissingNode) {
    EXPECT_EQ(GetXMLNodeText(Child("NAME"), "x"), " Skruv & mutter ");
    EXPECT_EQ(GetXMLNodeText(Child("EMPTY"), "x"), "");
    EXPECT_EQ(GetXMLNodeText(nullptr, "x"), "x");
    // An element holding more than one text is no value.
    EXPECT_THROW(GetXMLNodeText(Child("MIXED"), ""), Exception);
}

TEST_F(XmlNodeValues, NumbersFollowTheDecimalSeparatorInForce) {
    EXPECT_DOUBLE_EQ(GetXMLNodeFloat(Child("PRICE_PRICE"), 0, test::SwedishSettings()), 12.5);
    EXPECT_DOUBLE_EQ(GetXMLNodeFloat(Child("PRICE_DOT"), 0, test::ForceDotSettings()), 12.5);
    EXPECT_DOUBLE_EQ(GetXMLNodeFloat(nullptr, 7.25, test::SwedishSettings()), 7.25);
    // The other separator, and no text at all, are no numbers: the conversion error, not the default.
    EXPECT_THROW(GetXMLNodeFloat(Child("PRICE_DOT"), 0, test::SwedishSettings()), EConvertError);
    EXPECT_THROW(GetXMLNodeFloat(Child("PRICE_PRICE"), 0, test::ForceDotSettings()), EConvertError);
    EXPECT_THROW(GetXMLNodeFloat(Child("EMPTY"), 3, test::SwedishSettings()), EConvertError);
}

}  // namespace
}  // namespace tv
