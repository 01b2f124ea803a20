#include "import/import_context.h"

#include "core/main_dm.h"

namespace tv {

TImportContext MakeImportContext(TMainDM& mainDM) {
    TImportContext context;
    context.Events = &mainDM.Events();
    TImportDataSets& d = context.DataSets;
    auto kit = [&](std::string_view name) { return &mainDM.AdkDataSet(name); };
    d.AdkKunder = kit("AdkKunder");
    d.ADKLeverantorer = kit("ADKLeverantorer");
    d.ADKArtiklar = kit("ADKArtiklar");
    d.AdkInkPris = kit("AdkInkPris");
    d.AdkPrislistor = kit("AdkPrislistor");
    d.AdkForsaljningspriser = kit("AdkForsaljningspriser");
    d.AdkOrder = kit("AdkOrder");
    d.AdkOffert = kit("AdkOffert");
    d.ADKFakturor = kit("ADKFakturor");
    d.ADKLevFakturor = kit("ADKLevFakturor");
    d.ADKBest = kit("ADKBest");
    d.AdkAvtal = kit("AdkAvtal");
    d.AdkInkFs = kit("AdkInkFs");
    d.ADKManuellIn = kit("ADKManuellIn");
    d.AdkManuellUt = kit("AdkManuellUt");
    d.ADKKundinbetalningar = kit("ADKKundinbetalningar");
    d.ADKKontakter = kit("ADKKontakter");
    d.ADKProjekt = kit("ADKProjekt");
    context.SettingsTable = [&mainDM](std::string_view table) -> TDataSet& { return mainDM.Table(table); };
    context.FieldDefinitions = &mainDM.CDSTables();
    context.adminODBC = &mainDM.adminODBC();
    context.getWorkFolder = [&mainDM](int side, std::string_view subfolder) {
        return mainDM.getWorkFolder(side, subfolder);
    };
    return context;
}

}  // namespace tv
