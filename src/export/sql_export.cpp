#include "export/sql_export.h"

#include <chrono>

#include "platform/data/field.h"
#include "platform/data/field_text.h"
#include "platform/db/ado_query.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/trim.h"
#include "platform/xml/xml_error.h"

namespace tv {
namespace {

constexpr std::string_view kQueryName = "SQL_QUERY_NAME";
constexpr std::string_view kQueryText = "SQL_QUERY";
constexpr std::string_view kQueriesTable = "CDSExportSQLPrefs";

std::string HexText(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace

std::string SqlCellText(const TField& field) {
    const TValueView value = field.ValueView();
    if (value.IsNull()) return {};
    const TFieldType type = field.DataType();
    if (IsBlobType(type)) return HexText(value.text);
    if (type == TFieldType::ftCurrency) {
        const TFormatSettings& settings = field.DataSet()->FormatSettings();
        return FloatToStrF(value.number, TFloatFormat::ffFixed, 15, settings.CurrencyDecimals, settings);
    }
    if (value.kind == TValueView::Kind::Text) return Trim(value.text);
    return Trim(StorageToText(field, value));
}

void TSqlExport::ExportSQL(const std::string& name, const std::string& fileName) {
    Export(name, fileName, nullptr, false);
}

void TSqlExport::ExportSQLFromList(const std::string& name, const std::string& fileName,
                                   const TStrings* items) {
    Export(name, fileName, items, true);
}

void TSqlExport::Export(const std::string& name, const std::string& fileName, const TStrings* items,
                        bool fromList) {
    IEventSink& events = module_.Events();
    events.addEventItem(Format(kExportingSqlQuery, {name}), true);
    if (fromList && (!items || items->Count() == 0)) {
        events.reportError(kNoSqlSelection, elInfo);
        events.CloseNestedEventItem();
        return;
    }
    TADOQuery& query = module_.ADOArbitrarySQL();
    TExportDocument& document = module_.Document();
    // The query closed, the document inactive and the database disconnected, whatever happened.
    const auto end = [&] {
        query.Close();
        document.Deactivate();
        module_.Context().disconnectODBC();
    };
    try {
        const TDataSet& prefs = FindQuery(name);
        document.Activate();
        document.createCustomXmlDocument();
        query.Close();
        query.SQL().SetText(prefs.FieldByName(kQueryText).AsString());
        module_.Context().connectODBC();
        if (fromList) {
            for (int i = 0; i < items->Count(); ++i) {
                query.Parameters().Items(0).SetValue(Variant::FromUtf8(items->Strings(i)));
                AppendResult(name);
            }
        } else {
            AppendResult(name);
        }
        const std::string file = fileName.empty() ? module_.generateSQLFileName() : fileName;
        events.reportError(std::string(kExportingSqlFile) + file, elInfo);
        Save(file);
        end();
    } catch (const std::exception& e) {
        events.reportError(e.what(), elError);
        try {
            end();
        } catch (const std::exception& again) {
            events.reportError(again.what(), elError);
        }
    }
    events.CloseNestedEventItem();
}

TDataSet& TSqlExport::FindQuery(const std::string& name) {
    TDataSet& queries = module_.Settings(kQueriesTable);
    if (!queries.Locate(kQueryName, Variant::FromUtf8(name)))
        throw Exception(Format(kNoQueryDefinition, {name}));
    return queries;
}

void TSqlExport::AppendResult(const std::string& queryName) {
    TADOQuery& query = module_.ADOArbitrarySQL();
    query.Open();
    SQLResultToXML(module_.Document(), queryName);
    query.Close();
}

void TSqlExport::SQLResultToXML(TExportDocument& document, const std::string& queryName) {
    TADOQuery& query = module_.ADOArbitrarySQL();
    if (!document.NodeCustom) throw EXMLDocError("The export document has no container \"custom\"");
    TXMLNode& custom = *document.NodeCustom;
    TXMLNode* metadata = custom.AddChild("metadata");
    metadata->AddChild("queryname")->SetText(queryName);
    metadata->AddChild("numresult")->SetText(IntToStr(query.RecordCount()));
    TXMLNode* rows = custom.AddChild("rows");
    for (query.First(); !query.Eof(); query.Next()) {
        TXMLNode* row = rows->AddChild("row");
        for (int c = 0; c < query.FieldCount(); ++c) {
            const TField& field = query.Fields(c);
            row->AddChild(field.FieldName())->SetText(SqlCellText(field));
        }
    }
}

void TSqlExport::Save(const std::string& fileName) {
    try {
        module_.MakeWritesDurable();
        module_.Document().XMLDocument1().SaveToFile(fileName);
    } catch (const std::exception& e) {
        throw Exception(Format(kCouldNotSaveFile, {fileName, e.what()}));
    }
}

void TSqlExport::TestSQL(const std::string& name, int& reccount, int& ms) {
    const std::string sql = FindQuery(name).FieldByName(kQueryText).AsString();
    module_.Context().connectODBC();
    TimeQuery(sql, reccount, ms);
}

void TSqlExport::TestSQLText(const std::string& query, int& reccount, int& ms) {
    module_.Context().connectODBC();
    TimeQuery(query, reccount, ms);
}

void TSqlExport::TimeQuery(const std::string& sql, int& reccount, int& ms) {
    TADOQuery& query = module_.ADOArbitrarySQL();
    try {
        query.Close();
        query.SQL().SetText(sql);
        const auto start = std::chrono::steady_clock::now();
        query.Open();
        const auto opened = std::chrono::steady_clock::now();
        reccount = query.RecordCount();
        ms = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(opened - start).count());
    } catch (...) {
        query.Close();
        module_.Context().disconnectODBC();
        throw;
    }
    query.Close();
    module_.Context().disconnectODBC();
}

}  // namespace tv
