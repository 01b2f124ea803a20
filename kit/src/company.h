#pragma once
// One open company: its folder, its SQLite database "company.sqlite" and every read and write the
// kit's structures make in it. Each write is one transaction, committed before the call returns,
// so the SQL side that reads the same file sees it at once.

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "structures.h"

namespace tv::kit {

// What the company database records about itself.
inline constexpr int kCompanySchemaVersion = 1;
inline constexpr int kDefaultVariant = 1;  // the full program

// The program variants a company can be made for, with the program's name.
struct ProgramVariant {
    int number;
    const char* program;
};
inline constexpr ProgramVariant kProgramVariants[] = {
    {1, "Administration 2000"}, {2, "Administration 1000"}, {3, "Administration 500"}, {4, "Förening"}};
// "1 (Administration 2000), 2 (...)": the variants, for messages.
std::string ProgramVariantList();
// The WAL is copied back into the database once it holds this many pages. Each copy waits for the
// disk three times; with SQLite's own 1,000 pages and a dozen pages per committed write, an import
// spent most of its time in those waits. 10,000 pages keep the WAL near 40 MB.
inline constexpr int kCheckpointPages = 10000;
// The kit commits a held transaction on its own once it has served this many calls (writes and
// reads) or has been open this long: the WAL stays small, another program that writes the company
// waits no longer, and reads see other connections' commits at most that late.
inline constexpr int kMostHeldCalls = 1000;
inline constexpr std::chrono::milliseconds kMostHeldTime{500};

enum class Move { First, Last, Next, Previous };

class Company {
public:
    ~Company();
    Company(const Company&) = delete;
    Company& operator=(const Company&) = delete;

    // Makes a company folder with an empty company database and "Ftg.ini". Returns a kit code and,
    // on failure, a message; a variant not in kProgramVariants is refused (305) before anything is
    // made.
    static int32_t Create(const std::string& folder, const std::string& name, int variant,
                          std::string& message);
    // Opens the company in `folder`: ADK_ERR_NO_COMPANY when the folder or its database is missing,
    // ADK_ERR_COMPANY_NEWER/OLDER when the database was made for another kit.
    static int32_t Open(const std::string& folder, Handles& handles, std::unique_ptr<Company>& company,
                        std::string& message);

    sqlite3* Db() const { return db_; }
    const std::string& Folder() const { return folder_; }
    int Variant() const { return variant_; }
    const std::string& ProgramName() const { return programName_; }
    // The last database failure, for logs and adkctl.
    const std::string& LastError() const { return lastError_; }

    int32_t Navigate(Record& r, Move move);
    int32_t Find(Record& r);
    int32_t Add(Record& r);
    int32_t Update(Record& r);
    int32_t Delete(Record& r);
    int32_t DeleteRow(Record& head, int32_t index);

    // Writes between BeginBatch and EndBatch are one transaction: EndBatch(true) commits them all,
    // EndBatch(false) undoes them all. Each write inside stays whole on its own (a savepoint), so a
    // refused write leaves the batch as it was before it. For tools that load many records at once.
    // When SQLite undoes the whole batch by itself (a full disk, an I/O error), the failing call and
    // every later write of the batch answer ADK_ERR_HELD_WRITES_LOST, none of them stored on its
    // own, and so does EndBatch(true); EndBatch(false) finds its undo done.
    int32_t BeginBatch();
    int32_t EndBatch(bool commit);

    // Held writes: while held, each write joins one transaction the kit keeps open, so a write costs
    // no commit of its own; other connections see held writes once they are committed: by
    // CommitHeld, by Sync, at kMostHeldCalls or kMostHeldTime, when holding ends, when the company
    // closes. A refused write still leaves the others as they were (a write of several statements is
    // a savepoint; one statement undoes itself). Reads join the held transaction too, opened for
    // reading until a write needs it: a walk or a find per record then takes no file lock of its
    // own.
    // SQLite undoes the whole held transaction by itself after some failures (a full disk, an I/O
    // error, no memory): the held writes answered as done are then lost. The kit notices it after
    // every failing statement and at every commit; from then on CommitHeld and HoldWrites(false)
    // answer ADK_ERR_HELD_WRITES_LOST, and so do writes while holding goes on, until a Sync has
    // answered it: the loss is never reported as success.
    int32_t HoldWrites(bool hold);
    int32_t CommitHeld();
    // Commits what is held and waits until every committed write of the company (the SQL side's
    // too) is on the disk: after it a power cut loses none of them.
    int32_t Sync();

    // Customer price and VAT rate (see kit/README.md for the rules).
    int32_t CustomerPrice(const std::string& customer, const std::string& article, double quantity,
                          bool includingVat, double& price);
    int32_t VatPercent(const std::string& article, double& percent);

    // Users that AdkOpen2 accepts; without any, every user is accepted.
    bool CheckLogin(const std::string& user, const std::string& password);

    // Fault injection: the code to return, or the message to throw, for a call of `function`.
    struct Fault {
        int32_t code = 0;
        std::string message;
    };
    bool NextFault(const std::string& function, Fault& fault);

private:
    Company(sqlite3* db, std::string folder, Handles& handles);

    struct TableSql;
    class Transaction;
    // Whether a write runs one statement (which undoes itself when refused) or several (a savepoint
    // inside a held transaction or batch).
    enum class Statements { One, Several };
    // While writes are held: the held transaction open for writing (a read-only one is ended
    // first, so that the write starts from the newest commit); false when it cannot be begun.
    bool HoldForWrite();
    // A read while writes are held joins the held transaction, opened for reading when none is.
    void HoldForRead();
    // Counts a call served inside the held transaction and commits it at kMostHeldCalls or
    // kMostHeldTime.
    int32_t AfterHeldCall();
    // Commits the held transaction, if one is open; when the commit fails, held writes are lost.
    int32_t EndHeld();
    // When SQLite has undone the held transaction by itself (the connection is back in
    // autocommit), forgets it and, when it held writes, notes them lost; true when it just did.
    // Inside a batch the same notes the batch undone (batchUndone_).
    bool NoticeHeldUndone();
    // ADK_ERR_HELD_WRITES_LOST, with the reason in LastError().
    int32_t HeldWritesLost();
    static bool Run(sqlite3_stmt* st);
    // The reads behind Navigate and Find, which run them inside the held transaction.
    int32_t MoveTo(Record& r, Move move);
    int32_t Lookup(Record& r);
    template <typename Read>
    int32_t HeldRead(Read read);
    const TableSql& Sql(const TableDef& t);
    // The key expressions that order the table under a sort order (cached).
    const std::vector<std::string>& Order(const TableDef& t, const SortDef* sort);
    sqlite3_stmt* Prepare(const std::string& sql);
    // The expression a field's values are ordered and compared by (cached; see sql_expr.h).
    const std::string& CachedKeyExpression(const TableDef& t, int field);
    // " AND ..." conditions: the sort order's quantity filter and "expression = ?" per condition.
    std::string Conditions(const TableDef& t, const SortDef* sort, const std::vector<Condition>& extra);
    // The statement in `slot`, prepared from `sql` on first use, reset for another run.
    sqlite3_stmt* Cached(sqlite3_stmt*& slot, const std::string& sql);
    int32_t Fail(int rc);
    int32_t Exec(const char* sql);

    // Steps a read: loads the record it gives, or answers `noRecord`.
    int32_t StepAndLoad(Record& r, sqlite3_stmt* st, const TableSql& ts, size_t orderCount, int32_t noRecord);
    void LoadRecord(Record& r, sqlite3_stmt* st, const TableSql& ts, int64_t rowid, int keyColumn);
    // Marks the structure as holding the stored record `rowid` (values set by the caller): no marks,
    // no rows yet, the cursor on it with its keys still to be filled.
    void HoldStored(Record& r, int64_t rowid);
    // The cursor keys of the record just read, folded from its stored columns.
    void FoldCursorKeys(Record& r, sqlite3_stmt* st, const TableSql& ts);
    int32_t LoadRows(Record& head);
    // Reads the record `rowid` of a register or head into the structure, with its rows.
    int32_t ReloadByRowid(Record& r, int64_t rowid);
    int32_t LocateByKey(const Record& r, int64_t& rowid, bool& found);
    // The stored record with the structure's key: 117 when there is none.
    int32_t LocateStored(const Record& r, int64_t& rowid);
    // The values an Add stores: what the caller set or a loaded record holds, else the defaults.
    void EffectiveValues(const Record& r, std::vector<Value>& out);
    int32_t InsertRecord(const TableDef& t, const std::vector<Value>& values, const std::vector<Value>* head,
                         int position, int64_t& rowid);
    int32_t InsertRows(const std::vector<Value>& head, size_t from,
                       const std::vector<std::unique_ptr<Record>>& rows);
    int32_t NextNumber(const TableDef& t, Value& key);
    void NoteNumber(const TableDef& t, const Value& key);
    int32_t SetRowCount(const Record& head, int64_t headRowid);
    int32_t StampHead(const TableDef& t, int64_t rowid);

    sqlite3* db_;
    sqlite3_stmt* begin_ = nullptr;  // the statements of every write's transaction
    sqlite3_stmt* commit_ = nullptr;
    sqlite3_stmt* rollback_ = nullptr;
    sqlite3_stmt* beginRead_ = nullptr;  // a held transaction opened by a read
    sqlite3_stmt* savepoint_ = nullptr;  // a write of several statements inside a held transaction
    sqlite3_stmt* release_ = nullptr;
    sqlite3_stmt* rollbackTo_ = nullptr;
    bool batch_ = false;       // inside BeginBatch: writes are savepoints
    bool batchUndone_ = false;  // ... which the database undid by itself: its writes are refused
    bool holdWrites_ = false;  // HoldWrites(true): writes join the held transaction
    bool held_ = false;        // the held transaction is open
    bool heldForWrite_ = false;  // ... and holds the write lock
    bool heldWritten_ = false;   // ... and holds a write answered as done
    bool heldLost_ = false;      // held writes were undone; not yet answered by a Sync
    std::string heldLostReason_;
    int heldCalls_ = 0;
    std::chrono::steady_clock::time_point heldSince_;
    bool unsynced_ = false;       // a write began since the last Sync
    int64_t syncedVersion_ = -1;  // the data version (other connections' commits) at the last Sync
    std::string folder_;
    Handles& handles_;
    int variant_ = kDefaultVariant;
    std::string programName_;
    std::string lastError_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    std::unordered_map<int, std::unique_ptr<TableSql>> tableSql_;
    std::unordered_map<int, double> lastNumbers_;
    std::vector<Value> addValues_;  // the record an Add stores, kept between calls for its storage
    struct FaultRule {
        int32_t code;
        std::string message;
        int skip;
        int times;  // -1: every call
    };
    std::unordered_map<std::string, FaultRule> faults_;
};

}  // namespace tv::kit
