#pragma once
// The company's SQLite file opened straight, past the kit: what the export tests check the kit
// left behind (marks) or change beneath it (faults to inject).

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace tv::test {

// Runs statements on the company's database, or reads one column of a query as "a,b,c", or all
// its rows.
class CompanyDatabase {
public:
    explicit CompanyDatabase(const std::string& company) {
        if (sqlite3_open((company + "/company.sqlite").c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open the company");
    }
    ~CompanyDatabase() { sqlite3_close(db_); }
    CompanyDatabase(const CompanyDatabase&) = delete;
    CompanyDatabase& operator=(const CompanyDatabase&) = delete;

    void Exec(const std::string& sql) {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }
    std::string Column(const std::string& sql) { return Query(sql, ",", ""); }
    // Every row of a query on a line of its own, its columns separated by "|".
    std::string Rows(const std::string& sql) { return Query(sql, "\n", "|"); }

private:
    // The rows joined by `rowSeparator`, the columns of a row by `columnSeparator` (only the first
    // column when that is empty); a null reads "-".
    std::string Query(const std::string& sql, const char* rowSeparator, const char* columnSeparator) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        const int columns = *columnSeparator ? sqlite3_column_count(statement) : 1;
        std::string values;
        bool first = true;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            if (!first) values += rowSeparator;
            first = false;
            for (int column = 0; column < columns; ++column) {
                if (column > 0) values += columnSeparator;
                const unsigned char* text = sqlite3_column_text(statement, column);
                values += text ? reinterpret_cast<const char*>(text) : "-";
            }
        }
        sqlite3_finalize(statement);
        return values;
    }

    sqlite3* db_ = nullptr;
};

}  // namespace tv::test
