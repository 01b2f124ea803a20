// The stock-taking import: each line of the "inventory" container names an article, by the key of
// an article the file registered or by the business system's article number, and its counted
// values are written through the field mapping of "atInventering" onto the stock-taking line the
// company already holds for that article. A line the company lacks is reported and passed over;
// job scripts are not offered this import.

#include "adk/adk_dataset.h"
#include "import/article_steps.h"
#include "import/dm_import.h"
#include "import/field_mapping.h"
#include "import/import_frame.h"
#include "import/import_xml.h"
#include "import/key_text.h"
#include "import/mapped_field_writer.h"
#include "import/record_write.h"
#include "platform/rtl/format.h"

namespace tv {

namespace {

constexpr TImportFrame kInventoryFrame{.Caption = "Importerar inventeringsunderlag",
                                       .StepPicture = 9,
                                       .Container = "inventory",
                                       .NoContainerText = "Ingen artikel i denna fil",
                                       .EmptyText = "Inget inventeringsunderlag att importera"};

inline constexpr std::string_view kMappingTable = "atInventering";
inline constexpr std::string_view kArticleElement = "INVENTORY_ARTICLE_NUMBER";
inline constexpr std::string_view kNoArticle = "Neither articleKey or INVENTORY_ARTICLE_NUMBER";
inline constexpr std::string_view kNoArticleNumber =
    "Neither articleKey or INVENTORY_ARTICLE_NUMBER or empty";
inline constexpr std::string_view kLineMissing = "Artikel fanns inte i inventeringsunderlaget:%s";

// The business system's article number of a line: the number stored with its registered "key",
// else its INVENTORY_ARTICLE_NUMBER.
std::string LineArticle(const TXMLNode& line, const TKeyRegistry& articles) {
    std::string article;
    if (line.HasAttribute("key")) {
        const std::string key = Trim(line.Attribute("key"));
        const TKeyRecord* record = articles.Locate(key);
        if (!record)
            throw EImportError(std::string(kArticleKeyUnknown) + key + std::string(kKeyUnknownAfterKey));
        article = record->KEY_VALUE_IN_VISMA;
    } else if (const TXMLNode* element = ChildElement(line, kArticleElement)) {
        article = Trim(element->Text());
    } else {
        throw EImportError(std::string(kNoArticle));
    }
    if (article.empty()) throw EImportError(std::string(kNoArticleNumber));
    return article;
}

}  // namespace

bool TDMImport::ImportInventory() {
    return RunImportFrame(kInventoryFrame, [&](TXMLNode& container) { ImportInventoryLines(container); });
}

void TDMImport::ImportInventoryLines(TXMLNode& container) {
    TAdkDataSet& lines = KitDataSet(&TImportDataSets::AdkInventering, "AdkInventering");
    if (!lines.Active()) lines.MakeOpen();
    const TFieldMapping mapping = TFieldMapping::For(*context_.FieldDefinitions, kMappingTable);
    TMappedFieldWriter writer(mapping, lines);
    ForEachItem(container, [&](TXMLNode& line, int) {
        const std::string article = LineArticle(line, ValidArticleKeys);
        try {
            lines.EmptyDataSet();
            lines.SetAdkSortOrder(asInventeringArtikelnr);
            if (!lines.AdkNavFind(article, true, true)) throw EImportError(Format(kLineMissing, {article}));
            lines.Edit();
            // The line stays the article's: its number is never written.
            writer.Write(line, true);
            lines.Post();
            writer.ReportUnstorableTexts(Events(), line.NodeName() + "/" + article);
        } catch (const std::exception& e) {
            CancelPending(lines);
            Events().reportError(e.what(), elError);
        }
        return true;
    });
}

}  // namespace tv
