#pragma once
// A fixture company for the ADO stand-in's tests: a temporary company folder whose company.sqlite
// holds the tables the kit's schema generates, and a plain SQLite connection to seed it.

#include "platform/db/ado_connection.h"
#include "tests/support/temp_dir.h"

#include <sqlite3.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace tv::test {

inline std::string KitSchemaSql() {
    const std::string path = std::string(TV_BINARY_DIR) + "/kit/company_schema.sql";
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("the kit's generated schema is missing: " + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs SQL on a database file through its own connection, as another writer (the kit) would.
inline void ExecOn(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + file);
    char* error = nullptr;
    // One transaction, no waiting for the disk: fixtures are made and thrown away.
    const std::string batch = "PRAGMA synchronous=OFF; BEGIN; " + sql + "; COMMIT;";
    const int rc = sqlite3_exec(db, batch.c_str(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("fixture SQL failed: " + message);
}

struct FixtureCompany {
    TempDir dir;
    std::string folder = dir.Path("demo");
    std::string database = folder + "/" + std::string(kCompanyDatabaseName);

    FixtureCompany() {
        dir.Write("demo/Ftg.ini", "[Company]\r\nExclusive=0\r\n");
        ExecOn(database, KitSchemaSql());
    }
    void Exec(const std::string& sql) const { ExecOn(database, sql); }
    std::string VfpString() const { return "Provider=VFPOLEDB.1;Data Source=" + folder + ";Password=\"\""; }
};

}  // namespace tv::test
