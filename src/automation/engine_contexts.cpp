#include "automation/engine_contexts.h"

#include "core/main_dm.h"
#include "platform/rtl/format_settings.h"

namespace tv {
namespace {

// The kit datasets of each context and the data module's names of them.
template <class Member>
struct TNamedDataSet {
    Member DataSet;
    std::string_view Name;
};

constexpr TNamedDataSet<TImportDataSet> kImportDataSets[] = {
    {&TImportDataSets::AdkKunder, "AdkKunder"},
    {&TImportDataSets::ADKLeverantorer, "ADKLeverantorer"},
    {&TImportDataSets::ADKArtiklar, "ADKArtiklar"},
    {&TImportDataSets::AdkInkPris, "AdkInkPris"},
    {&TImportDataSets::AdkPrislistor, "AdkPrislistor"},
    {&TImportDataSets::AdkForsaljningspriser, "AdkForsaljningspriser"},
    {&TImportDataSets::AdkOrder, "AdkOrder"},
    {&TImportDataSets::AdkOffert, "AdkOffert"},
    {&TImportDataSets::ADKFakturor, "ADKFakturor"},
    {&TImportDataSets::ADKLevFakturor, "ADKLevFakturor"},
    {&TImportDataSets::ADKBest, "ADKBest"},
    {&TImportDataSets::AdkAvtal, "AdkAvtal"},
    {&TImportDataSets::AdkInkFs, "AdkInkFs"},
    {&TImportDataSets::ADKManuellIn, "ADKManuellIn"},
    {&TImportDataSets::AdkManuellUt, "AdkManuellUt"},
    {&TImportDataSets::ADKKundinbetalningar, "ADKKundinbetalningar"},
    {&TImportDataSets::ADKKontakter, "ADKKontakter"},
    {&TImportDataSets::ADKProjekt, "ADKProjekt"},
    {&TImportDataSets::AdkArtikelSprak, "AdkArtikelSprak"},
    {&TImportDataSets::ADKAux, "ADKAux"},
    {&TImportDataSets::AdkInventering, "AdkInventering"},
};

constexpr TNamedDataSet<TExportDataSet> kExportDataSets[] = {
    {&TExportDataSets::AdkKunder, "AdkKunder"},
    {&TExportDataSets::ADKLeverantorer, "ADKLeverantorer"},
    {&TExportDataSets::ADKKontakter, "ADKKontakter"},
    {&TExportDataSets::ADKArtiklar, "ADKArtiklar"},
    {&TExportDataSets::AdkPrm, "AdkPrm"},
    {&TExportDataSets::ADKBokfAar, "ADKBokfAar"},
    {&TExportDataSets::ADKKonto, "ADKKonto"},
    {&TExportDataSets::ADKProfitCentres, "ADKProfitCentres"},
    {&TExportDataSets::ADKProjekt, "ADKProjekt"},
    {&TExportDataSets::AdkOrder, "AdkOrder"},
    {&TExportDataSets::AdkOffert, "AdkOffert"},
    {&TExportDataSets::ADKFakturor, "ADKFakturor"},
    {&TExportDataSets::ADKLevFakturor, "ADKLevFakturor"},
    {&TExportDataSets::ADKBest, "ADKBest"},
    {&TExportDataSets::AdkPrislistor, "AdkPrislistor"},
    {&TExportDataSets::ADKKolli, "ADKKolli"},
    {&TExportDataSets::AdkPaketArtiklar, "AdkPaketArtiklar"},
    {&TExportDataSets::AdkForsaljningspriser, "AdkForsaljningspriser"},
    {&TExportDataSets::AdkInkPris, "AdkInkPris"},
    {&TExportDataSets::AdkArtikelSprak, "AdkArtikelSprak"},
    {&TExportDataSets::AdkArtikelKontering, "AdkArtikelKontering"},
    {&TExportDataSets::AdkTmp, "AdkTmp"},
    {&TExportDataSets::AdkOrderUrval, "AdkOrderUrval"},
    {&TExportDataSets::AdkOffertUrval, "AdkOffertUrval"},
    {&TExportDataSets::AdkFakturaUrval, "AdkFakturaUrval"},
    {&TExportDataSets::ADKLevFakturaUrval, "ADKLevFakturaUrval"},
};

// Every dataset of a context has its row.
static_assert(std::size(kImportDataSets) * sizeof(TAdkDataSet*) == sizeof(TImportDataSets));
static_assert(std::size(kExportDataSets) * sizeof(TAdkDataSet*) == sizeof(TExportDataSets));

template <class DataSets, class Member, size_t N>
void FillDataSets(DataSets& dataSets, const TNamedDataSet<Member> (&rows)[N], const TMainDM& mainDM) {
    for (const auto& row : rows) dataSets.*row.DataSet = &mainDM.AdkDataSet(row.Name);
}

// The pieces both contexts take alike.
void FillShared(TEngineContext& context, TMainDM& mainDM) {
    context.Events = &mainDM.Events();
    context.SettingsTable = [&mainDM](std::string_view table) -> TDataSet& { return mainDM.Table(table); };
    context.FieldDefinitions = &mainDM.CDSTables();
    context.getWorkFolder = [&mainDM](int side, std::string_view subfolder) {
        return mainDM.getWorkFolder(side, subfolder);
    };
}

}  // namespace

TImportContext MakeImportContext(TMainDM& mainDM) {
    TImportContext context;
    FillShared(context, mainDM);
    FillDataSets(context.DataSets, kImportDataSets, mainDM);
    context.adminODBC = &mainDM.adminODBC();
    context.AdkHelper = &mainDM.AdkHelper();
    context.VismaTidConnection = &mainDM.VismaTidConnection();
    context.TidKunder = &mainDM.TidKunder();
    context.FormatSettings = &DefaultFormatSettings();
    context.holdWrites = [&mainDM](bool hold) { mainDM.AdkDBSRC().HoldWrites(hold); };
    return context;
}

TExportContext MakeExportContext(TMainDM& mainDM) {
    TExportContext context;
    FillShared(context, mainDM);
    FillDataSets(context.DataSets, kExportDataSets, mainDM);
    context.saveSettings = [&mainDM] { mainDM.saveSettings(); };
    context.Identities = &mainDM.CDSLopnr();
    // A saved running number reports the work before it done.
    context.saveIdentities = [&mainDM] {
        mainDM.MakeWritesDurable();
        mainDM.saveIdentities();
    };
    context.makeWritesDurable = [&mainDM] { mainDM.MakeWritesDurable(); };
    context.SharedIdentities = {[&mainDM] { return mainDM.getSettingsFile(); },
                                mainDM.Settings().Schema().Table(kIdentitiesTable).Place};
    context.Document = &mainDM.XMLDocument1();
    context.qOrderUrval = &mainDM.qOrderUrval();
    context.ADOArbitrarySQL = &mainDM.ADOArbitrarySQL();
    context.connectODBC = [&mainDM] { mainDM.connectODBC(); };
    context.disconnectODBC = [&mainDM] { mainDM.disconnectODBC(); };
    context.IsSQLDb = [&mainDM] { return mainDM.AdkDBSRC().IsSQLDb(); };
    context.SetTimer1Enabled = [&mainDM](bool enabled) { mainDM.SetTimer1Enabled(enabled); };
    context.FormatSettings = &DefaultFormatSettings();
    context.CustomerPricelistData = &mainDM.CDSExportCustomerPricelistData();
    context.saveCustomerPricelistData = [&mainDM] { mainDM.saveCustomerPricelistData(); };
    return context;
}

}  // namespace tv
