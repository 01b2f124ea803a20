#include "export/export_module.h"

#include "core/settings_tables.h"

namespace tv {
namespace {

// Per name generator, in TFileNameKind order: the settings table and the kit dataset whose
// current record the placeholders read (none for the kinds without record placeholders).
struct TNameSource {
    std::string_view SettingsTable;
    std::string_view DataSet;
};
constexpr TNameSource kNameSources[] = {
    {"CDSExportAccountingPlanPrefs", ""},
    {"CDSExportArticlesPrefs", ""},
    {"CDSExportBestPrefs", "ADKBest"},
    {"CDSExportContactsPrefs", "ADKKontakter"},
    {"CDSExportCustomersPrefs", "AdkKunder"},
    {"CDSExportInvoicesPrefs", "ADKFakturor"},
    {"CDSExportOfferPrefs", "AdkOffert"},
    {"CDSExportOrderPrefs", "AdkOrder"},
    {"CDSExportPricelistsPrefs", "AdkPrislistor"},
    {"CDSExportSQLPrefs", ""},
    {"CDSExportSuppliersPrefs", "ADKLeverantorer"},
    {"CDSExportSupplierInvoicePrefs", "ADKLevFakturor"},
};
static_assert(std::size(kNameSources) == static_cast<size_t>(TFileNameKind::SupplierInvoice) + 1);

}  // namespace

TExportModule::TExportModule(TMainDM& mainDM, std::function<TDateTime()> clock)
    : dm_(mainDM),
      clock_(std::move(clock)),
      document_(mainDM.XMLDocument1()),
      mapping_(mainDM.CDSTables()),
      nodes_(mapping_, mainDM.Events()),
      numbers_(mainDM.CDSLopnr(), [this] { dm_.saveIdentities(); },
               {[this] { return dm_.getSettingsFile(); },
                mainDM.Settings().Schema().Table(kIdentitiesTable).Place}),
      names_(
          numbers_, [this] { return dm_.getWorkFolder(WORK_EXPORT, kUnprocessedFolder); },
          [this] { return clock_(); }),
      selections_(std::make_unique<TSelectionTables>()) {}

void TExportModule::SaveDocument(const std::string& fileName) {
    Events().reportFilename(std::string(kWritingFile) + fileName + "]", elInfo, fileName);
    document_.Save(fileName);
}

std::string TExportModule::Generate(TFileNameKind kind) {
    const TNameSource& source = kNameSources[static_cast<int>(kind)];
    const TAdkDataSet* record = source.DataSet.empty() ? nullptr : &dm_.AdkDataSet(source.DataSet);
    return names_.Generate(kind, dm_.Table(source.SettingsTable), record);
}

}  // namespace tv
