// The pieces the document imports share: deleting every row of a document (on the demo company),
// the row type of a row, and the dates and numbers of a document read in the process's format (the
// "forcedot" switch or the user's locale).

#include <gtest/gtest.h>

#include "adk/adk_dataset.h"
#include "import/document_rows.h"
#include "platform/rtl/format_settings.h"
#include "platform/xml/xml_document.h"
#include "tests/import/orders/order_support.h"

namespace tv {
namespace {

using test::Lines;

struct DeletionCase {
    const char* dataSet;
    TAdkSortOrder order;
    bool offers;
    int deleted;
    const char* heads;
    const char* rows;
};
const DeletionCase kDeletionCases[] = {
    {"AdkOrder", asOrderNr, false, 3,
     R"(
1|1001|Åsa Öberg AB|2024-01-15||PO-77|SEK|||||||0
2|1002|Bengt Berg|2024-01-16|||SEK|||||||0
)",
     ""},
    {"AdkOffert", asOffertNr, true, 1, "1|1003|Cecilia Ek|2024-01-10||||||||||0", ""},
};

TEST(DocumentRows, DeletingEveryRowEmptiesTheDocumentAndKeepsItsHead) {
    for (const DeletionCase& c : kDeletionCases) {
        test::TOrderWorld world;
        world.Open();
        TAdkDataSet& head = world.DataSet(c.dataSet);
        head.SetAdkSortOrder(c.order);
        ASSERT_TRUE(head.AdkNavFind("1", true, true)) << c.dataSet;
        EXPECT_EQ(DeleteDocumentRows(head), c.deleted) << c.dataSet;
        EXPECT_TRUE(RowsOf(head).IsEmpty()) << c.dataSet;
        head.Post();
        EXPECT_EQ(test::Heads(world, c.offers), Lines(c.heads)) << c.dataSet;
        EXPECT_EQ(test::Rows(world, c.offers), Lines(c.rows)) << c.dataSet;
    }
}

struct RowTypeCase {
    const char* row;  // the row element
    bool ignoreEmptyTexts;
    bool textRow;
    const char* kept;  // the names of the elements left in the row
};
const RowTypeCase kRowTypeCases[] = {
    {"<row><OOI_ROW_TYPE_OF_ROW>T</OOI_ROW_TYPE_OF_ROW><OOI_ROW_TEXT/></row>", true, true,
     "OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT"},  // a text row keeps an empty text
    {"<row><OOI_ROW_TYPE_OF_ROW/><OOI_ROW_TEXT/></row>", true, false, ""},
    {"<row><OOI_ROW_TYPE_OF_ROW/><OOI_ROW_TEXT/></row>", false, false, "OOI_ROW_TEXT"},
    {"<row><OOI_ROW_TYPE_OF_ROW>t</OOI_ROW_TYPE_OF_ROW><OOI_ROW_TEXT>x</OOI_ROW_TEXT></row>", true, false,
     "OOI_ROW_TYPE_OF_ROW OOI_ROW_TEXT"},  // only "T" marks a text row
    {"<row><OOI_ROW_TYPE_OF_ROW> T</OOI_ROW_TYPE_OF_ROW></row>", true, false, "OOI_ROW_TYPE_OF_ROW"},
};

TEST(DocumentRows, TheRowTypeDecidesATextRowAndEmptyElementsGo) {
    for (const RowTypeCase& c : kRowTypeCases) {
        TXMLDocument document;
        document.LoadFromXML(c.row);
        TXMLNode& row = *document.DocumentElement();
        EXPECT_EQ(ReadRowType(row, c.ignoreEmptyTexts), c.textRow) << c.row;
        std::string kept;
        for (const TXMLNode* element : row.ChildNodes())
            kept += (kept.empty() ? "" : " ") + element->NodeName();
        EXPECT_EQ(kept, c.kept) << c.row << " " << c.ignoreEmptyTexts;
    }
}

struct FormatCase {
    const char* locale;
    bool forceDot;
    const char* date;
    const char* quantity;
    const char* outcome;  // the line before the import's result (indented in its item), or the result
    const char* head;     // the new offer's date, empty when none was written
    const char* row;      // its row's ordered quantity
};
const FormatCase kFormatCases[] = {
    {"sv_SE", false, "2024-03-15", "2,5", "ImportOffers true", "2024-03-15", "2.5"},
    {"sv_SE", true, "2024-03-15", "2.5", "ImportOffers true", "2024-03-15", "2.5"},
    {"en_US", false, "3/15/2024", "2.5", "ImportOffers true", "2024-03-15", "2.5"},
    {"sv_SE", false, "2024-03-15", "2.5", "  [2] '2.5' is not a valid floating point value", "", ""},
    {"sv_SE", true, "2024-03-15", "2,5", "  [2] '2,5' is not a valid floating point value", "", ""},
    {"sv_SE", false, "3/15/2024", "2,5", "  [2] '3/15/2024' is not a valid date", "", ""},
};

std::string OfferFile(const FormatCase& c) {
    return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<quorvel>
	<customers><atKunder key="1003" option="noedit"/></customers>
	<articles><atArtiklar key="a200" option="noedit"/></articles>
	<offers>
		<offer>
			<atOffert customerkey="1003"><OOI_HEAD_DOCUMENT_DATE1>)") +
           c.date + R"(</OOI_HEAD_DOCUMENT_DATE1></atOffert>
			<rows><row artkey="a200"><OOI_ROW_QUANTITY2>)" +
           c.quantity + R"(</OOI_ROW_QUANTITY2></row></rows>
		</offer>
	</offers>
</quorvel>
)";
}

TEST(DocumentFields, DatesAndQuantitiesAreReadInTheProcessFormat) {
    for (const FormatCase& c : kFormatCases) {
        const std::string name =
            std::string(c.locale) + (c.forceDot ? " forcedot " : " ") + c.date + " " + c.quantity;
        test::TOrderWorld world;
        world.Formats() = FormatSettingsForLocale(c.locale);
        if (c.forceDot) ApplyForceDot(world.Formats());
        world.Open();
        ASSERT_TRUE(world.Import().LoadXML(world.WriteFile("offer.xml", OfferFile(c)))) << name;
        test::RunSteps(world, {"CheckCustomers", "ImportCustomers", "CheckArticles", "ImportArticles"});
        world.Events().Clear();
        test::RunSteps(world, {"ImportOffers"});
        const std::vector<std::string> lines = world.Events().Take();
        const bool imported = std::string_view(c.outcome) == "ImportOffers true";
        EXPECT_EQ(lines[lines.size() - (imported ? 1 : 2)], c.outcome) << name;
        const std::vector<std::string> date =
            test::Dump(world.AdminODBC(), "ifnull(datum,'')", "offerthuvud", "doknr");
        const std::vector<std::string> quantity =
            test::Dump(world.AdminODBC(), "ifnull(bestantal,'')", "offertrad", "doknr, radnr");
        EXPECT_EQ(date.back(), imported ? c.head : "2024-01-10") << name;
        EXPECT_EQ(quantity.back(), imported ? c.row : "1") << name;
    }
}

}  // namespace
}  // namespace tv
