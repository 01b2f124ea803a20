// Adding, updating and finding customers through the kit's C API against plain SQLite statements
// doing the same to the same table of a fresh company: what the kit's structures, checks, numbering
// cache, per-call transaction and reads cost on the paths every import takes.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "kit/adk_abi.h"
#include "kit/src/sql_expr.h"

extern char** environ;

namespace {

constexpr int kCustomers = 100000;

struct Kit {
    AdkOpenFn Open;
    AdkCloseFn Close;
    AdkCreateDataFn CreateData;
    AdkResetStructFn ResetStruct;
    AdkDeleteStructFn DeleteStruct;
    AdkSetStrFn SetStr;
    AdkSetBoolFn SetBool;
    AdkAddFn Add;
    AdkUpdateFn Update;
    AdkFindFn Find;
    AdkSetSortOrderFn SetSortOrder;
    AdkFirstFn First;
    AdkNextFn Next;
    AdkHoldWritesFn HoldWrites;
    AdkSyncFn Sync;
};

template <typename F>
void Bind(void* module, F& fn, const char* name) {
    fn = reinterpret_cast<F>(dlsym(module, name));
    if (!fn) throw std::runtime_error(std::string("missing export ") + name);
}

const Kit& TheKit() {
    static const Kit kit = [] {
        void* m = dlopen(TV_BINARY_DIR "/kit/" ADK_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_LOCAL);
        if (!m) throw std::runtime_error(dlerror());
        Kit k;
        Bind(m, k.Open, "AdkOpen");
        Bind(m, k.Close, "AdkClose");
        Bind(m, k.CreateData, "AdkCreateData");
        Bind(m, k.ResetStruct, "AdkResetStruct");
        Bind(m, k.DeleteStruct, "AdkDeleteStruct");
        Bind(m, k.SetStr, "AdkSetStr");
        Bind(m, k.SetBool, "AdkSetBool");
        Bind(m, k.Add, "AdkAdd");
        Bind(m, k.Update, "AdkUpdate");
        Bind(m, k.Find, "AdkFind");
        Bind(m, k.SetSortOrder, "AdkSetSortOrder");
        Bind(m, k.First, "AdkFirst");
        Bind(m, k.Next, "AdkNext");
        Bind(m, k.HoldWrites, "AdkHoldWrites");
        Bind(m, k.Sync, "AdkSync");
        return k;
    }();
    return kit;
}

// A fresh company made by adkctl; removed when the run is over.
class Company {
public:
    Company() {
        char pattern[] = "/tmp/tvkitbench-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
        dir_ = pattern;
        folder_ = dir_ + "/company";
        std::string tool = TV_BINARY_DIR "/kit/adkctl";
        std::vector<char*> argv = {tool.data(), const_cast<char*>("create"), folder_.data(), nullptr};
        pid_t pid;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
            throw std::runtime_error("adkctl");
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("adkctl create failed");
    }
    ~Company() { std::filesystem::remove_all(dir_); }
    const std::string& folder() const { return folder_; }

private:
    std::string dir_, folder_;
};

struct Customer {
    std::string number, name, city, cityUtf8, email, phone;
};

const std::vector<Customer>& Customers() {
    static const std::vector<Customer> rows = [] {
        std::vector<Customer> out;
        out.reserve(kCustomers);
        for (int i = 0; i < kCustomers; ++i) {
            std::string n = std::to_string(100000 + i);
            bool odd = i % 2;
            out.push_back({n, "Kund " + n + " AB", odd ? "G\xF6teborg" : "Ume\xE5",
                           odd ? "G\xC3\xB6teborg" : "Ume\xC3\xA5", "kund" + n + "@example.se", "031-" + n});
        }
        return out;
    }();
    return rows;
}

// How the plain runs commit: each row on its own as the kit does (with the kit's connection settings,
// or with SQLite's default checkpoint interval), or all rows in one transaction.
enum class Plain { CommitPerRow, CommitPerRowDefaultCheckpoint, OneTransaction };

sqlite3* OpenPlain(const Company& company, Plain mode) {
    sqlite3* db = nullptr;
    if (sqlite3_open((company.folder() + "/" ADK_COMPANY_DATABASE_NAME).c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open the company database");
    // The kit's connection: WAL, synchronous NORMAL, a checkpoint every 10,000 pages.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
    if (mode != Plain::CommitPerRowDefaultCheckpoint)
        sqlite3_exec(db, "PRAGMA wal_autocheckpoint=10000;", nullptr, nullptr, nullptr);
    return db;
}

// Runs `bind` and the statement for every customer, committing as `mode` says.
template <typename Bind>
void ForEachCustomer(sqlite3* db, const char* sql, Plain mode, Bind bind) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    if (mode == Plain::OneTransaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (const Customer& c : Customers()) {
        bind(st, c);
        int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(st);
    }
    if (mode == Plain::OneTransaction) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(st);
}

void InsertCustomers(sqlite3* db, Plain mode) {
    ForEachCustomer(db,
                    "INSERT INTO kund (kundnr, namn, ort, epost, ignoreraorgnr, timestamp) "
                    "VALUES (?, ?, ?, ?, 0, datetime('now', 'localtime'))",
                    mode, [](sqlite3_stmt* st, const Customer& c) {
                        sqlite3_bind_text(st, 1, c.number.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(st, 2, c.name.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(st, 3, c.cityUtf8.c_str(), -1, SQLITE_STATIC);
                        sqlite3_bind_text(st, 4, c.email.c_str(), -1, SQLITE_STATIC);
                    });
}

// The customer's phone number and time stamp, found by the customer number as the kit's key index
// orders it.
void UpdateCustomers(sqlite3* db, Plain mode) {
    std::string sql = "UPDATE kund SET telefon = ?, timestamp = datetime('now', 'localtime') WHERE " +
                      tv::kit::KeyExpression("kundnr", tv::kit::KeyKind::Text, true) + " = ?";
    ForEachCustomer(db, sql.c_str(), mode, [](sqlite3_stmt* st, const Customer& c) {
        sqlite3_bind_text(st, 1, c.phone.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, c.number.c_str(), -1, SQLITE_STATIC);
    });
}

// Each customer's record, found by the customer number as the kit's key index orders it.
void FindCustomers(sqlite3* db, Plain mode) {
    std::string sql = "SELECT * FROM kund WHERE " +
                      tv::kit::KeyExpression("kundnr", tv::kit::KeyKind::Text, true) + " = ? LIMIT 1";
    ForEachCustomer(db, sql.c_str(), mode, [](sqlite3_stmt* st, const Customer& c) {
        sqlite3_bind_text(st, 1, c.number.c_str(), -1, SQLITE_STATIC);
    });
}

// A fresh company; with `seeded` it holds the customers already.
struct Fresh {
    explicit Fresh(bool seeded) {
        if (!seeded) return;
        sqlite3* db = OpenPlain(company, Plain::OneTransaction);
        InsertCustomers(db, Plain::OneTransaction);
        sqlite3_close(db);
    }
    Company company;
};

// Opens a fresh company (seeded or not) in the kit and times `run` on one customer structure.
template <typename Run>
void KitRun(benchmark::State& state, bool seeded, Run run) {
    const Kit& k = TheKit();
    for (auto _ : state) {
        state.PauseTiming();
        Fresh fresh(seeded);
        if (k.Open("", fresh.company.folder().c_str()).lRc) throw std::runtime_error("AdkOpen");
        AdkHandle h = k.CreateData(0);
        state.ResumeTiming();
        run(k, h);
        state.PauseTiming();
        k.DeleteStruct(h);
        k.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

// Times `call` on one customer structure for every customer.
template <typename Call>
void KitCalls(benchmark::State& state, bool seeded, Call call) {
    KitRun(state, seeded, [&](const Kit& k, AdkHandle h) {
        for (const Customer& c : Customers()) call(k, h, c);
    });
}

void AddCustomer(const Kit& k, AdkHandle h, const Customer& c) {
    k.ResetStruct(h);
    k.SetStr(h, 0, c.number.c_str());
    k.SetStr(h, 1, c.name.c_str());
    k.SetStr(h, 7, c.city.c_str());
    k.SetStr(h, 62, c.email.c_str());
    k.SetBool(h, 93, 0);
    if (k.Add(h).lRc) throw std::runtime_error("AdkAdd");
}

// Each add committed on its own.
void KitAdd(benchmark::State& state) {
    KitCalls(state, false, AddCustomer);
}

// The adds as the system makes them: writes held, then committed and made durable once, as before
// an input file is archived.
void KitAddHeld(benchmark::State& state) {
    KitRun(state, false, [](const Kit& k, AdkHandle h) {
        if (k.HoldWrites(1).lRc) throw std::runtime_error("AdkHoldWrites");
        for (const Customer& c : Customers()) AddCustomer(k, h, c);
        if (k.Sync().lRc) throw std::runtime_error("AdkSync");
    });
}

// A fresh structure with the key and one field, as an import writes back a change.
void KitUpdate(benchmark::State& state) {
    KitCalls(state, true, [](const Kit& k, AdkHandle h, const Customer& c) {
        k.ResetStruct(h);
        k.SetStr(h, 0, c.number.c_str());
        k.SetStr(h, 9, c.phone.c_str());
        if (k.Update(h).lRc) throw std::runtime_error("AdkUpdate");
    });
}

// The look-up an import makes before it adds or updates: a fresh structure holding the key.
void KitFind(benchmark::State& state) {
    KitCalls(state, true, [](const Kit& k, AdkHandle h, const Customer& c) {
        k.ResetStruct(h);
        k.SetStr(h, 0, c.number.c_str());
        if (k.Find(h).lRc) throw std::runtime_error("AdkFind");
    });
}

// A walk over every customer in a sort order (0: by number, 1: by name), as an export reads a
// register: each move goes on from the record before it.
void KitWalk(benchmark::State& state, int32_t sort) {
    KitRun(state, true, [sort](const Kit& k, AdkHandle h) {
        if (k.SetSortOrder(h, sort).lRc) throw std::runtime_error("AdkSetSortOrder");
        int read = 0;
        for (AdkErrorRec e = k.First(h); e.lRc == 0; e = k.Next(h)) ++read;
        if (read != kCustomers) throw std::runtime_error("the walk missed customers");
    });
}

// The same rows with one prepared statement: inserted into a fresh company, or updated or read in
// one that holds them.
void PlainSqlite(benchmark::State& state, void (*run)(sqlite3*, Plain), Plain mode) {
    for (auto _ : state) {
        state.PauseTiming();
        Fresh fresh(run != InsertCustomers);
        sqlite3* db = OpenPlain(fresh.company, mode);
        state.ResumeTiming();
        run(db, mode);
        state.PauseTiming();
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

}  // namespace

BENCHMARK(KitAdd)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(KitAddHeld)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, add_commit_per_row, InsertCustomers, Plain::CommitPerRow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, add_commit_per_row_default_checkpoint, InsertCustomers,
                  Plain::CommitPerRowDefaultCheckpoint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, add_one_transaction, InsertCustomers, Plain::OneTransaction)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(KitUpdate)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, update_commit_per_row, UpdateCustomers, Plain::CommitPerRow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, update_one_transaction, UpdateCustomers, Plain::OneTransaction)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(KitFind)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, find, FindCustomers, Plain::CommitPerRow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(KitWalk, by_number, 0)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(KitWalk, by_name, 1)->Unit(benchmark::kMillisecond)->Iterations(1);
