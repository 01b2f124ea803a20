#include "export/export_module.h"

#include "core/work_folders.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

// Per name generator, in TFileNameKind order: the settings table and the kit dataset whose
// current record the placeholders read (none for the kinds without record placeholders).
struct TNameSource {
    std::string_view SettingsTable;
    TExportDataSet DataSet;
};
constexpr TNameSource kNameSources[] = {
    {"CDSExportAccountingPlanPrefs", nullptr},
    {"CDSExportArticlesPrefs", nullptr},
    {"CDSExportBestPrefs", &TExportDataSets::ADKBest},
    {"CDSExportContactsPrefs", &TExportDataSets::ADKKontakter},
    {"CDSExportCustomersPrefs", &TExportDataSets::AdkKunder},
    {"CDSExportInvoicesPrefs", &TExportDataSets::ADKFakturor},
    {"CDSExportOfferPrefs", &TExportDataSets::AdkOffert},
    {"CDSExportOrderPrefs", &TExportDataSets::AdkOrder},
    {"CDSExportPricelistsPrefs", &TExportDataSets::AdkPrislistor},
    {"CDSExportSQLPrefs", nullptr},
    {"CDSExportSuppliersPrefs", &TExportDataSets::ADKLeverantorer},
    {"CDSExportSupplierInvoicePrefs", &TExportDataSets::ADKLevFakturor},
};
static_assert(std::size(kNameSources) == static_cast<size_t>(TFileNameKind::SupplierInvoice) + 1);

[[noreturn]] void RaiseLacks(std::string_view what) {
    throw Exception(Format(kExportLacks, {what}));
}

template <class T>
T& Required(T* piece, std::string_view what) {
    if (!piece) RaiseLacks(what);
    return *piece;
}

// The context itself, once every piece the module works with from the start is there.
TExportContext Checked(TExportContext context) {
    Required(context.Events, "event tree");
    if (!context.SettingsTable || !context.saveSettings) RaiseLacks("settings tables");
    Required(context.FieldDefinitions, "field definitions");
    Required(context.Identities, "running numbers");
    if (!context.saveIdentities) RaiseLacks("running numbers");
    Required(context.Document, "export document");
    if (!context.getWorkFolder) RaiseLacks("work folders");
    if (!context.SetTimer1Enabled) context.SetTimer1Enabled = [](bool) {};
    if (!context.connectODBC) context.connectODBC = [] {};
    if (!context.disconnectODBC) context.disconnectODBC = [] {};
    if (!context.IsSQLDb) context.IsSQLDb = [] { return false; };
    return context;
}

}  // namespace

TExportModule::TExportModule(TExportContext context, std::function<TDateTime()> clock)
    : context_(Checked(std::move(context))),
      clock_(std::move(clock)),
      document_(*context_.Document),
      mapping_(*context_.FieldDefinitions),
      nodes_(mapping_, *context_.Events),
      numbers_(*context_.Identities, context_.saveIdentities, context_.SharedIdentities),
      names_(
          numbers_, [this] { return context_.getWorkFolder(WORK_EXPORT, kUnprocessedFolder); },
          [this] { return clock_(); },
          context_.FormatSettings ? *context_.FormatSettings : DefaultFormatSettings()),
      selections_(std::make_unique<TSelectionTables>()) {}

TAdkDataSet& TExportModule::KitDataSet(TExportDataSet dataSet) const {
    return Required(context_.DataSets.*dataSet, "kit dataset");
}

TAdkDataSet& TExportModule::RowsOf(const TAdkDataSet& head) const {
    return Required(head.ChildTable(), "rows dataset");
}

TADOQuery& TExportModule::qOrderUrval() const {
    return Required(context_.qOrderUrval, "qOrderUrval");
}

TADOQuery& TExportModule::ADOArbitrarySQL() const {
    return Required(context_.ADOArbitrarySQL, "ADOArbitrarySQL");
}

void TExportModule::SaveDocument(const std::string& fileName) {
    Events().reportFilename(std::string(kWritingFile) + fileName + "]", elInfo, fileName);
    MakeWritesDurable();
    document_.Save(fileName);
}

void TExportModule::MakeWritesDurable() {
    if (context_.makeWritesDurable) context_.makeWritesDurable();
}

bool TExportModule::FileModeIsBuilt(int mode) {
    if (mode == kOneFile || mode == kFilePerRecord) return true;
    Events().reportError(Format(kFileModeNotBuilt, {mode}), elWarning);
    return false;
}

std::string TExportModule::Generate(TFileNameKind kind) {
    const TNameSource& source = kNameSources[static_cast<int>(kind)];
    const TAdkDataSet* record = source.DataSet ? &KitDataSet(source.DataSet) : nullptr;
    return names_.Generate(kind, Settings(source.SettingsTable), record);
}

}  // namespace tv
