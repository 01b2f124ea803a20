#include "export/package_articles.h"

#include "export/export_text.h"
#include "export/kit_reads.h"
#include "platform/data/field.h"

namespace tv {
namespace {

constexpr std::string_view kPackageField = "PAKETARTNR";  // the package's number, kit field 0
constexpr int kComponentField = 1;
constexpr std::string_view kArticleColumn = "artnr";

// Switches a dataset's filtering off when the walk ends, however it ends.
class TFilteringOff {
public:
    explicit TFilteringOff(TDataSet& data) : data_(data) {}
    ~TFilteringOff() { data_.SetFiltered(false); }
    TFilteringOff(const TFilteringOff&) = delete;
    TFilteringOff& operator=(const TFilteringOff&) = delete;

private:
    TDataSet& data_;
};

}  // namespace

void addPackageArticles(TExportModule& module, TDataSet& selection) {
    if (!module.Settings("CDSExportArticlesPrefs").FieldByName("INCLUDE_PACKAGE_ARTICLES").AsBoolean()) return;
    TAdkDataSet& packages = module.KitDataSet(&TExportDataSets::AdkPaketArtiklar);
    FetchAllRecords(packages);
    TFilteringOff filteringOff(packages);
    packages.SetFiltered(true);
    for (selection.First(); !selection.Eof(); selection.Next()) {
        packages.SetFilter(EqualsFilter(kPackageField, Trim(selection.Fields(0).AsString())));
        for (packages.First(); !packages.Eof(); packages.Next()) {
            const std::string component = packages.FieldByAdkIndex(kComponentField).AsString();
            if (component.empty()) continue;
            const TBookmark walked = selection.GetBookmark();
            if (!selection.Locate(kArticleColumn, Variant::FromUtf8(component)))
                AppendSelectionKey(selection, component);
            if (!selection.BookmarkValid(walked)) throw Exception(std::string(kInvalidBookmark));
            selection.GotoBookmark(walked);
        }
    }
}

}  // namespace tv
