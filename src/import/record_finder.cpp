#include "import/record_finder.h"

#include <vector>

#include "adk/adk_dataset.h"
#include "core/event_sink.h"
#include "import/import_policies.h"
#include "import/import_xml.h"
#include "import/key_helper_dm.h"
#include "import/key_text.h"
#include "platform/db/ado_query.h"

namespace tv {

namespace {

// The parts of `key` between the separators, empty ones included ("a;;b" has three).
std::vector<std::string> SplitKey(std::string_view key, std::string_view separator) {
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t end = key.find(separator, start);
        parts.emplace_back(key.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + separator.size();
    }
}

// Each parameter gets the text of the item's first element of its name, as the file wrote it.
void BindElements(TParameters& parameters, const TXMLNode* item) {
    for (int i = 0; i < parameters.Count(); ++i) {
        TParameter& parameter = parameters.Items(i);
        const TXMLNode* element = item ? ChildElement(*item, parameter.Name()) : nullptr;
        if (!element) throw EImportError(std::string(kNoElementForParameter) + parameter.Name());
        parameter.SetValue(Variant::FromUtf8(element->Text()));
    }
}

}  // namespace

TRecordFinder::TRecordFinder(const TFinderDef& def, const TDataSet& settings, TAdkDataSet& dataSet,
                             TADOQuery& query, TADOConnection* connection, IEventSink& events)
    : def_(def),
      settings_(settings),
      dataSet_(dataSet),
      query_(query),
      connection_(connection),
      events_(events) {}

bool TRecordFinder::Find(const std::string& key, std::string& number, const TXMLNode* item) {
    int mode = 0;
    try {
        mode = ReadIntegerSetting(settings_, def_.ModeField);
    } catch (const std::exception&) {
        throw EImportError(std::string(def_.NoModeText));
    }
    if (def_.LowByteMode) mode &= 0xFF;
    if (!def_.UnknownModeText.empty() && mode != 0 && mode != 1)
        throw EImportError(std::string(def_.UnknownModeText) + std::to_string(mode));
    // An empty key names no record; a find with it would match whatever record comes first.
    if (key.empty()) return false;
    return mode == 0 ? FindByIndex(key, number) : FindBySql(key, number, item);
}

int TRecordFinder::SortOrderSetting() const {
    if (!def_.EmptyCdxText.empty() && ReadTextSetting(settings_, def_.CdxField).empty())
        throw EImportError(std::string(def_.EmptyCdxText));
    try {
        return ReadRequiredIntegerSetting(settings_, def_.CdxField);
    } catch (const std::exception&) {
        if (def_.UnreadableCdxText.empty()) throw;
        throw EImportError(std::string(def_.UnreadableCdxText));
    }
}

bool TRecordFinder::FindByIndex(const std::string& key, std::string& number) {
    bool found = false;
    try {
        const int order = SortOrderSetting();
        // Stored sort orders are ordinals of which only the low byte counts.
        dataSet_.SetAdkSortOrder(static_cast<TAdkSortOrder>(order & 0xFF));
        found = dataSet_.AdkNavFind(key, true, true);
        if (found) number = dataSet_.FieldByAdkIndex(0).AsString();
    } catch (...) {
        dataSet_.SetAdkSortOrder(def_.DefaultOrder);
        throw;
    }
    dataSet_.SetAdkSortOrder(def_.DefaultOrder);
    return found;
}

bool TRecordFinder::FindBySql(const std::string& key, std::string& number, const TXMLNode* item) {
    const std::string statement = Trim(ReadTextSetting(settings_, def_.SqlField));
    if (statement.empty()) throw EImportError(std::string(def_.EmptySqlText));
    bool found = false;
    try {
        query_.Close();
        if (query_.SQL().Text() != statement + "\r\n") query_.SQL().SetText(statement);
        TParameters& parameters = query_.Parameters();
        for (int i = 0; i < parameters.Count(); ++i)
            parameters.Items(i).SetValue(Variant());  // no value kept
        if (!def_.SplitKeyAt.empty()) {
            const std::vector<std::string> parts = SplitKey(key, def_.SplitKeyAt);
            const int bound = std::min(parameters.Count(), static_cast<int>(parts.size()));
            for (int i = 0; i < bound; ++i) parameters.Items(i).SetValue(Variant::FromUtf8(parts[i]));
        } else if (def_.BindElementsByName) {
            BindElements(parameters, item);
        } else {
            const int bound = def_.BindEveryParameter ? parameters.Count() : std::min(parameters.Count(), 1);
            const Variant value = Variant::FromUtf8(Trim(key));
            for (int i = 0; i < bound; ++i) parameters.Items(i).SetValue(value);
        }
        query_.SetConnection(connection_);
        if (!def_.SearchingText.empty())
            events_.reportError(std::string(def_.SearchingText) + key + std::string(def_.SearchingTextAfter),
                                elExcessive);
        query_.Open();
        found = !query_.Eof();
        if (found)
            number =
                Trim((def_.NumberColumn.empty() ? query_.Fields(0) : query_.FieldByName(def_.NumberColumn))
                         .AsString());
    } catch (const EImportError&) {
        // A parameter the item cannot fill is a fault of the file, not of the statement: it ends
        // the import.
        query_.Close();
        throw;
    } catch (const std::exception& e) {
        events_.reportError(e.what(), elError);
        found = false;
    }
    query_.Close();
    return found;
}

}  // namespace tv
