// Importing a file of 10,000 new articles, each with a supplier article number and two names in
// other languages (load, check and import, through the central data module, the kit datasets and the
// stand-in kit): articles per second, beside the customer import of import_bench.cpp.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/import/timed_import.h"
#include "tests/import/import_world.h"

namespace {

constexpr int kArticles = 10000;

std::string Language(const char* code, const std::string& name) {
    return std::string("\t\t\t\t<language key=\"") + code +
           "\">\r\n\t\t\t\t\t<CODE_OF_ARTICLE_NAME_LANGUAGE_CODE>" + code +
           "</CODE_OF_ARTICLE_NAME_LANGUAGE_CODE>\r\n\t\t\t\t\t<CODE_OF_ARTICLE_NAME_NAME>" + name +
           "</CODE_OF_ARTICLE_NAME_NAME>\r\n\t\t\t\t</language>\r\n";
}

std::string ArticlesFile() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<quorvel>\r\n\t<articles>\r\n";
    for (int i = 1; i <= kArticles; ++i) {
        const std::string n = std::to_string(i);
        xml += "\t\t<atArtiklar key=\"B" + n + "\">\r\n\t\t\t<ARTICLE_NUMBER>B" + n +
               "</ARTICLE_NUMBER>\r\n\t\t\t<ARTICLE_NAME>Artikel " + n +
               "</ARTICLE_NAME>\r\n\t\t\t<ARTICLE_UNIT>st</ARTICLE_UNIT>\r\n\t\t\t<ARTICLE_MAIN_SUPPLIER>" +
               (i % 2 ? "L10" : "L20") + "</ARTICLE_MAIN_SUPPLIER>\r\n\t\t\t<SUPPLIER_ARTICLE_NUMBER>LEV-" +
               n + "</SUPPLIER_ARTICLE_NUMBER>\r\n\t\t\t<languages>\r\n" + Language("EN", "Article " + n) +
               Language("DE", "Artikel " + n + " de") + "\t\t\t</languages>\r\n\t\t</atArtiklar>\r\n";
    }
    return xml + "\t</articles>\r\n</quorvel>\r\n";
}

void ImportArticles(benchmark::State& state) {
    tv::bench::RunTimedImport(state, {.Seeds = {"kit/demo_company.sql"},
                                      .FileName = "articles.xml",
                                      .File = ArticlesFile,
                                      .Prepare = {&tv::TDMImport::CheckArticles},
                                      .Import = &tv::TDMImport::ImportArticles,
                                      .ImportedItems = kArticles});
    state.SetItemsProcessed(state.iterations() * kArticles);
}

}  // namespace

BENCHMARK(ImportArticles)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
