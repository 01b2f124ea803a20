#pragma once
// The query and the command of the ADO stand-in. A query's SQL text may hold named parameters
// (":name"); opening it runs the statement and reads every row at once into the dataset (its fields
// typed from the result, see result_fields.h), so no statement stays open while the kit writes.
// Its rows are a read-only copy: changes go through ExecSQL. A closed connection is opened on
// demand. A client dataset takes a copy of the rows through TDataSetRows.

#include "platform/data/data_set.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_parameters.h"
#include "platform/rtl/string_list.h"

#include <memory>
#include <string>

namespace tv {

namespace db_detail {
struct ResultSet;
struct TResultField;
}  // namespace db_detail

class TADOQuery : public TDataSet {
    TV_CLASS(TADOQuery, TDataSet)
public:
    explicit TADOQuery(TComponent* AOwner = nullptr);
    ~TADOQuery() override;

    TADOConnection* Connection() const { return connection_; }
    void SetConnection(TADOConnection* connection);
    // The statement, line by line; the parameters follow its text.
    TStringList& SQL() { return *sql_; }
    TStringList* SQLStrings() const { return sql_.get(); }
    // One parameter per distinct name of the SQL text, kept in step with it.
    TParameters& Parameters();
    // Runs a statement that returns no rows (several, parted by ";", run in turn); answers the
    // rows the last one changed.
    int ExecSQL();
    int RowsAffected() const { return rowsAffected_; }
    bool CanModify() const override { return false; }

protected:
    void InternalInitFieldDefs() override;
    void InternalOpenData() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    sqlite3* ReadyConnection();
    std::unique_ptr<TStringList> sql_;
    TParameters parameters_;
    std::string parsedText_;
    TADOConnection* connection_ = nullptr;
    int rowsAffected_ = -1;
    std::unique_ptr<db_detail::ResultSet> pending_;  // rows read at open, until they are stored
    std::vector<db_detail::TResultField> pendingFields_;
};

// A statement run for its effect: CommandText with named parameters, Execute.
class TADOCommand : public TComponent {
    TV_CLASS(TADOCommand, TComponent)
public:
    explicit TADOCommand(TComponent* AOwner = nullptr);
    ~TADOCommand() override;

    TADOConnection* Connection() const { return connection_; }
    void SetConnection(TADOConnection* connection);
    const std::string& CommandText() const { return commandText_; }
    void SetCommandText(std::string text);
    TParameters& Parameters() { return parameters_; }
    // Runs the command; answers the rows the last statement changed.
    int Execute();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    std::string commandText_;
    TParameters parameters_;
    TADOConnection* connection_ = nullptr;
};

}  // namespace tv
