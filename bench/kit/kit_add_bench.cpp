// Adding customers through the kit's C API against plain SQLite inserts of the same rows into the
// same table of a fresh company: what the kit's structures, checks, numbering cache, per-call
// transaction and reload cost on the path every import takes.

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
    std::string number, name, city, email;
};

const std::vector<Customer>& Customers() {
    static const std::vector<Customer> rows = [] {
        std::vector<Customer> out;
        out.reserve(kCustomers);
        for (int i = 0; i < kCustomers; ++i) {
            std::string n = std::to_string(100000 + i);
            out.push_back(
                {n, "Kund " + n + " AB", i % 2 ? "G\xF6teborg" : "Ume\xE5", "kund" + n + "@example.se"});
        }
        return out;
    }();
    return rows;
}

void KitAdd(benchmark::State& state) {
    const Kit& k = TheKit();
    for (auto _ : state) {
        state.PauseTiming();
        Company company;
        if (k.Open("", company.folder().c_str()).lRc) throw std::runtime_error("AdkOpen");
        AdkHandle h = k.CreateData(0);
        state.ResumeTiming();
        for (const Customer& c : Customers()) {
            k.ResetStruct(h);
            k.SetStr(h, 0, c.number.c_str());
            k.SetStr(h, 1, c.name.c_str());
            k.SetStr(h, 7, c.city.c_str());
            k.SetStr(h, 62, c.email.c_str());
            k.SetBool(h, 93, 0);
            if (k.Add(h).lRc) throw std::runtime_error("AdkAdd");
        }
        state.PauseTiming();
        k.DeleteStruct(h);
        k.Close();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

// How the plain runs commit: each row on its own as the kit does (with the kit's connection settings,
// or with SQLite's default checkpoint interval), or all rows in one transaction.
enum class Plain { CommitPerRow, CommitPerRowDefaultCheckpoint, OneTransaction };

// The same rows into the same table with one prepared statement.
void PlainSqlite(benchmark::State& state, Plain mode) {
    for (auto _ : state) {
        state.PauseTiming();
        Company company;
        sqlite3* db;
        sqlite3_open((company.folder() + "/" ADK_COMPANY_DATABASE_NAME).c_str(), &db);
        // The kit's connection: WAL, synchronous NORMAL, a checkpoint every 10,000 pages.
        sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr, nullptr);
        if (mode != Plain::CommitPerRowDefaultCheckpoint)
            sqlite3_exec(db, "PRAGMA wal_autocheckpoint=10000;", nullptr, nullptr, nullptr);
        sqlite3_stmt* st;
        sqlite3_prepare_v2(db,
                           "INSERT INTO kund (kundnr, namn, ort, epost, ignoreraorgnr, timestamp) "
                           "VALUES (?, ?, ?, ?, 0, datetime('now', 'localtime'))",
                           -1, &st, nullptr);
        state.ResumeTiming();
        if (mode == Plain::OneTransaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (const Customer& c : Customers()) {
            sqlite3_bind_text(st, 1, c.number.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, c.name.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 3, c.city.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 4, c.email.c_str(), -1, SQLITE_STATIC);
            if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
            sqlite3_reset(st);
        }
        if (mode == Plain::OneTransaction) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        sqlite3_finalize(st);
        sqlite3_close(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kCustomers);
}

}  // namespace

BENCHMARK(KitAdd)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, commit_per_row, Plain::CommitPerRow)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, commit_per_row_default_checkpoint, Plain::CommitPerRowDefaultCheckpoint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(PlainSqlite, one_transaction, Plain::OneTransaction)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
