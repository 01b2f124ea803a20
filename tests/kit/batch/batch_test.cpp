// The batch of the kit's own tools (adkctl's seed), reached inside the kit as the tools reach it.
// When SQLite undoes the whole batch by itself (here the disk fails a read of a table not read
// before), the failing call, every later write of the batch and its commit answer the loss, and
// none of those writes is stored on its own.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "kit_state.h"
#include "tests/kit/kit_library.h"
#include "tests/support/power_cut_vfs.h"

extern "C" {
AdkErrorRec AdkOpen(const char*, const char*);
AdkErrorRec AdkClose(void);
AdkHandle AdkCreateData(int32_t);
AdkErrorRec AdkDeleteStruct(AdkHandle);
AdkErrorRec AdkResetStruct(AdkHandle);
AdkErrorRec AdkSetStr(AdkHandle, int32_t, const char*);
AdkErrorRec AdkAdd(AdkHandle);
AdkErrorRec AdkFirst(AdkHandle);
}

namespace tv::kit_test {
namespace {

AdkErrorRec AddCustomer(AdkHandle h, const std::string& number) {
    AdkResetStruct(h);
    AdkSetStr(h, 0, number.c_str());
    AdkSetStr(h, 1, ("Kund " + number).c_str());
    return AdkAdd(h);
}

std::string Customers(const std::string& database) {
    return QueryText(database, "SELECT group_concat(kundnr, ',') FROM (SELECT kundnr FROM kund ORDER BY kundnr)");
}

TEST(KitBatch, ABatchTheDatabaseUndidStoresNothingAndItsCommitAnswersTheLoss) {
    for (const bool commit : {true, false}) {
        test::PowerCutVfs vfs;
        TempDir dir;
        const std::string folder = dir / "company";
        ASSERT_EQ(RunAdkctl({"create", folder}), 0);
        const std::string database = folder + "/company.sqlite";
        ASSERT_EQ(AdkOpen("", folder.c_str()).lRc, 0);
        kit::Company& company = *kit::State().company;
        AdkHandle customer = AdkCreateData(0);
        AdkHandle settings = AdkCreateData(27);

        ASSERT_EQ(company.BeginBatch(), ADK_OK);
        ASSERT_EQ(AddCustomer(customer, "1").lRc, ADK_OK);
        vfs.readFailure = SQLITE_IOERR_READ;
        EXPECT_EQ(AdkFirst(settings).lRc, ADK_ERR_HELD_WRITES_LOST) << commit;
        vfs.readFailure = SQLITE_OK;
        EXPECT_EQ(AddCustomer(customer, "2").lRc, ADK_ERR_HELD_WRITES_LOST) << commit;
        EXPECT_EQ(AdkFirst(settings).lRc, ADK_OK) << "reads go on";
        EXPECT_EQ(Customers(database), "") << "nothing was stored on its own";
        // A commit answers the loss; an undo asked for finds it done.
        EXPECT_EQ(company.EndBatch(commit), commit ? ADK_ERR_HELD_WRITES_LOST : ADK_OK);
        EXPECT_EQ(Customers(database), "");

        // The next batch is stored as usual.
        ASSERT_EQ(company.BeginBatch(), ADK_OK);
        ASSERT_EQ(AddCustomer(customer, "3").lRc, ADK_OK);
        ASSERT_EQ(company.EndBatch(true), ADK_OK);
        EXPECT_EQ(Customers(database), "3");
        AdkDeleteStruct(settings);
        AdkDeleteStruct(customer);
        ASSERT_EQ(AdkClose().lRc, ADK_OK);
    }
}

}  // namespace
}  // namespace tv::kit_test
