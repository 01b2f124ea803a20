// Held writes and the sync that makes them durable: other connections see held writes once they
// are committed, a refused write leaves the others, reads join the held transaction, and after a
// power cut the company holds exactly what the last sync put on the disk.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <stdexcept>
#include <string>

#include "tests/kit/kit_library.h"
#include "tests/support/power_cut_vfs.h"

namespace tv::kit_test {
namespace {

const Kit& K() {
    return TheKit();
}

AdkErrorRec AddCustomer(AdkHandle h, const std::string& number) {
    K().ResetStruct(h);
    K().SetStr(h, 0, number.c_str());
    K().SetStr(h, 1, ("Kund " + number).c_str());
    return K().Add(h);
}

std::string Customers(const OpenCompany& company) {
    return QueryText(company.Database(),
                     "SELECT group_concat(kundnr, ',') FROM (SELECT kundnr FROM kund ORDER BY kundnr)");
}

// Runs a statement on a connection of its own, as another program writing the company would.
void ExecElsewhere(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    sqlite3_busy_timeout(db, 5000);
    const bool ran = opened && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    const std::string error = sqlite3_errmsg(db);
    sqlite3_close_v2(db);
    if (!ran) throw std::runtime_error(error + " in " + sql);
}

AdkErrorRec FindCustomer(AdkHandle h, const std::string& number) {
    K().ResetStruct(h);
    K().SetStr(h, 0, number.c_str());
    return K().Find(h);
}

TEST(KitDurability, HeldWritesAreSeenByOtherConnectionsOnceCommitted) {
    OpenCompany company;
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    ASSERT_EQ(AddCustomer(h, "1").lRc, 0);
    EXPECT_EQ(Customers(company), "");
    // The kit itself reads what it holds.
    K().ResetStruct(h);
    K().SetStr(h, 0, "1");
    EXPECT_EQ(K().Find(h).lRc, 0);
    ASSERT_EQ(K().Commit().lRc, 0);
    EXPECT_EQ(Customers(company), "1");

    // A refused write inside the held transaction leaves the others as they were.
    ASSERT_EQ(AddCustomer(h, "2").lRc, 0);
    EXPECT_EQ(AddCustomer(h, "2").lRc, ADK_ERR_DUPLICATE_KEY);
    ASSERT_EQ(AddCustomer(h, "3").lRc, 0);
    ASSERT_EQ(K().Sync().lRc, 0);
    EXPECT_EQ(Customers(company), "1,2,3");

    // Ending the holding commits, and each write commits on its own again.
    ASSERT_EQ(AddCustomer(h, "4").lRc, 0);
    ASSERT_EQ(K().HoldWrites(0).lRc, 0);
    EXPECT_EQ(Customers(company), "1,2,3,4");
    ASSERT_EQ(AddCustomer(h, "5").lRc, 0);
    EXPECT_EQ(Customers(company), "1,2,3,4,5");
    K().DeleteStruct(h);
}

// While writes are held, reads join the held transaction: they read one state of the company until
// it is committed, and a write after them is not refused for another connection's newer commit.
TEST(KitDurability, HeldReadsReadOneStateUntilCommitted) {
    OpenCompany company;
    const std::string database = company.Database();
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(AddCustomer(h, "1").lRc, 0);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    ASSERT_EQ(FindCustomer(h, "1").lRc, 0);
    ExecElsewhere(database, "INSERT INTO kund (kundnr, namn) VALUES ('7', 'Kund 7')");
    EXPECT_EQ(FindCustomer(h, "7").lRc, ADK_ERR_NOT_FOUND);
    ASSERT_EQ(K().Commit().lRc, 0);
    EXPECT_EQ(FindCustomer(h, "7").lRc, 0);

    // A newer commit elsewhere after the reads: the write still goes in, after it.
    ExecElsewhere(database, "INSERT INTO kund (kundnr, namn) VALUES ('8', 'Kund 8')");
    ASSERT_EQ(AddCustomer(h, "9").lRc, 0);
    ASSERT_EQ(FindCustomer(h, "8").lRc, 0);
    ASSERT_EQ(K().HoldWrites(0).lRc, 0);
    EXPECT_EQ(Customers(company), "1,7,8,9");

    // Without holding, every read sees the last commit.
    ExecElsewhere(database, "INSERT INTO kund (kundnr, namn) VALUES ('6', 'Kund 6')");
    EXPECT_EQ(FindCustomer(h, "6").lRc, 0);
    K().DeleteStruct(h);
}

TEST(KitDurability, CloseAndTheBoundOfHeldWritesCommit) {
    OpenCompany company;
    const std::string database = company.Database();
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    // The kit commits a held transaction on its own once it has served 1,000 calls (or sooner,
    // when it has been open for half a second).
    for (int i = 1; i <= 1000; ++i) ASSERT_EQ(AddCustomer(h, std::to_string(i)).lRc, 0);
    const int seen = std::stoi(QueryText(database, "SELECT count(*) FROM kund"));
    EXPECT_GT(seen, 0);
    EXPECT_LE(seen, 1000);
    ASSERT_EQ(AddCustomer(h, "1001").lRc, 0);
    K().DeleteStruct(h);
    ASSERT_EQ(K().Close().lRc, 0);
    EXPECT_EQ(QueryText(database, "SELECT count(*) FROM kund"), "1001");
    ASSERT_EQ(K().Open("", company.folder().c_str()).lRc, 0);  // for the company's own close
}

TEST(KitDurability, WithoutACompanyTheyAnswer308) {
    EXPECT_EQ(K().HoldWrites(1).lRc, ADK_ERR_NOT_OPEN);
    EXPECT_EQ(K().Commit().lRc, ADK_ERR_NOT_OPEN);
    EXPECT_EQ(K().Sync().lRc, ADK_ERR_NOT_OPEN);
}

// SQLite undoes the whole held transaction by itself after some failures (here the disk fails a
// read of a table not read before). The writes the kit had answered as done are then reported
// lost by every later write while holding, commit, end of holding and sync, until a sync has
// answered it; nothing claims success, reads go on, and later work is stored as usual.
TEST(KitDurability, HeldWritesTheDatabaseUndidAreReportedLostUntilASync) {
    test::PowerCutVfs vfs;
    OpenCompany company;
    AdkHandle h = K().CreateData(0);
    AdkHandle settings = K().CreateData(27);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    ASSERT_EQ(AddCustomer(h, "1").lRc, 0);
    vfs.readFailure = SQLITE_IOERR_READ;
    EXPECT_EQ(K().First(settings).lRc, ADK_ERR_HELD_WRITES_LOST);
    vfs.readFailure = SQLITE_OK;

    EXPECT_EQ(AddCustomer(h, "2").lRc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(K().Commit().lRc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(K().First(settings).lRc, 0);
    EXPECT_EQ(K().HoldWrites(0).lRc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(K().Sync().lRc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(Customers(company), "");

    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    ASSERT_EQ(AddCustomer(h, "3").lRc, 0);
    EXPECT_EQ(K().Sync().lRc, 0);
    EXPECT_EQ(Customers(company), "3");
    K().DeleteStruct(settings);
    K().DeleteStruct(h);
}

// The kit's own commit of the held transaction (here at kMostHeldCalls, on a full disk) fails the
// call that made it, and the sync after it, though that sync finds nothing held.
TEST(KitDurability, AHeldCommitTheDiskRefusesIsReportedLostBySync) {
    test::PowerCutVfs vfs;
    OpenCompany company;
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    ASSERT_EQ(AddCustomer(h, "1").lRc, 0);
    vfs.writeFailure = SQLITE_FULL;
    int32_t rc = ADK_OK;
    for (int call = 0; call < 2000 && rc == ADK_OK; ++call) rc = FindCustomer(h, "1").lRc;
    vfs.writeFailure = SQLITE_OK;
    EXPECT_EQ(rc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(K().Sync().lRc, ADK_ERR_HELD_WRITES_LOST);
    EXPECT_EQ(Customers(company), "");
    EXPECT_EQ(K().Sync().lRc, 0);
    K().DeleteStruct(h);
}

// A power cut keeps what the last sync put on the disk, and only that: the commit that followed
// it is lost with the writes still held, and the company opens clean.
TEST(KitDurability, APowerCutKeepsWhatTheLastSyncPutOnTheDisk) {
    test::PowerCutVfs vfs;
    TempDir dir;
    const std::string folder = dir / "company";
    ASSERT_EQ(RunAdkctl({"create", folder}), 0);
    ASSERT_EQ(K().Open("", folder.c_str()).lRc, 0);
    AdkHandle h = K().CreateData(0);
    ASSERT_EQ(K().HoldWrites(1).lRc, 0);
    for (const char* n : {"1", "2", "3"}) ASSERT_EQ(AddCustomer(h, n).lRc, 0);
    ASSERT_EQ(K().Sync().lRc, 0);
    const int syncs = vfs.Syncs();
    EXPECT_GT(syncs, 0);
    // A sync with nothing new committed does not wait for the disk again.
    ASSERT_EQ(K().Sync().lRc, 0);
    EXPECT_EQ(vfs.Syncs(), syncs);
    ASSERT_EQ(AddCustomer(h, "4").lRc, 0);
    ASSERT_EQ(K().Commit().lRc, 0);
    ASSERT_EQ(AddCustomer(h, "5").lRc, 0);
    vfs.Cut();
    K().DeleteStruct(h);
    EXPECT_EQ(K().Close().lRc, ADK_ERR_HELD_WRITES_LOST);  // the held write could not be committed
    vfs.PutBackSyncedContent();

    const std::string database = folder + "/company.sqlite";
    EXPECT_EQ(QueryText(database, "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(QueryText(database,
                        "SELECT group_concat(kundnr, ',') FROM (SELECT kundnr FROM kund ORDER BY kundnr)"),
              "1,2,3");
    ASSERT_EQ(K().Open("", folder.c_str()).lRc, 0);
    EXPECT_EQ(K().Close().lRc, 0);
}

}  // namespace
}  // namespace tv::kit_test
