// The combined import: a generated interchange file of about 50 MB carrying every kind the import
// offers, loaded, checked and imported in the default import job's order (the table and order of
// tests/import/combined/job_order.h), beside libxml2's tree parse of the same bytes and beside the
// customers of the same file imported alone. Each reports records per second and the peak resident
// memory of its run ("peak_rss_mb", the process's high-water mark reset before the run).

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "adk/adk_catalogue.h"
#include "tests/import/combined/job_order.h"

namespace {

constexpr int kBlocks = 12500;  // about 50 MB
// Per block: a customer, a supplier, an article, a contact, a project, a purchase price, a sales
// price, an order with two rows, an offer, an invoice, an agreement, a purchase order, a supplier
// invoice and a delivery note with one row each, a payment, a manual receipt and a manual issue.
constexpr int kRecordsPerBlock = 25;
constexpr int kCustomerRecords = 1;

void Append(std::string& xml, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) xml += part;
}

// Each container holds one item per block, in the job's order of kinds. The documents searched on
// their number orders have number keys above every number the run writes.
std::string CombinedFile() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n";
    auto container = [&](const char* name, auto&& item) {
        Append(xml, {"\t<", name, ">\r\n\t\t<!-- genererad -->\r\n"});
        for (int i = 1; i <= kBlocks; ++i) item(std::to_string(i));
        Append(xml, {"\t</", name, ">\r\n"});
    };
    container("customers", [&](const std::string& n) {
        Append(xml, {"\t\t<atKunder key=\"k", n, "\">\r\n\t\t\t<CUSTOMER_NAME>Kund ", n,
                     " AB</CUSTOMER_NAME>\r\n\t\t\t<CUSTOMER_CITY>Västerås</CUSTOMER_CITY>\r\n"
                     "\t\t\t<CUSTOMER_CREDIT_LIMIT>",
                     n, ".5</CUSTOMER_CREDIT_LIMIT>\r\n\t\t\t<CUSTOMER_ORGANISATION_NUMBER>55",
                     n, "-0000</CUSTOMER_ORGANISATION_NUMBER>\r\n\t\t</atKunder>\r\n"});
    });
    container("suppliers", [&](const std::string& n) {
        Append(xml, {"\t\t<atLeverantorer key=\"s", n, "\">\r\n\t\t\t<SUPPLIER_NAME>Leverantör ", n,
                     "</SUPPLIER_NAME>\r\n\t\t\t<SUPPLIER_CITY>Luleå</SUPPLIER_CITY>\r\n\t\t</atLeverantorer>\r\n"});
    });
    container("articles", [&](const std::string& n) {
        Append(xml, {"\t\t<atArtiklar key=\"a", n, "\">\r\n\t\t\t<ARTICLE_NUMBER>B", n,
                     "</ARTICLE_NUMBER>\r\n\t\t\t<ARTICLE_NAME>Bult ", n,
                     "</ARTICLE_NAME>\r\n\t\t\t<ARTICLE_UNIT>st</ARTICLE_UNIT>\r\n"
                     "\t\t\t<ARTICLE_WEIGHT>1.25</ARTICLE_WEIGHT>\r\n\t\t</atArtiklar>\r\n"});
    });
    container("contacts", [&](const std::string& n) {
        Append(xml, {"\t\t<atKontakter key=\"Kontakt ", n, "\" customerKey=\"k", n,
                     "\">\r\n\t\t\t<CONTACTS_NAME>Kontakt ", n,
                     "</CONTACTS_NAME>\r\n\t\t\t<CONTACTS_TITLE>Inköpare</CONTACTS_TITLE>\r\n\t\t</atKontakter>\r\n"});
    });
    container("projects", [&](const std::string& n) {
        Append(xml, {"\t\t<atProjekt key=\"P", n, "\" customerKey=\"k", n, "\">\r\n\t\t\t<PROJECT_NAME>Projekt ",
                     n, "</PROJECT_NAME>\r\n\t\t</atProjekt>\r\n"});
    });
    Append(xml, {"\t<purchaseprices>\r\n\t\t<atInkopspriser>\r\n\t\t\t<!-- genererad -->\r\n"});
    for (int i = 1; i <= kBlocks; ++i) {
        const std::string n = std::to_string(i);
        Append(xml, {"\t\t\t<supplierarticle articlekey=\"a", n, "\" supplierkey=\"s", n,
                     "\">\r\n\t\t\t\t<ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER>S-", n,
                     "</ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER>\r\n"
                     "\t\t\t\t<ARTICLE_PURCHASE_PRICE_PRICE>7.5</ARTICLE_PURCHASE_PRICE_PRICE>\r\n"
                     "\t\t\t</supplierarticle>\r\n"});
    }
    Append(xml, {"\t\t</atInkopspriser>\r\n\t</purchaseprices>\r\n"});
    Append(xml, {"\t<pricelists>\r\n\t\t<!-- genererad -->\r\n\t\t<pricelist>\r\n\t\t\t<atPrislistor key=\"PL1\"/>\r\n"
                 "\t\t\t<rows>\r\n"});
    for (int i = 1; i <= kBlocks; ++i)
        Append(xml, {"\t\t\t\t<row articlekey=\"a", std::to_string(i),
                     "\">\r\n\t\t\t\t\t<PRICE_PRICE>19.5</PRICE_PRICE>\r\n\t\t\t\t</row>\r\n"});
    Append(xml, {"\t\t\t</rows>\r\n\t\t</pricelist>\r\n\t</pricelists>\r\n"});
    container("orders", [&](const std::string& n) {
        Append(xml, {"\t\t<order>\r\n\t\t\t<atOrder customerkey=\"k", n,
                     "\">\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE1>2024-03-04</OOI_HEAD_DOCUMENT_DATE1>\r\n"
                     "\t\t\t\t<OOI_HEAD_CUSTOMER_ORDER_NUMBER>",
                     n, "</OOI_HEAD_CUSTOMER_ORDER_NUMBER>\r\n\t\t\t</atOrder>\r\n\t\t\t<rows>\r\n"
                        "\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>2.5</OOI_ROW_QUANTITY2>\r\n"
                        "\t\t\t\t\t<OOI_ROW_PRICE>19.5</OOI_ROW_PRICE>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t\t<row artkey=\"A100\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>1</OOI_ROW_QUANTITY2>\r\n"
                        "\t\t\t\t\t<OOI_ROW_TEXT>Frakt</OOI_ROW_TEXT>\r\n\t\t\t\t</row>\r\n\t\t\t</rows>\r\n"
                        "\t\t</order>\r\n"});
    });
    container("offers", [&](const std::string& n) {
        Append(xml, {"\t\t<offer>\r\n\t\t\t<atOffert customerkey=\"k", n,
                     "\">\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE1>2024-03-05</OOI_HEAD_DOCUMENT_DATE1>\r\n"
                     "\t\t\t</atOffert>\r\n\t\t\t<rows>\r\n\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>10</OOI_ROW_QUANTITY2>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t</rows>\r\n\t\t</offer>\r\n"});
    });
    container("invoices", [&](const std::string& n) {
        Append(xml, {"\t\t<invoice>\r\n\t\t\t<atFakturor customerkey=\"k", n, "\" key=\"9000", n,
                     "\">\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE1>2024-03-06</OOI_HEAD_DOCUMENT_DATE1>\r\n"
                     "\t\t\t\t<OOI_HEAD_DOCUMENT_DATE2>2024-04-05</OOI_HEAD_DOCUMENT_DATE2>\r\n"
                     "\t\t\t</atFakturor>\r\n\t\t\t<rows>\r\n\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY1>2.5</OOI_ROW_QUANTITY1>\r\n"
                        "\t\t\t\t\t<OOI_ROW_DATE3>2024-03-07</OOI_ROW_DATE3>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t</rows>\r\n\t\t</invoice>\r\n"});
    });
    container("agreements", [&](const std::string& n) {
        Append(xml, {"\t\t<agreement>\r\n\t\t\t<atAvtal customerkey=\"k", n, "\" key=\"9000", n,
                     "\">\r\n\t\t\t\t<AGREEMENT_HEAD_TEXT>Service ", n,
                     "</AGREEMENT_HEAD_TEXT>\r\n\t\t\t</atAvtal>\r\n\t\t\t<rows>\r\n\t\t\t\t<row artkey=\"a", n,
                     "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>3</OOI_ROW_QUANTITY2>\r\n\t\t\t\t</row>\r\n"
                     "\t\t\t</rows>\r\n\t\t</agreement>\r\n"});
    });
    container("customerpayments", [&](const std::string& n) {
        Append(xml, {"\t\t<payment invoiceKey=\"9000", n,
                     "\">\r\n\t\t\t<CUSTOMERPAYMENT_DATE>2024-03-20</CUSTOMERPAYMENT_DATE>\r\n"
                     "\t\t\t<CUSTOMERPAYMENT_AMOUNT>48.75</CUSTOMERPAYMENT_AMOUNT>\r\n\t\t</payment>\r\n"});
    });
    container("bests", [&](const std::string& n) {
        Append(xml, {"\t\t<best key=\"9000", n, "\">\r\n\t\t\t<atBestallningar key=\"9000", n, "\" supplierkey=\"s", n,
                     "\">\r\n\t\t\t\t<BOOKING_DATE>2024-03-08</BOOKING_DATE>\r\n\t\t\t</atBestallningar>\r\n"
                     "\t\t\t<rows>\r\n\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY2>100</OOI_ROW_QUANTITY2>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t</rows>\r\n\t\t</best>\r\n"});
    });
    container("supplierinvoices", [&](const std::string& n) {
        Append(xml, {"\t\t<supplierinvoice>\r\n\t\t\t<atLevFakturor supplierkey=\"s", n,
                     "\">\r\n\t\t\t\t<SUP_INV_HEAD_INVOICE_NUMBER>LF-", n,
                     "</SUP_INV_HEAD_INVOICE_NUMBER>\r\n\t\t\t</atLevFakturor>\r\n\t\t\t<rows>\r\n"
                     "\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY1>100</OOI_ROW_QUANTITY1>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t</rows>\r\n\t\t</supplierinvoice>\r\n"});
    });
    container("deliverynotes", [&](const std::string& n) {
        Append(xml, {"\t\t<deliverynote>\r\n\t\t\t<atInkFs key=\"9000", n, "\" supplierkey=\"s", n, "\" bestkey=\"9000", n,
                     "\">\r\n\t\t\t\t<DELIVERY_NOTE_DATE>2024-03-12</DELIVERY_NOTE_DATE>\r\n\t\t\t</atInkFs>\r\n"
                     "\t\t\t<rows>\r\n\t\t\t\t<row artkey=\"a",
                     n, "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY1>60</OOI_ROW_QUANTITY1>\r\n\t\t\t\t</row>\r\n"
                        "\t\t\t</rows>\r\n\t\t</deliverynote>\r\n"});
    });
    for (const char* direction : {"IN", "OUT"}) {
        const std::string element = std::string("MANUAL_DELIVERY_") + direction;
        container(direction == std::string_view("IN") ? "manualDeliveryIn" : "manualDeliveryOut",
                  [&](const std::string& n) {
                      Append(xml, {"\t\t<item key=\"", direction, n, "\" artkey=\"a", n, "\">\r\n\t\t\t<", element,
                                   "_QUANTITY>12.5</", element, "_QUANTITY>\r\n\t\t\t<", element, "_TEXT>Flyttat ",
                                   n, "</", element, "_TEXT>\r\n\t\t</item>\r\n"});
                  });
    }
    // The articles the order rows name beside the file's own.
    xml.insert(xml.find("\t</articles>"), "\t\t<atArtiklar key=\"A100\" option=\"noedit\"/>\r\n");
    return xml + "</quorvel>\r\n";
}

const std::string& File() {
    static const std::string bytes = CombinedFile();
    return bytes;
}

// A line of /proc/self/status in MB ("VmRSS", "VmHWM").
double StatusMb(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(field) && line[field.size()] == ':') return std::stod(line.substr(field.size() + 1)) / 1024.0;
    return 0;
}

// The peak resident memory of one run: freed memory is handed back first, so that what the runs
// before left behind counts as little as it can, and the high-water mark is reset. Reports the
// peak ("peak_rss_mb") and how far it rose above the start ("peak_over_start_mb").
class TPeakMemory {
public:
    TPeakMemory() {
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        start_ = StatusMb("VmRSS");
    }
    void Report(benchmark::State& state) const {
        const double peak = StatusMb("VmHWM");
        state.counters["peak_rss_mb"] = peak;
        state.counters["peak_over_start_mb"] = peak - start_;
    }

private:
    double start_ = 0;
};

// A fresh demo company and the file; then, timed, LoadXML and the calls named (each must answer
// true and report nothing at level 2).
void RunJob(benchmark::State& state, const std::vector<std::string>& calls, int recordsPerBlock) {
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world({"kit/demo_company.sql"});
        world.Open();
        world.Set("CDSImportContacts", "SEARCH_CDX", std::to_string(int(tv::asKontakt)));
        world.Set("CDSImportBestPrefs", "SEARCH_CDX", std::to_string(int(tv::asBestallningNr)));
        world.Set("CDSImportBestPrefs", "ON_BEST_DOES_NOT_EXIST", "0");
        world.Set("CDSImportInkFS", "SEARCH_CDX", std::to_string(int(tv::asInkommandefoljesedelNr)));
        const std::string file = world.WriteFile("combined.xml", File());
        tv::TDMImport& import = world.Import();
        const TPeakMemory memory;
        state.ResumeTiming();
        if (!import.LoadXML(file)) throw std::runtime_error("LoadXML failed");
        for (const std::string& name : calls) {
            const tv::test::TJobOperation* operation = tv::test::FindJobOperation(name);
            if (operation && !operation->Call(import))
                throw std::runtime_error(name + ": " + world.Events().Lines.back());
        }
        state.PauseTiming();
        memory.Report(state);
        for (const std::string& line : world.Events().Lines)
            if (line.find("[2] ") != std::string::npos) throw std::runtime_error(line);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBlocks * recordsPerBlock);
    state.counters["file_mb"] = static_cast<double>(File().size()) / (1024 * 1024);
}

void CombinedImport(benchmark::State& state) {
    RunJob(state, tv::test::JobOrder(), kRecordsPerBlock);
}

void CustomersOfTheSameFile(benchmark::State& state) {
    RunJob(state, {"CheckCustomers", "ImportCustomers"}, kCustomerRecords);
}

void LibXml2ParseOfTheSameFile(benchmark::State& state) {
    const std::string& bytes = File();
    for (auto _ : state) {
        state.PauseTiming();
        const TPeakMemory memory;
        state.ResumeTiming();
        xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOBLANKS);
        if (!doc) throw std::runtime_error("libxml2 refused the file");
        state.PauseTiming();
        memory.Report(state);
        state.ResumeTiming();
        xmlFreeDoc(doc);
    }
    state.SetItemsProcessed(state.iterations() * kBlocks * kRecordsPerBlock);
    state.counters["file_mb"] = static_cast<double>(bytes.size()) / (1024 * 1024);
}

}  // namespace

BENCHMARK(CombinedImport)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(CustomersOfTheSameFile)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(LibXml2ParseOfTheSameFile)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
