#pragma once
// A central data module over a settings root of the test's own, with the kit built beside the
// tests, and a recorder of what it reports into the event tree.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "core/main_dm.h"
#include "tests/adk/adk_test_support.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/support/captured_log.h"

namespace tv::test {

// Every report as one text: "item:<text>" (a nesting item "nest:<text>"), "close", or
// "<level>:<text>" for a line.
class RecordedEvents : public IEventSink {
public:
    void addEventItem(std::string_view message, bool nested) override {
        lines.push_back((nested ? "nest:" : "item:") + std::string(message));
    }
    void CloseNestedEventItem() override { lines.push_back("close"); }
    void reportError(std::string_view message, int level) override {
        lines.push_back(std::to_string(level) + ":" + std::string(message));
    }
    void reportFilename(std::string_view message, int level, std::string_view) override {
        reportError(message, level);
    }
    void logOrderMessage(std::string_view message, int level) override { reportError(message, level); }
    void setEventCount(int) override {}
    void StepProgress() override {}
    void nextEvent(std::string_view, int) override {}
    void setRootItem(std::string_view) override {}
    void Clear() override { lines.clear(); }
    void Complete() override {}
    void MarkFinished() override {}
    void setMessage(std::string_view) override {}

    std::vector<std::string> lines;
};

class MainDMFixture {
public:
    explicit MainDMFixture(std::vector<std::string> params = {}) : folders(std::move(params)) {
        FreeAdkLibrary();
        folders.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table",
                          "atKunder;KUNDNR;0;CUSTOMER_NUMBER\r\n");
        dm = std::make_unique<TMainDM>(events, nullptr, false);
        dm->AdkDBSRC().AdkPath = FolderOf(TV_KIT);
        dm->AdkDBSRC().SetArguments({});
        dm->loadSettings();
    }
    ~MainDMFixture() {
        dm.reset();
        FreeAdkLibrary();
    }

    std::string Root(const std::string& relative = "") const { return folders.Root() + relative; }
    // Sets fields of a settings table's record.
    void Set(const char* table, std::initializer_list<std::pair<const char*, std::string>> values) const {
        TClientDataSet& t = dm->Table(table);
        t.Edit();
        for (const auto& [field, value] : values) t.FieldByName(field).SetAsString(value);
        t.Post();
    }
    // A company made by the kit's tool in `name` below the test folder, seeded with the demo data.
    std::string MakeDemoCompany(const std::string& name, const std::string& extraSeed = "") const {
        const std::string company = folders.dir.Path(name);
        std::ifstream demo(std::string(TV_FIXTURES_DIR) + "/kit/demo_company.sql");
        std::string seed((std::istreambuf_iterator<char>(demo)), std::istreambuf_iterator<char>());
        MakeCompany(folders.dir, company, seed + extraSeed);
        return company;
    }

    StartupFolders folders;
    CapturedLog log;
    RecordedEvents events;
    std::unique_ptr<TMainDM> dm;
};

}  // namespace tv::test
