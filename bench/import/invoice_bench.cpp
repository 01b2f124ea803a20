// Importing a file of 10,000 new invoices of five rows each (four article rows and a text row),
// each with a due date, so that every invoice takes the second pass after its first save: invoices
// and rows per second, beside the order import of order_bench.cpp.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/import/timed_import.h"

namespace {

constexpr int kInvoices = 10000;
constexpr int kRowsPerInvoice = 5;
constexpr const char* kArticles[] = {"A100", "A200"};

std::string Row(int invoice, int row) {
    const std::string n = std::to_string(row);
    if (row == kRowsPerInvoice)
        return "\t\t\t\t<row>\r\n\t\t\t\t\t<OOI_ROW_TYPE_OF_ROW>T</"
               "OOI_ROW_TYPE_OF_ROW>\r\n\t\t\t\t\t<OOI_ROW_TEXT>"
               "Betalas inom 30 dagar, faktura " +
               std::to_string(invoice) + "</OOI_ROW_TEXT>\r\n\t\t\t\t</row>\r\n";
    return std::string("\t\t\t\t<row artkey=\"") + kArticles[row % 2] +
           "\">\r\n\t\t\t\t\t<OOI_ROW_QUANTITY1>" + n + "</OOI_ROW_QUANTITY1>\r\n\t\t\t\t\t<OOI_ROW_PRICE>" +
           n + "0</OOI_ROW_PRICE>\r\n\t\t\t\t\t<OOI_ROW_TEXT>Rad " + n +
           "</OOI_ROW_TEXT>\r\n\t\t\t\t</row>\r\n";
}

std::string InvoicesFile() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<customers>\r\n\t\t<atKunder "
        "key=\"1001\" "
        "option=\"noedit\"/>\r\n\t</customers>\r\n\t<articles>\r\n\t\t<atArtiklar key=\"A100\" "
        "option=\"noedit\"/>\r\n\t\t<atArtiklar key=\"A200\" "
        "option=\"noedit\"/>\r\n\t</articles>\r\n\t<invoices>\r\n";
    for (int i = 1; i <= kInvoices; ++i) {
        xml +=
            "\t\t<invoice>\r\n\t\t\t<atFakturor "
            "customerkey=\"1001\">\r\n\t\t\t\t<OOI_HEAD_CUSTOMER_ORDER_NUMBER>W-" +
            std::to_string(i) +
            "</OOI_HEAD_CUSTOMER_ORDER_NUMBER>\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE1>2024-03-01</"
            "OOI_HEAD_DOCUMENT_DATE1>\r\n\t\t\t\t<OOI_HEAD_DOCUMENT_DATE2>2024-03-31</"
            "OOI_HEAD_DOCUMENT_DATE2>\r\n\t\t\t</atFakturor>\r\n\t\t\t<rows>\r\n";
        for (int row = 1; row <= kRowsPerInvoice; ++row) xml += Row(i, row);
        xml += "\t\t\t</rows>\r\n\t\t</invoice>\r\n";
    }
    return xml + "\t</invoices>\r\n</quorvel>\r\n";
}

void ImportInvoices(benchmark::State& state) {
    // The customer and the articles are only resolved: one number per invoice is imported.
    tv::bench::RunTimedImport(state,
                              {.Seeds = {"kit/demo_company.sql"},
                               .FileName = "invoices.xml",
                               .File = InvoicesFile,
                               .Prepare = {&tv::TDMImport::CheckCustomers, &tv::TDMImport::ImportCustomers,
                                           &tv::TDMImport::CheckArticles, &tv::TDMImport::ImportArticles,
                                           &tv::TDMImport::CheckInvoices},
                               .Import = &tv::TDMImport::ImportInvoices,
                               .ImportedItems = kInvoices});
    state.counters["invoices_per_s"] =
        benchmark::Counter(double(state.iterations()) * kInvoices, benchmark::Counter::kIsRate);
    state.counters["rows_per_s"] = benchmark::Counter(
        double(state.iterations()) * kInvoices * kRowsPerInvoice, benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(ImportInvoices)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
