// Importing a price list of 10,000 articles, each with a base price and two brackets, and the
// articles' purchase prices from one supplier, each with two brackets (load, check and both
// imports, through the central data module, the kit datasets, raw kit records and the stand-in
// kit): price rows per second into a company without them ("new") and the same file again into
// the company that already holds them ("existing"), beside the customer import of import_bench.cpp.

#include "bench/import/timed_import.h"

namespace {

constexpr int kArticles = 10000;
constexpr int kRowsPerArticle = 6;  // three sales prices, three purchase prices

std::string Element(const char* name, const std::string& text) {
    return std::string("<") + name + ">" + text + "</" + name + ">";
}

std::string SalesRow(const std::string& article, const char* quantity, const std::string& price) {
    return "\t\t\t\t<row>" + Element("PRICE_ARTICLE_NUMBER", article) + Element("PRICE_QUANTITY", quantity) +
           Element("PRICE_PRICE", price) + Element("PRICE_PRICE_LIST", "PL1") + "</row>\r\n";
}

std::string Bracket(const char* quantity, const std::string& price) {
    return "\t\t\t\t\t<pricebracket>" + Element("ARTICLE_PURCHASE_PRICE_QUANTITY", quantity) +
           Element("ARTICLE_PURCHASE_PRICE_PRICE", price) + "</pricebracket>\r\n";
}

std::string PricesFile() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<pricelists>\r\n"
        "\t\t<pricelist key=\"PL1\">\r\n\t\t\t<atPrislistor key=\"PL1\"/>\r\n\t\t\t<rows>\r\n";
    for (int i = 1; i <= kArticles; ++i) {
        const std::string article = "B" + std::to_string(i);
        xml += SalesRow(article, "0", std::to_string(100 + i % 50)) + SalesRow(article, "10", "95.5") +
               SalesRow(article, "50", "90.25");
    }
    xml += "\t\t\t</rows>\r\n\t\t</pricelist>\r\n\t</pricelists>\r\n\t<purchaseprices>\r\n";
    for (int i = 1; i <= kArticles; ++i) {
        const std::string article = "B" + std::to_string(i);
        xml += "\t\t<atInkopspriser key=\"" + article + "\">\r\n\t\t\t<supplierarticle>" +
               Element("ARTICLE_PURCHASE_PRICE_ARTICLE_NUMBER", article) +
               Element("ARTICLE_PURCHASE_PRICE_SUPPLIER_NUMBER", "L10") +
               Element("ARTICLE_PURCHASE_PRICE_SUPPLIER_ARTICLE_NUMBER", "LEV-" + article) +
               Element("ARTICLE_PURCHASE_PRICE_PRICE", "60") + "\r\n\t\t\t\t<pricebrackets>\r\n" +
               Bracket("10", "55") + Bracket("50", "50.5") +
               "\t\t\t\t</pricebrackets>\r\n\t\t\t</supplierarticle>\r\n\t\t</atInkopspriser>\r\n";
    }
    return xml + "\t</purchaseprices>\r\n</quorvel>\r\n";
}

// Loads, checks and imports both kinds; any level-2 line is a failure.
void ImportPrices(tv::test::TImportWorld& world, const std::string& file) {
    tv::TDMImport& dm = world.Import();
    if (!dm.LoadXML(file)) throw std::runtime_error("LoadXML failed");
    if (!dm.CheckSalesPrices() || !dm.CheckPurchasePrices()) throw std::runtime_error("check failed");
    if (!dm.ImportSalesPrices() || !dm.ImportPurchasePrices())
        throw std::runtime_error(world.Events().Lines.back());
    for (const std::string& line : world.Events().Lines)
        if (line.find("[2]") != std::string::npos) throw std::runtime_error(line);
    world.Events().Clear();
}

// state.range(0): 0 into a company without the prices, 1 into one that already holds them.
void ImportSalesAndPurchasePrices(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world({"kit/demo_company.sql"});
        world.Open();
        const std::string file = world.WriteFile("prices.xml", PricesFile());
        if (state.range(0) == 1) ImportPrices(world, file);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        ImportPrices(world, file);
        state.counters["import_s"] = tv::bench::Seconds(start);
    }
    state.SetItemsProcessed(state.iterations() * kArticles * kRowsPerArticle);
    state.SetLabel(state.range(0) == 1 ? "existing" : "new");
}

}  // namespace

BENCHMARK(ImportSalesAndPurchasePrices)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();
