#pragma once
// What the export tests share: a company made from the export fixture with the kit stand-in, the
// kit datasets over it, the field-definition table read from a fixture, a recorder of the event
// tree, and the fixtures' bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "platform/data/client_data_set.h"
#include "platform/data/field.h"
#include "platform/rtl/format_settings.h"
#include "platform/rtl/string_list.h"
#include "tests/adk/adk_test_support.h"
#include "tests/support/format_settings.h"

namespace tv::test {

inline std::string FixtureBytes(const std::string& name) {
    std::ifstream in(std::string(TV_FIXTURES_DIR) + "/export/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("no fixture " + name);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A list of keys as a script passes it to the export facade.
inline std::unique_ptr<TStringList> List(std::initializer_list<const char*> keys) {
    auto list = std::make_unique<TStringList>();
    for (const char* key : keys) list->Add(key);
    return list;
}

// The field-definition table as the settings store makes it, filled from ';'-separated lines.
inline void FillDefinitions(TClientDataSet& table, const std::string& lines) {
    if (!table.Active()) {
        table.AddField("const_table", TFieldType::ftString, 256);
        table.AddField("const_string", TFieldType::ftString, 256);
        table.AddField("const_value", TFieldType::ftInteger);
        table.AddField("const_title", TFieldType::ftString, 256);
        table.CreateDataSet();
    }
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::istringstream parts(line);
        for (std::string cell; std::getline(parts, cell, ';');) cells.push_back(cell);
        table.Append();
        for (int i = 0; i < 4; ++i) table.Fields(i).SetAsString(cells.at(i));
        table.Post();
    }
}

// A one-column selection table holding `keys`.
inline void FillSelection(TClientDataSet& table, const std::string& column,
                          const std::vector<std::string>& keys) {
    if (!table.Active()) {
        table.AddField(column, TFieldType::ftString, 60);
        table.CreateDataSet();
    }
    table.EmptyDataSet();
    for (const std::string& key : keys) {
        table.Append();
        table.Fields(0).SetAsString(key);
        table.Post();
    }
}

// Every report as one line: the nesting depth, then "item", the level or "count"/"step"/"event".
class EventRecorder : public IEventSink {
public:
    std::vector<std::string> Lines;
    int Steps = 0;

    void addEventItem(std::string_view message, bool nested) override {
        Add("item" + std::string(nested ? "+ " : " ") + std::string(message));
        if (nested) ++depth_;
    }
    void CloseNestedEventItem() override {
        if (depth_ > 0) --depth_;
    }
    void reportError(std::string_view message, int level) override {
        Add(std::to_string(level) + " " + std::string(message));
    }
    void reportFilename(std::string_view message, int level, std::string_view fileName) override {
        Add(std::to_string(level) + " " + std::string(message) + " @" + std::string(fileName));
    }
    void logOrderMessage(std::string_view message, int level) override {
        Add("order " + std::to_string(level) + " " + std::string(message));
    }
    void setEventCount(int count) override { Add("count " + std::to_string(count)); }
    void StepProgress() override { ++Steps; }
    void nextEvent(std::string_view title, int picture) override {
        Add("event " + std::string(title) + " " + std::to_string(picture));
    }
    void setRootItem(std::string_view) override {}
    void Clear() override { Lines.clear(); }
    void Complete() override {}
    void MarkFinished() override {}
    void setMessage(std::string_view) override {}
    int Depth() const { return depth_; }

private:
    void Add(std::string line) { Lines.push_back(std::string(depth_ * 2, ' ') + std::move(line)); }
    int depth_ = 0;
};

// A data module with the company component over a company seeded from the export fixture (plus
// `extraSeed_`), and kit datasets made on demand.
class ExportCompanyTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeAdkLibrary();
        company_ = dir_.Path("company");
        MakeCompany(dir_, company_, FixtureBytes("company.sql") + extraSeed_);
        db_ = new TAdkDatabase(&module_, std::make_unique<TAdkInfo>(dir_.Root(), dir_.Root()));
        db_->SetName("AdkDBSRC");
        db_->AdkPath = FolderOf(TV_KIT);
        db_->SetArguments({});
        db_->SetCompanyPath(company_);
    }
    void TearDown() override {
        module_.DestroyComponents();
        FreeAdkLibrary();
    }

    // A kit dataset of the module, open, with the test's format settings.
    TAdkDataSet& DataSet(const std::string& name, TAdkTable table, TAdkSortOrder order = asIngen) {
        auto* dataSet = new TAdkDataSet(&module_);
        dataSet->SetName(name);
        dataSet->SetAdkTable(table);
        dataSet->SetAdkSortOrder(order);
        dataSet->SetFormatSettings(&settings_);
        dataSet->MakeOpen();
        return *dataSet;
    }

    std::string extraSeed_;
    TFormatSettings settings_{};
    TempDir dir_;
    std::string company_;
    TComponent module_;
    TAdkDatabase* db_ = nullptr;
};

}  // namespace tv::test
