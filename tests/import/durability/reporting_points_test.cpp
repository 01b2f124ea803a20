// Each point where the system reports work done first makes the company durable: when the kit's
// sync fails (a fault rule of the kit makes every AdkSync answer 312), none of them reports the work
// done. Without the rule the same steps succeed, and each asks the file system for a sync.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "automation/engine_contexts.h"
#include "export/export_module.h"
#include "platform/rtl/date_time.h"
#include "platform/rtl/files.h"
#include "tests/import/import_world.h"
#include "tests/support/power_cut_vfs.h"

namespace tv {
namespace {

constexpr int kImportSide = 1;
constexpr const char* kSyncFails =
    "INSERT INTO kit_faults (function, code, message, skip, times) VALUES ('AdkSync', 312, NULL, 0, -1);";

// One customer added through the kit, so that there is something to make durable.
void AddCustomer(test::TImportWorld& world) {
    const std::string path = world.WriteFile("one.xml",
                                             "<quorvel><customers><atKunder key=\"a\"><CUSTOMER_NAME>Ett AB"
                                             "</CUSTOMER_NAME></atKunder></customers></quorvel>");
    ASSERT_TRUE(world.Import().LoadXML(path));
    ASSERT_TRUE(world.Import().CheckCustomers());
    ASSERT_TRUE(world.Import().ImportCustomers());
}

struct PointCase {
    const char* name;
    // Reports work done; answers whether it was reported (false: refused, raised or left undone).
    std::function<bool(test::TImportWorld&)> report;
};

bool Raises(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

const PointCase kPoints[] = {
    {"an input file archived as complete",
     [](test::TImportWorld& world) {
         const std::string file = world.WriteFile("done.xml", "<quorvel/>");
         world.MainDM().ArchiveCompleteFile(file, "", kImportSide, true);
         return !FileExists(file) &&
                FileExists(world.MainDM().getArchiveFolder(kImportSide, "behandlade/done.xml"));
     }},
    {"a running number saved",
     [](test::TImportWorld& world) {
         return Raises([&] { MakeExportContext(world.MainDM()).saveIdentities(); });
     }},
    {"a time stamp saved",
     [](test::TImportWorld& world) {
         world.MainDM().SaveTimestampByName("kunder", EncodeDate(2024, 5, 6));
         return world.MainDM().GetTimestampByName("kunder", 0) == EncodeDate(2024, 5, 6);
     }},
    {"an export file renamed into place",
     [](test::TImportWorld& world) {
         TExportModule module(MakeExportContext(world.MainDM()));
         module.Document().Activate();
         module.Document().createDefaultNodes();
         const std::string file = world.Dir().Path("export/kunder.xml");
         Raises([&] { module.SaveDocument(file); });
         return FileExists(file);
     }},
    {"the company disconnected at a job's end",
     [](test::TImportWorld& world) {
         const bool reported = Raises([&] { world.MainDM().disconnectSPCSSRC(); });
         EXPECT_FALSE(world.MainDM().AdkDBSRC().Connected());  // closed either way
         return reported;
     }},
    {"a job ended with status 0",
     [](test::TImportWorld& world) { return Raises([&] { world.MainDM().MakeWritesDurable(); }); }},
};

TEST(ReportingPoints, NoPointReportsWorkDoneWhenTheSyncFails) {
    for (const PointCase& point : kPoints) {
        test::TImportWorld world({}, "", kSyncFails);
        world.Open();
        AddCustomer(world);
        EXPECT_FALSE(point.report(world)) << point.name;
    }
}

TEST(ReportingPoints, EachPointSyncsTheCompanyBeforeItReports) {
    for (const PointCase& point : kPoints) {
        test::PowerCutVfs vfs;
        test::TImportWorld world;
        world.Open();
        AddCustomer(world);
        const int before = vfs.Syncs();
        EXPECT_TRUE(point.report(world)) << point.name;
        EXPECT_GT(vfs.Syncs(), before) << point.name;
        world.MainDM().AdkDBSRC().SetConnected(false);
    }
}

}  // namespace
}  // namespace tv
