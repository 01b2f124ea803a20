#pragma once
// The world an export test runs in: a settings root of the test's own holding the export
// fixture's "tables/ooi.table", a company made with adkctl from the export fixture (and any extra
// rows a test adds), the central data module with its settings loaded and the company as its
// company folder, a recorder of the event tree, and the export module over the data module with
// its clock fixed at 2010-05-31 12:00. A test may change the export context before the module is
// made (an operator, a form).

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adk/adk_binding.h"
#include "automation/engine_contexts.h"
#include "core/main_dm.h"
#include "export/dm_export.h"
#include "export/export_module.h"
#include "export/export_writers.h"
#include "platform/rtl/date_time.h"
#include "tests/core/startup/startup_fixture.h"
#include "tests/export/export_test_support.h"
#include "tests/support/main_dm_steps.h"

namespace tv::test {

inline TDateTime FixedNow() {
    return EncodeDateTime(2010, 5, 31, 12, 0, 0, 0);
}

class TExportWorld {
public:
    explicit TExportWorld(const std::string& extraSeed = "",
                          const std::function<void(TExportContext&)>& adjust = {}) {
        FreeAdkLibrary();
        company_ = folders_.dir.Path("company");
        MakeCompany(folders_.dir, company_, FixtureBytes("company.sql") + extraSeed);
        folders_.dir.Write("common/Brismark/Tollvane/default/tables/ooi.table", FixtureBytes("ooi.table"));
        dm_ = std::make_unique<TMainDM>(events_, nullptr, false);
        dm_->AdkDBSRC().AdkPath = FolderOf(TV_KIT);
        dm_->AdkDBSRC().SetArguments({});
        dm_->loadSettings();
        Set("InstallningarCDS", "SPCSPathSRC", company_);
        TExportContext context = MakeExportContext(*dm_);
        if (adjust) adjust(context);
        export_ = std::make_unique<TExportModule>(std::move(context), FixedNow);
        writers_ = std::make_unique<TExportWriters>(*export_);
        facade_ = std::make_unique<TDMExport>(*export_, *writers_);
    }
    ~TExportWorld() {
        facade_.reset();
        writers_.reset();
        export_.reset();
        dm_.reset();
        FreeAdkLibrary();
    }

    // Connects as a job's start does; kit datasets write numbers and dates with the test's format
    // settings ("." and "yyyy-mm-dd" unless a test changes them).
    void Open() { ConnectLikeAJob(*dm_, formats_); }
    // Connects with the numbers and dates of a Swedish desktop, with or without "forcedot".
    void OpenSwedish(bool forceDot) {
        formats_ = forceDot ? ForceDotSettings() : SwedishSettings();
        Open();
    }

    TMainDM& MainDM() { return *dm_; }
    TExportModule& Export() { return *export_; }
    // The export facade over the data module's own writers.
    TDMExport& Facade() { return *facade_; }
    TExportWriters& Writers() { return *writers_; }
    EventRecorder& Events() { return events_; }
    TFormatSettings& Formats() { return formats_; }
    TempDir& Dir() { return folders_.dir; }
    std::string Root(const std::string& relative = "") const { return folders_.Root() + relative; }
    // The export side's "obehandlade" folder, with a trailing "/".
    std::string Unprocessed() const { return Root("export/obehandlade/"); }
    // The names of the files written there, in name order.
    std::vector<std::string> Written() const {
        std::vector<std::string> names;
        if (DirectoryExists(Unprocessed()))
            for (const auto& entry : std::filesystem::directory_iterator(Unprocessed()))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string ReadWritten(const std::string& name) const { return folders_.dir.Read(Unprocessed() + name); }
    // The level-1 line, with the file attached, that reports writing this file of "obehandlade".
    std::string WritingLine(const std::string& name) const {
        const std::string file = Unprocessed() + name;
        return "  1 Skriver fil : [" + file + "] @" + file;
    }
    const std::string& Company() const { return company_; }

    void Set(const std::string& table, const char* field, const std::string& value) {
        SetSetting(*dm_, table, field, value);
    }

private:
    StartupFolders folders_;
    std::string company_;
    EventRecorder events_;
    TFormatSettings formats_;
    std::unique_ptr<TMainDM> dm_;
    std::unique_ptr<TExportModule> export_;
    std::unique_ptr<TExportWriters> writers_;
    std::unique_ptr<TDMExport> facade_;
};

}  // namespace tv::test
