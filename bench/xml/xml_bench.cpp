// Building, saving and loading an interchange document of about 50 MB (the size of a 100,000-record
// export), with libxml2's own tree parser on the same bytes as the yardstick for loading.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <string>

#include "platform/xml/xml_document.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kFields = 10;

const char* const kFieldNames[kFields] = {
    "ARTICLE_NUMBER", "ARTICLE_NAME",   "ARTICLE_NAME_X",          "ARTICLE_UNIT",        "ARTICLE_PRICE",
    "ARTICLE_WEIGHT", "ARTICLE_VOLUME", "ARTICLE_SUPPLIER_NUMBER", "ARTICLE_STOCK_PLACE", "ARTICLE_TIMESTAMP",
};

std::string FieldValue(int record, int field) {
    switch (field % 4) {
        case 0:
            return std::to_string(record * 17 + field);
        case 1:
            return "Sk\xC3\xA5p & l\xC3\xA5"
                   "da <" +
                   std::to_string(record) + "> \xE2\x82\xAC";
        case 2:
            return "";
        default:
            return std::to_string(record) + ",25";
    }
}

void Build(tv::TXMLDocument& doc) {
    doc.SetActive(false);
    doc.SetActive(true);
    doc.SetEncoding("ISO-8859-1");
    tv::TXMLNode* root = doc.AddChild("quorvel");
    tv::TXMLNode* articles = root->AddChild("articles");
    for (const char* container : {"customers", "suppliers", "orders"}) root->AddChild(container);
    for (int r = 0; r < kRecords; ++r) {
        tv::TXMLNode* article = articles->AddChild("atArtiklar");
        article->SetAttribute("key", std::to_string(r));
        for (int f = 0; f < kFields; ++f) article->AddChild(kFieldNames[f])->SetText(FieldValue(r, f));
    }
}

const std::string& Bytes() {
    static const std::string bytes = [] {
        tv::TXMLDocument doc;
        Build(doc);
        return doc.SaveToBytes();
    }();
    return bytes;
}

void BM_BuildExportTree(benchmark::State& state) {
    tv::TXMLDocument doc;
    for (auto _ : state) Build(doc);
    state.SetItemsProcessed(state.iterations() * kRecords);
}

void BM_Save(benchmark::State& state) {
    tv::TXMLDocument doc;
    Build(doc);
    for (auto _ : state) benchmark::DoNotOptimize(doc.SaveToBytes());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(Bytes().size()));
}

void BM_Load(benchmark::State& state) {
    const std::string& bytes = Bytes();
    for (auto _ : state) {
        tv::TXMLDocument doc;
        doc.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(doc.DocumentElement());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

void BM_LibXml2TreeParse(benchmark::State& state) {
    const std::string& bytes = Bytes();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOBLANKS);
        benchmark::DoNotOptimize(doc);
        xmlFreeDoc(doc);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}

BENCHMARK(BM_BuildExportTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibXml2TreeParse)->Unit(benchmark::kMillisecond);

}  // namespace
