// The settings store at its real size: loadSettings (every start), saveSettings (after the
// settings window) and saveIdentities (each time a running number advances during an export),
// against a settings root holding every section and a few hundred text-table rows.

#include <benchmark/benchmark.h>

#include <string>

#include "core/settings_store.h"
#include "tests/core/startup/startup_fixture.h"

namespace tv {
namespace {

struct Store {
    Store() {
        folders.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                          "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n");
        std::string queries, prices;
        for (int i = 0; i < 200; ++i) {
            queries += "Fråga " + std::to_string(i) + ";select * from kund where kundnr = '" +
                       std::to_string(i) + "'\\r\\norder by namn;$exportdatum.xml;yyyymmdd;False\r\n";
            prices +=
                "K" + std::to_string(i) + ";Kund " + std::to_string(i) + ";" + std::to_string(i) + ";AV\r\n";
        }
        folders.dir.Write("common/Brismark/Tollvane/default/data/sqlqueries.txt", queries);
        folders.dir.Write("common/Brismark/Tollvane/default/data/exportcustomerpricelist.txt",
                          "customernumber;customername;lopnr;agreementref\r\n" + prices);
        store.loadSettings();
        store.saveSettings();
        tables.CDSLopnr().Edit();
        tables.CDSLopnr().FieldByName("LOPNR_EXPORT_ORDER").SetAsLargeInt(1);
        tables.CDSLopnr().Post();
    }
    test::StartupFolders folders;
    TSettingsTables tables;
    TRuleTables rules;
    TWorkFolders work{tables.InstallningarCDS()};
    TSettingsStore store{tables, rules, work};
};

void BM_LoadSettings(benchmark::State& state) {
    Store s;
    for (auto _ : state) s.store.loadSettings();
}
BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveSettings(benchmark::State& state) {
    Store s;
    for (auto _ : state) s.store.saveSettings();
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMicrosecond);

void BM_SaveIdentities(benchmark::State& state) {
    Store s;
    for (auto _ : state) s.store.saveIdentities();
}
BENCHMARK(BM_SaveIdentities)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tv
