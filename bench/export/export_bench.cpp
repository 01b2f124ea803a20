// Writing 100,000 customers into one interchange document through the field mapping, against
// serializing the same tree: what building record nodes (field look-up, value text, element and
// text nodes) costs beside writing the bytes. The customers are read from the kit once, before
// the timing; the record writer then walks the dataset's rows as the company-information writer
// does.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "export/export_document.h"
#include "export/record_nodes.h"

extern char** environ;

namespace tv {
namespace {

constexpr int kCustomers = 100000;

int Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class NoEvents : public IEventSink {
public:
    void addEventItem(std::string_view, bool) override {}
    void CloseNestedEventItem() override {}
    void reportError(std::string_view, int) override {}
    void reportFilename(std::string_view, int, std::string_view) override {}
    void logOrderMessage(std::string_view, int) override {}
    void setEventCount(int) override {}
    void StepProgress() override {}
    void nextEvent(std::string_view, int) override {}
    void setRootItem(std::string_view) override {}
    void Clear() override {}
    void Complete() override {}
    void MarkFinished() override {}
    void setMessage(std::string_view) override {}
};

// A company of 100,000 customers with names, addresses, e-mail and a time stamp, read into a kit
// dataset, and the generated field-definition table.
struct Fixture {
    std::string folder;
    TComponent module;
    TAdkDatabase* db = nullptr;
    TAdkDataSet* customers = nullptr;
    TClientDataSet definitions;

    Fixture() {
        folder = (std::filesystem::temp_directory_path() / ("tv_bench_export_" + std::to_string(getpid())))
                     .string();
        std::filesystem::remove_all(folder);
        const std::string seed = folder + ".sql";
        std::ofstream(seed)
            << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " << kCustomers
            << ") INSERT INTO kund (kundnr, namn, adress1, postnr, ort, telefon, valuta, epost, "
               "timestamp) SELECT 10000 + i, 'Kund ' || i || ' Åkesson AB', 'Storgatan ' || i, "
               "'41' || (i % 1000), 'Göteborg', '031-' || i, 'SEK', 'kund' || i || '@example.se', "
               "'2024-01-03 10:00:00' FROM n;\n";
        if (Run({TV_ADKCTL, "create", folder}) != 0 || Run({TV_ADKCTL, "seed", folder, seed}) != 0)
            throw std::runtime_error("adkctl failed");
        std::filesystem::remove(seed);

        db = new TAdkDatabase(&module, std::make_unique<TAdkInfo>(folder, folder));
        db->AdkPath = std::filesystem::path(TV_KIT).parent_path().string();
        db->SetArguments({});
        db->SetCompanyPath(folder);
        customers = new TAdkDataSet(&module);
        customers->SetName("AdkKunder");
        customers->SetAdkTable(atKunder);
        customers->SetAdkSortOrder(asKundnr);
        customers->MakeOpen();
        customers->FetchAllNow(false);

        definitions.AddField("const_table", TFieldType::ftString, 256);
        definitions.AddField("const_string", TFieldType::ftString, 256);
        definitions.AddField("const_value", TFieldType::ftInteger);
        definitions.AddField("const_title", TFieldType::ftString, 256);
        definitions.CreateDataSet();
        std::ifstream table(TV_BINARY_DIR "/data/tables/ooi.table");
        for (std::string line; std::getline(table, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::string> cells;
            std::istringstream parts(line);
            for (std::string cell; std::getline(parts, cell, ';');) cells.push_back(cell);
            if (cells.size() < 4) continue;
            definitions.Append();
            for (int i = 0; i < 4; ++i) definitions.Fields(i).SetAsString(cells[i]);
            definitions.Post();
        }
    }
    ~Fixture() {
        module.DestroyComponents();
        FreeAdkLibrary();
        std::filesystem::remove_all(folder);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

// The export run's writer over the fixture's customers.
struct Writer {
    Fixture& f = TheFixture();
    TFieldMapping mapping{f.definitions};
    NoEvents events;
    TRecordNodes nodes{mapping, events};
    TXMLDocument xml;
    TExportDocument doc{xml};

    void Build() {
        doc.Activate();
        doc.createDefaultNodes();
        nodes.writeDataSetNodes(*doc.NodeCustomers, "atKunder", *f.customers);
    }
};

void BM_WriteCustomerNodes(benchmark::State& state) {
    Writer w;
    for (auto _ : state) {
        w.Build();
        w.doc.Deactivate();
    }
    state.SetItemsProcessed(state.iterations() * w.f.customers->RecordCount());
}
BENCHMARK(BM_WriteCustomerNodes)->Unit(benchmark::kMillisecond);

void BM_SerializeTheSameTree(benchmark::State& state) {
    Writer w;
    w.Build();
    size_t bytes = 0;
    for (auto _ : state) bytes = w.xml.SaveToBytes().size();
    state.SetItemsProcessed(state.iterations() * w.f.customers->RecordCount());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes));
}
BENCHMARK(BM_SerializeTheSameTree)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tv
