#pragma once
// The database connection of the ADO stand-in, over SQLite. An ADO connection string chooses the
// file: "VFPOLEDB.1" with the company folder as "Data Source" and "MSDASQL.1" with it as "SourceDB"
// (in "Extended Properties") open the folder's company database; "SQLOLEDB.1" opens a SQLite file
// when its "Data Source" is a file path, and server databases are refused. Every connection runs in
// WAL mode with a busy timeout, so a writer of the same file (the kit) never blocks its readers,
// and has the FoxPro function val() registered. There is never a login prompt.

#include "platform/rtl/component.h"

#include <functional>
#include <string>
#include <string_view>

struct sqlite3;

namespace tv {

// The company database's file name inside a company folder (the kit opens the same file).
inline constexpr std::string_view kCompanyDatabaseName = "company.sqlite";
// How long a statement waits for another connection's write to end before it fails.
inline constexpr int kBusyTimeoutMilliseconds = 5000;

class TADOConnection : public TComponent {
    TV_CLASS(TADOConnection, TComponent)
public:
    explicit TADOConnection(TComponent* AOwner = nullptr);
    ~TADOConnection() override;

    const std::string& ConnectionString() const { return connectionString_; }
    // Refused (EDatabaseError) while the connection is open.
    void SetConnectionString(std::string connectionString);
    // Kept for the settings that set it; no prompt is ever shown.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }

    // Opens the database the connection string names. A malformed string, an unknown provider, a
    // missing folder or file, or a server database raise EDatabaseError with a message that never
    // holds the password.
    void Open();
    void Close();
    bool Connected() const { return db_ != nullptr; }
    void SetConnected(bool connected) { connected ? Open() : Close(); }
    // The database file that is open (or was last opened).
    const std::string& DatabaseFile() const { return databaseFile_; }

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // The open SQLite connection; EDatabaseError when the connection is closed.
    sqlite3* Handle() const;
    // The connection for a statement about to run: OnBeforeStatement first, then Handle().
    sqlite3* StatementHandle() const;

    // Runs before each statement of the connection and its queries: a writer of the same file that
    // holds its writes in an open transaction (the kit) commits them here, so the statement sees
    // them and may write itself.
    std::function<void()> OnBeforeStatement;

private:
    std::string ResolveDatabaseFile() const;
    void ExecuteDirect(const char* sql);

    std::string connectionString_;
    std::string databaseFile_;
    bool loginPrompt_ = false;
    sqlite3* db_ = nullptr;
};

}  // namespace tv
