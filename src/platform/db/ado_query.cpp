#include "platform/db/ado_query.h"

#include "platform/data/db_error.h"
#include "platform/data/field_text.h"
#include "platform/db/result_fields.h"
#include "platform/db/sql_parameters.h"
#include "platform/db/sqlite_runner.h"
#include "platform/rtl/class_info.h"

namespace tv {

using namespace db_detail;

namespace {

constexpr std::string_view kNoConnection = "Missing Connection or ConnectionString";
constexpr std::string_view kNoResultSet = "CommandText does not return a result set";

sqlite3* OpenedConnection(TADOConnection* connection) {
    if (!connection) DatabaseError(kNoConnection);
    if (!connection->Connected()) connection->Open();  // a closed connection opens on demand
    return connection->StatementHandle();
}

void Follow(TComponent* self, TADOConnection*& current, TADOConnection* next) {
    if (current == next) return;
    if (current) current->RemoveFreeNotification(self);
    current = next;
    if (current) current->FreeNotification(self);
}

}  // namespace

// ---------------------------------------------------------------- TADOQuery

const TClassInfo& TADOQuery::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TADOQuery>("TADOQuery")
            .Published("Connection", &TADOQuery::Connection, &TADOQuery::SetConnection)
            .Published("SQL", &TADOQuery::SQLStrings)
            .Build();
    return info;
}

TADOQuery::TADOQuery(TComponent* AOwner) : TDataSet(AOwner), sql_(std::make_unique<TStringList>()) {}

TADOQuery::~TADOQuery() {
    Follow(this, connection_, nullptr);
}

void TADOQuery::SetConnection(TADOConnection* connection) {
    Follow(this, connection_, connection);
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation) {
    TDataSet::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == connection_) connection_ = nullptr;
}

TParameters& TADOQuery::Parameters() {
    const std::string text = sql_->Text();
    if (text != parsedText_) {
        parameters_.Assign(ParseSqlParameters(text).names);
        parsedText_ = text;
    }
    return parameters_;
}

int TADOQuery::ExecSQL() {
    sqlite3* db = OpenedConnection(connection_);
    Parameters();
    RunStatements(db, ParseSqlParameters(parsedText_), parameters_, &rowsAffected_);
    return rowsAffected_;
}

void TADOQuery::InternalInitFieldDefs() {
    sqlite3* db = OpenedConnection(connection_);
    Parameters();
    auto result =
        std::make_unique<ResultSet>(RunStatements(db, ParseSqlParameters(parsedText_), parameters_, nullptr));
    if (!result->hasColumns) DatabaseError(kNoResultSet);
    rowsAffected_ = -1;
    pendingFields_ = DescribeResult(*result);
    if (FieldCount() == 0) {  // no fields of its own: the result's columns
        FieldDefs().Clear();
        for (const TResultField& field : pendingFields_)
            FieldDefs().Add(field.column.Name, field.column.DataType, field.column.Size);
    }
    pending_ = std::move(result);
}

void TADOQuery::InternalOpenData() {
    if (!pending_) return;
    const std::unique_ptr<ResultSet> result = std::move(pending_);
    std::vector<TField*> target(pendingFields_.size());
    for (size_t c = 0; c < pendingFields_.size(); ++c) target[c] = FindField(pendingFields_[c].column.Name);
    std::string scratch;
    for (const auto& row : result->rows) {
        data_detail::RecordBuffer& buffer = BeginBulkRecord();
        for (size_t c = 0; c < row.size(); ++c) {
            if (!target[c]) continue;
            const auto no = static_cast<size_t>(target[c]->FieldNo() - 1);
            buffer.Set(no, Layout().kinds[no],
                       ConvertToField(*target[c], CellValue(row[c], pendingFields_[c]), scratch));
        }
        EndBulkRecord();
    }
}

// ---------------------------------------------------------------- TADOCommand

const TClassInfo& TADOCommand::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TADOCommand>("TADOCommand")
            .Published("Connection", &TADOCommand::Connection, &TADOCommand::SetConnection)
            .Published("CommandText", &TADOCommand::CommandText, &TADOCommand::SetCommandText)
            .Build();
    return info;
}

TADOCommand::TADOCommand(TComponent* AOwner) : TComponent(AOwner) {}

TADOCommand::~TADOCommand() {
    Follow(this, connection_, nullptr);
}

void TADOCommand::SetConnection(TADOConnection* connection) {
    Follow(this, connection_, connection);
}

void TADOCommand::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == connection_) connection_ = nullptr;
}

void TADOCommand::SetCommandText(std::string text) {
    commandText_ = std::move(text);
    parameters_.Assign(ParseSqlParameters(commandText_).names);
}

int TADOCommand::Execute() {
    sqlite3* db = OpenedConnection(connection_);
    int changes = 0;
    RunStatements(db, ParseSqlParameters(commandText_), parameters_, &changes);
    return changes;
}

}  // namespace tv
