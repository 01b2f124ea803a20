// Importing a file of 10,000 new articles, each with a supplier article number and two names in
// other languages (load, check and import, through the central data module, the kit datasets and the
// stand-in kit): articles per second, beside the customer import of import_bench.cpp.

#include <benchmark/benchmark.h>

#include <chrono>
#include <stdexcept>
#include <string>

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

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void ImportArticles(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        tv::test::TImportWorld world({"kit/demo_company.sql"});
        world.Open();
        const std::string file = world.WriteFile("articles.xml", ArticlesFile());
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!world.Import().LoadXML(file)) throw std::runtime_error("LoadXML failed");
        if (!world.Import().CheckArticles()) throw std::runtime_error("CheckArticles failed");
        state.counters["load_and_check_s"] = Seconds(start);
        start = std::chrono::steady_clock::now();
        if (!world.Import().ImportArticles()) throw std::runtime_error(world.Events().Lines.back());
        state.counters["import_s"] = Seconds(start);
        state.PauseTiming();
        if (world.Import().ImportedItems().size() != size_t(kArticles))
            throw std::runtime_error("not all imported");
        for (const std::string& line : world.Events().Lines)
            if (line.find("[2]") != std::string::npos) throw std::runtime_error(line);
        world.Events().Clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kArticles);
}

}  // namespace

BENCHMARK(ImportArticles)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
