// Writing 100,000 customers into one interchange document through the field mapping, against
// serializing the same tree: what building record nodes (field look-up, value text, element and
// text nodes) costs beside writing the bytes. The customers are read from the kit once, before
// the timing; the record writer then walks the dataset's rows as the company-information writer
// does. Then the whole customer export of the same company as a job runs it (the selection of all
// customers, each found in the kit, written and saved) with the peak of the memory it takes,
// beside its yardstick: building and saving the same document as a libxml2 tree (time and peak
// memory within twice the yardstick's are the goal), and the cost of saving one small file of
// a run that writes one file per record, with and without waiting for the disk. Last, a run that
// writes one file per record for 10,000 customers: saving 10,000 files as a group with one wait for
// the disk against saving them without any wait (one wait per file costs what BM_SaveOneCustomerFile
// to_disk shows, 10,000 times); and the job's export of them with its one wait against the same
// export with every wait of the program's own file writes skipped: the one wait keeps it within
// twice the time of the other.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "adk/adk_dataset.h"
#include "automation/engine_contexts.h"
#include "core/event_sink.h"
#include "core/main_dm.h"
#include "export/dm_export.h"
#include "export/export_document.h"
#include "export/export_writers.h"
#include "export/record_nodes.h"
#include "bench/export/export_bench_support.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/text_file.h"

// Whether the program's own waits for the disk are skipped. The calls below take the place of
// the C library's for the code linked into this program (the kit and SQLite, loaded as shared
// libraries, keep theirs), so that a run can be measured without its waits.
static bool gSkipDiskWaits = false;

namespace {
template <class F>
F RealCall(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
}  // namespace

extern "C" int fsync(int fd) {
    static const auto real = RealCall<int (*)(int)>("fsync");
    return gSkipDiskWaits ? 0 : real(fd);
}
extern "C" int fdatasync(int fd) {
    static const auto real = RealCall<int (*)(int)>("fdatasync");
    return gSkipDiskWaits ? 0 : real(fd);
}
extern "C" int sync_file_range(int fd, off64_t offset, off64_t count, unsigned int flags) {
    static const auto real = RealCall<int (*)(int, off64_t, off64_t, unsigned int)>("sync_file_range");
    return gSkipDiskWaits ? 0 : real(fd, offset, count, flags);
}
extern "C" int syncfs(int fd) noexcept {
    static const auto real = RealCall<int (*)(int)>("syncfs");
    return gSkipDiskWaits ? 0 : real(fd);
}

namespace tv {
namespace {

constexpr int kCustomers = 100000;

// A company of 100,000 customers with names, addresses, e-mail and a time stamp, read into a kit
// dataset, and the generated field-definition table.
struct Fixture {
    std::string folder;
    TComponent module;
    TAdkDatabase* db = nullptr;
    TAdkDataSet* customers = nullptr;
    TClientDataSet definitions;

    Fixture() {
        std::ostringstream seed;
        seed << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " << kCustomers
             << ") INSERT INTO kund (kundnr, namn, adress1, postnr, ort, telefon, valuta, epost, "
                "timestamp) SELECT 10000 + i, 'Kund ' || i || ' Åkesson AB', 'Storgatan ' || i, "
                "'41' || (i % 1000), 'Göteborg', '031-' || i, 'SEK', 'kund' || i || '@example.se', "
                "'2024-01-03 10:00:00' FROM n;\n";
        folder = bench::MakeSeededCompany("tv_bench_export", seed.str());

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
    bench::NoEvents events;
    TRecordNodes nodes{mapping, events};
    TXMLDocument xml;
    TExportDocument doc{xml};

    void Build() {
        if (!f.customers) throw std::runtime_error("the fixture's customers were closed by the job export");
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

// One customer's file, saved under a new name each time as the running numbers make them.
void BM_SaveOneCustomerFile(benchmark::State& state, TReplaceSync sync) {
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.createDefaultNodes();
    TXMLNode* customer = doc.NodeCustomers->AddChild("atKunder");
    customer->SetAttribute("key", "10001");
    for (const char* element : {"CUSTOMER_NUMBER", "CUSTOMER_NAME", "CUSTOMER_ADDRESS1", "CUSTOMER_ZIPCODE",
                                "CUSTOMER_CITY", "CUSTOMER_PHONE", "CUSTOMER_CURRENCY", "CUSTOMER_EMAIL"})
        customer->AddChild(element)->SetText("Kund 1 Åkesson AB");
    const std::string bytes = xml.SaveToBytes();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tv_bench_save_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    int64_t n = 0;
    for (auto _ : state)
        WriteFileBytesReplacing((folder / ("kunder_" + std::to_string(n++) + ".xml")).string(), bytes, sync);
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_SaveOneCustomerFile, to_disk, TReplaceSync::ToDisk)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SaveOneCustomerFile, lazy, TReplaceSync::Lazy)->Unit(benchmark::kMicrosecond);

constexpr int kFilesPerRun = 10000;

// The files of one run that writes a file per record, saved as the export saves them (one wait per
// run) and without waiting at all.
void BM_SaveTheFilesOfARun(benchmark::State& state, bool grouped) {
    const std::string bytes(900, 'x');
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tv_bench_run_" + std::to_string(getpid()));
    for (auto _ : state) {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        TFileReplaceGroup group;
        for (int i = 0; i < kFilesPerRun; ++i) {
            const std::string name = (folder / ("kund_" + std::to_string(i) + ".xml")).string();
            if (grouped)
                group.Write(name, bytes);
            else
                WriteFileBytesReplacing(name, bytes, TReplaceSync::Lazy);
        }
        group.Commit();
    }
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations() * kFilesPerRun);
}
BENCHMARK_CAPTURE(BM_SaveTheFilesOfARun, grouped, true)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_SaveTheFilesOfARun, no_wait, false)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The fixture's company, its own datasets released: the kit opens one company at a time, and the
// data module's connection takes the place of the fixture's own.
const std::string& ReleasedCompany(Fixture& f) {
    f.module.DestroyComponents();
    f.customers = nullptr;
    return f.folder;
}

// The customer export as a job runs it. Last: the fixture's own datasets are gone afterwards.
struct CustomerJob {
    bench::JobWorld world{ReleasedCompany(TheFixture()),
                          {{"CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kunder_$lopnr_kunder.xml"}}};
};

// The file the customer export wrote, kept for the yardstick below.
std::string gExportedCustomers;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Counter "peak_mb": how far the process's memory grew above what it held before the run.
void BM_ExportAllCustomersToOneFile(benchmark::State& state) {
    CustomerJob job;
    bench::PeakMemory memory;
    for (auto _ : state) {
        memory.Start();
        job.world.facade->ExportCustomers();
    }
    state.counters["peak_mb"] = memory.GrowthMb();
    job.world.RequireWritten("kunder_0.xml");
    gExportedCustomers = ReadFile(job.world.folders.Root() + "export/obehandlade/kunder_0.xml");
    state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_ExportAllCustomersToOneFile)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// A copy of `from`'s element under `parent` (null: as the root of `doc`), with its attributes and
// texts, made with libxml2's tree calls.
void CopyElement(xmlDocPtr doc, xmlNodePtr parent, xmlNodePtr from) {
    const xmlNodePtr text = from->children && from->children->type == XML_TEXT_NODE && !from->children->next
                                ? from->children
                                : nullptr;
    xmlNodePtr copy = xmlNewDocNode(doc, nullptr, from->name, nullptr);
    if (text) xmlNodeAddContent(copy, text->content);
    if (parent)
        xmlAddChild(parent, copy);
    else
        xmlDocSetRootElement(doc, copy);
    for (xmlAttrPtr a = from->properties; a; a = a->next)
        xmlNewProp(copy, a->name, a->children ? a->children->content : BAD_CAST "");
    if (text) return;
    for (xmlNodePtr child = from->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE) CopyElement(doc, copy, child);
}

// The yardstick of the export above: the same document (the file it wrote, read untimed) built
// element by element as a libxml2 tree and saved in the same encoding.
void BM_LibXml2TreeOfTheSameDocument(benchmark::State& state) {
    if (gExportedCustomers.empty()) throw std::runtime_error("run BM_ExportAllCustomersToOneFile first");
    xmlDocPtr source = xmlReadMemory(gExportedCustomers.data(), static_cast<int>(gExportedCustomers.size()),
                                     nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    if (!source) throw std::runtime_error("the exported file does not parse");
    const std::string file =
        (std::filesystem::temp_directory_path() / ("tv_bench_tree_" + std::to_string(getpid()) + ".xml")).string();
    bench::PeakMemory memory;
    for (auto _ : state) {
        memory.Start();
        xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
        CopyElement(doc, nullptr, xmlDocGetRootElement(source));
        if (xmlSaveFormatFileEnc(file.c_str(), doc, "ISO-8859-1", 1) < 0) throw std::runtime_error("save failed");
        xmlFreeDoc(doc);
    }
    state.counters["peak_mb"] = memory.GrowthMb();
    xmlFreeDoc(source);
    std::filesystem::remove(file);
    state.SetItemsProcessed(state.iterations() * kCustomers);
}
BENCHMARK(BM_LibXml2TreeOfTheSameDocument)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// The job's per-record export of 10,000 customers, with its wait for the disk or without any.
void BM_ExportCustomersOneFilePerRecord(benchmark::State& state, bool waits) {
    bench::JobWorld world{ReleasedCompany(TheFixture()),
                          {{"CDSExportCustomersPrefs", "FILE_MANAGEMENT_TYPE", "1"},
                           {"CDSExportCustomersPrefs", "FILE_MANAGEMENT_TMPL", "kund_$kundnr.xml"}}};
    TStringList keys;
    for (int i = 1; i <= kFilesPerRun; ++i) keys.Add(std::to_string(10000 + i));
    const std::string written = world.folders.Root() + "export/obehandlade/";
    gSkipDiskWaits = !waits;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(written);
        std::filesystem::create_directories(written);
        ::sync();  // no write of the last run left for this one to wait for
        state.ResumeTiming();
        world.facade->ExportCustomersFromList(&keys);
    }
    gSkipDiskWaits = false;
    world.RequireWritten("kund_" + std::to_string(10000 + kFilesPerRun) + ".xml");
    state.SetItemsProcessed(state.iterations() * kFilesPerRun);
}
BENCHMARK_CAPTURE(BM_ExportCustomersOneFilePerRecord, with_its_wait, true)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportCustomersOneFilePerRecord, without_waits, false)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace tv
