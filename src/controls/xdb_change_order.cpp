#include "controls/xdb_change_order.h"

#include "platform/data/data_set.h"
#include "platform/gui/sound.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/prop_path.h"
#include "platform/rtl/string_list.h"
#include "platform/rtl/text_compare.h"
#include "platform/rtl/trim.h"
#include "platform/rtl/variant.h"

namespace tv {

namespace {

// One blank after BY: "ORDER BY" at the very end of a line is not taken for a clause.
constexpr std::string_view kOrderBy = "ORDER BY ";
constexpr std::string_view kDescending = " DESC";
constexpr std::string_view kSelect = "SELECT ";

// Byte position of the first `token` in `text`, letters compared without case; npos when there is
// none or the token is empty.
size_t FindNoCase(std::string_view text, std::string_view token) {
    if (token.empty()) return std::string_view::npos;
    for (size_t start = 0; start < text.size(); NextCharOrByte(text, start)) {
        size_t t = start;
        size_t k = 0;
        bool same = true;
        while (same && k < token.size())
            same = t < text.size() && FoldCase(NextCharOrByte(text, t)) == FoldCase(NextCharOrByte(token, k));
        if (same) return start;
    }
    return std::string_view::npos;
}

bool ContainsNoCase(std::string_view text, std::string_view token) {
    return FindNoCase(text, token) != std::string_view::npos;
}

// The tokens of `text` between `delimiter`s; a trailing delimiter adds no empty token.
std::vector<std::string> Tokens(std::string_view text, std::string_view delimiter) {
    std::vector<std::string> tokens;
    std::string rest(text);
    while (!rest.empty()) tokens.push_back(SplitToken(rest, delimiter));
    return tokens;
}

std::string Join(const std::vector<std::string>& items, char separator) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) text += separator;
        text += items[i];
    }
    return text;
}

std::string ReplaceChar(std::string_view text, char from, char to) {
    std::string result(text);
    for (char& c : result)
        if (c == from) c = to;
    return result;
}

std::string ItemBefore(std::string_view item, size_t pos) {
    return Trim(item.substr(0, pos));
}

}  // namespace

// ---------------------------------------------------------------- order texts

bool CompareOrderFields(std::string_view F1, std::string_view F2) {
    std::string a = Trim(F1);
    std::string b = Trim(F2);
    while (!AnsiSameText(a, b)) {
        if (!AnsiSameText(TrimView(SplitToken(a)), TrimView(SplitToken(b)))) return false;
        a = Trim(a);
        b = Trim(b);
    }
    return true;
}

std::string SplitToken(std::string& Text, std::string_view Delimiter) {
    if (Delimiter.empty()) Delimiter = ",";
    const size_t pos = Text.find(Delimiter);
    std::string token;
    if (pos == std::string::npos) {
        token.swap(Text);
    } else {
        token = Text.substr(0, pos);
        Text.erase(0, pos + Delimiter.size());
    }
    return token;
}

int SplitIntToken(std::string& Text, int Default, std::string_view Delimiter) {
    return StrToIntDef(SplitToken(Text, Delimiter), Default);
}

std::string CommasToSemicolons(std::string_view Text) {
    return ReplaceChar(Text, ',', ';');
}

std::string SemicolonsToCommas(std::string_view Text) {
    return ReplaceChar(Text, ';', ',');
}

std::string OrderToIndexFields(std::string_view OrderFields, std::string_view Suffix) {
    std::string index = CommasToSemicolons(OrderFields);
    if (Suffix.empty()) return index;
    std::string suffix(Suffix);
    SplitToken(suffix, ";");  // the ascending suffix: ascending items are written bare
    const std::string descending = SplitToken(suffix, ";");
    std::vector<std::string> items = Tokens(index, ";");
    for (std::string& item : items) {
        const size_t pos = item.find(kDescending);
        if (pos != std::string::npos) item = ItemBefore(item, pos) + descending;
    }
    return Join(items, ';');
}

std::string IndexToOrderFields(std::string_view IndexFields, std::string_view Suffix) {
    if (Suffix.empty()) return SemicolonsToCommas(IndexFields);
    std::string rest(Suffix);
    const std::string ascending = SplitToken(rest, ";");
    const std::string descending = SplitToken(rest, ";");
    std::vector<std::string> items = Tokens(IndexFields, ";");
    for (std::string& item : items) {
        if (const size_t pos = FindNoCase(item, descending); pos != std::string::npos)
            item = ItemBefore(item, pos) + std::string(kDescending);
        else if (const size_t pos = FindNoCase(item, ascending); pos != std::string::npos)
            item = ItemBefore(item, pos);
        else if (const size_t pos = FindNoCase(item, rest); pos != std::string::npos)
            item = ItemBefore(item, pos);
    }
    return Join(items, ',');
}

// ---------------------------------------------------------------- ORDER BY in SQL lines

std::string GetSQLOrderBy(const TStrings* Lines) {
    if (!Lines) return {};
    for (int i = Lines->Count() - 1; i >= 0; --i) {
        const std::string line = Lines->Strings(i);
        const size_t pos = FindNoCase(line, kOrderBy);
        if (pos == std::string::npos) continue;
        std::string_view order = TrimView(std::string_view(line).substr(pos + kOrderBy.size()));
        if (!order.empty() && order.back() == ';') order = TrimView(order.substr(0, order.size() - 1));
        return std::string(order);
    }
    return {};
}

void SetSQLOrderBy(TStrings& Lines, std::string_view OrderFields) {
    std::string_view order = TrimView(OrderFields);
    if (AnsiSameText(order, "DESC")) order = {};
    const auto endsWithSemicolon = [](std::string_view line) {
        const std::string_view trimmed = TrimRightView(line);
        return !trimmed.empty() && trimmed.back() == ';';
    };
    // The clause on the last line that holds one is rewritten; the lines after it stay.
    for (int i = Lines.Count() - 1; i >= 0; --i) {
        const std::string line = Lines.Strings(i);
        const size_t pos = FindNoCase(line, kOrderBy);
        if (pos == std::string::npos) continue;
        std::string rewritten =
            order.empty() ? line.substr(0, pos) : line.substr(0, pos + kOrderBy.size()).append(order);
        if (endsWithSemicolon(line)) rewritten += ';';
        Lines.SetStrings(i, rewritten);
        return;
    }
    if (order.empty()) return;
    while (Lines.Count() > 0 && TrimRightView(Lines.Strings(Lines.Count() - 1)).empty())
        Lines.Delete(Lines.Count() - 1);
    if (Lines.Count() == 0) return;
    const int last = Lines.Count() - 1;
    const std::string lastLine = Lines.Strings(last);
    std::string clause = std::string(kOrderBy).append(order);
    if (endsWithSemicolon(lastLine)) {
        const std::string_view trimmed = TrimRightView(lastLine);
        Lines.SetStrings(last, trimmed.substr(0, trimmed.size() - 1));
        clause += ';';
    }
    Lines.Add(clause);
}

// ---------------------------------------------------------------- the table of ways

namespace {

struct DefaultEntry {
    const char* ClassName;
    TChangeOrder ChangeOrder;
    bool AscendOnly;
    bool (*IsValid)(TDataSet&, TChangeOrder);
    const char* PropName;
};

// Searched from the end: a client dataset's command-text entry is tried before its index entry,
// and an ADO dataset's index entry before its command-text entry.
constexpr DefaultEntry kDefaultTable[] = {
    {"TBDEClientDataSet", coChangeIndexFields, true, nullptr, ""},
    {"TBDEClientDataSet", coChangeOrderFields, false, ValidClientDataSetOrder, ""},
    {"TSQLClientDataSet", coChangeIndexFields, true, nullptr, ""},
    {"TSQLClientDataSet", coChangeOrderFields, false, ValidSQLClientDataSetOrder, ""},
    {"TSimpleDataSet", coChangeIndexFields, true, nullptr, ""},
    {"TSimpleDataSet", coChangeOrderFields, false, ValidSimpleDataSetOrder, "DataSet.CommandText"},
    {"TClientDataSet", coChangeIndexFields, true, nullptr, ""},
    {"TClientDataSet", coChangeOrderFields, false, ValidClientDataSetOrder, ""},
    {"TIBClientDataSet", coChangeIndexFields, true, nullptr, ""},
    {"TIBClientDataSet", coChangeOrderFields, false, ValidClientDataSetOrder, ""},
    {"TIBDataSet", coChangeSQLOrderFields, false, nullptr, "SelectSQL"},
    {"TIBQuery", coChangeSQLOrderFields, false, nullptr, ""},
    {"TIBTable", coChangeIndexFields, true, nullptr, ""},
    {"TADODataSet", coChangeOrderFields, false, ValidADODataSetOrder, ""},
    {"TADODataSet", coChangeIndexFields, false, ValidADODataSetOrder, ""},
    {"TADOQuery", coChangeSQLOrderFields, false, nullptr, ""},
    {"TADOTable", coChangeIndexFields, false, nullptr, ""},
    {"TQuery", coChangeSQLOrderFields, false, nullptr, ""},
    {"TTable", coChangeIndexFields, true, nullptr, ""},
};

bool IsEmptyProp(TDataSet& DataSet, std::string_view path) {
    return GetPathWideStrProp(DataSet, path).empty();
}

bool HoldsSelect(TDataSet& DataSet) {
    return ContainsNoCase(GetPathWideStrProp(DataSet, "CommandText"), kSelect);
}

}  // namespace

TChangeOrderList::TChangeOrderList() {
    for (const DefaultEntry& e : kDefaultTable)
        Add(e.ClassName, e.ChangeOrder, e.AscendOnly, e.IsValid, e.PropName);
}

TChangeOrderItem& TChangeOrderList::Add(std::string ClassName, TChangeOrder ChangeOrder, bool AscendOnly,
                                        TValidChangeOrder IsValid, std::string PropName, std::string Suffix) {
    auto item = std::make_unique<TChangeOrderItem>();
    item->DSClassName = std::move(ClassName);
    item->ChangeOrder = ChangeOrder;
    item->AscendOnly = AscendOnly;
    item->IsValid = std::move(IsValid);
    item->PropName = std::move(PropName);
    item->Suffix = std::move(Suffix);
    fItems.push_back(std::move(item));
    return *fItems.back();
}

const TChangeOrderItem* TChangeOrderList::Find(TDataSet* DataSet, bool ForChange) const {
    if (!DataSet) return nullptr;
    const std::string& className = DataSet->ClassName();
    for (auto it = fItems.rbegin(); it != fItems.rend(); ++it) {
        const TChangeOrderItem& item = **it;
        if (item.DSClassName != className) continue;
        if (item.ChangeOrder == coCustomChangeOrder &&
            !(ForChange ? static_cast<bool>(item.CustomChangeOrder)
                        : static_cast<bool>(item.CustomCurrentOrder)))
            continue;
        if (item.IsValid && !item.IsValid(*DataSet, item.ChangeOrder)) continue;
        return &item;
    }
    return nullptr;
}

void TChangeOrderList::Remove(std::string_view ClassName, TChangeOrder ChangeOrder) {
    std::erase_if(fItems, [&](const std::unique_ptr<TChangeOrderItem>& item) {
        return item->DSClassName == ClassName && item->ChangeOrder == ChangeOrder;
    });
}

TChangeOrderList& GetChangeOrderList() {
    static TChangeOrderList list;
    return list;
}

bool ValidClientDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder) {
    if (ChangeOrder == coChangeIndexFields) return true;
    if (ChangeOrder != coChangeOrderFields) return false;
    return HoldsSelect(DataSet) && IsEmptyProp(DataSet, "FileName");
}

bool ValidSQLClientDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder) {
    if (ChangeOrder == coChangeIndexFields) return true;
    if (ChangeOrder != coChangeOrderFields) return false;
    return GetPathEnumProp(DataSet, "CommandType") == "ctQuery" && IsEmptyProp(DataSet, "FileName");
}

bool ValidSimpleDataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder) {
    if (ChangeOrder == coChangeIndexFields) return true;
    if (ChangeOrder != coChangeOrderFields) return false;
    return GetPathEnumProp(DataSet, "DataSet.CommandType") == "ctQuery" && IsEmptyProp(DataSet, "FileName") &&
           IsEmptyProp(DataSet, "IndexFieldNames");
}

bool ValidADODataSetOrder(TDataSet& DataSet, TChangeOrder ChangeOrder) {
    if (ChangeOrder == coChangeIndexFields)
        return GetPathEnumProp(DataSet, "CursorLocation") == "clUseClient";
    if (ChangeOrder != coChangeOrderFields) return false;
    if (GetPathEnumProp(DataSet, "CursorLocation") != "clUseServer") return false;
    const std::string commandType = GetPathEnumProp(DataSet, "CommandType");
    return commandType == "cmdText" || (commandType == "cmdUnknown" && HoldsSelect(DataSet));
}

// ---------------------------------------------------------------- ordering a grid's dataset

namespace {

const std::string& OrDefault(const std::string& PropName, const std::string& Default) {
    return PropName.empty() ? Default : PropName;
}
const std::string kIndexProp = "IndexFieldNames";
const std::string kCommandProp = "CommandText";
const std::string kSQLProp = "SQL";

std::string OrderOfCommand(const std::string& CommandText) {
    TStringList lines;
    lines.SetText(CommandText);
    return GetSQLOrderBy(&lines);
}

TStrings* SQLList(TDataSet& DataSet, const std::string& PropName) {
    return dynamic_cast<TStrings*>(GetPathObjectProp(DataSet, PropName));
}

// The steps every built-in way shares: the current record and its screen row are kept (by the key
// fields too, when the grid names them), `write` puts the new order in place (the dataset closed
// around it when `reopen`), and a failure is rolled back by `restore`, which writes the old value
// back and answers its order text for the markers; the failure then only beeps.
template <class Write, class Restore>
void ApplyOrder(IDataSetOrderHost& Host, TDataSet& DataSet, bool reopen, Write write, Restore restore) {
    const auto finish = [&] {
        Host.ClearSelection();
        Host.EnablePosition(true);
    };
    Host.DisablePosition();
    try {
        const bool wasActive = DataSet.Active();
        const std::string keyFields = Host.KeyFields();
        const bool findRecord = wasActive && !keyFields.empty();
        Variant keyValues;
        if (findRecord) keyValues = DataSet.FieldValues(keyFields);
        if (reopen && wasActive) DataSet.Close();
        Host.BeginUpdate();
        try {
            try {
                write();
                if (reopen && wasActive) DataSet.Open();
            } catch (const std::exception&) {
                const std::string oldOrder = restore();
                if (wasActive && !DataSet.Active()) DataSet.Open();
                Host.SetupOrderFields(oldOrder);
                Beep();
            }
        } catch (...) {
            Host.EndUpdate();
            throw;
        }
        Host.EndUpdate();
        if (findRecord) DataSet.Locate(keyFields, keyValues);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    Host.OrderUpdated();
}

std::string OrderOrHosts(IDataSetOrderHost& Host, const std::string& OrderFields) {
    return OrderFields.empty() ? Host.OrderFields() : OrderFields;
}

}  // namespace

void ChangeIndexFields(IDataSetOrderHost& Host, const std::string& OrderFields, const std::string& PropName,
                       const std::string& Suffix) {
    TDataSet* dataSet = Host.OrderDataSet();
    if (!dataSet) return;
    const std::string order = OrderOrHosts(Host, OrderFields);
    const std::string& prop = OrDefault(PropName, kIndexProp);
    const std::string old = GetPathWideStrProp(*dataSet, prop);
    if (CompareOrderFields(IndexToOrderFields(old, Suffix), order)) return;
    ApplyOrder(
        Host, *dataSet, false, [&] { SetPathWideStrProp(*dataSet, prop, OrderToIndexFields(order, Suffix)); },
        [&] {
            SetPathWideStrProp(*dataSet, prop, old);
            return IndexToOrderFields(old, Suffix);
        });
}

void ChangeOrderFields(IDataSetOrderHost& Host, const std::string& OrderFields, const std::string& PropName) {
    TDataSet* dataSet = Host.OrderDataSet();
    if (!dataSet) return;
    const std::string order = OrderOrHosts(Host, OrderFields);
    const std::string& prop = OrDefault(PropName, kCommandProp);
    const std::string old = GetPathWideStrProp(*dataSet, prop);
    TStringList lines;
    lines.SetText(old);
    if (CompareOrderFields(GetSQLOrderBy(&lines), order)) return;
    SetSQLOrderBy(lines, order);
    ApplyOrder(
        Host, *dataSet, true, [&] { SetPathWideStrProp(*dataSet, prop, lines.Text()); },
        [&] {
            SetPathWideStrProp(*dataSet, prop, old);
            return OrderOfCommand(old);
        });
}

void ChangeSQLOrderFields(IDataSetOrderHost& Host, const std::string& OrderFields,
                          const std::string& PropName) {
    TDataSet* dataSet = Host.OrderDataSet();
    if (!dataSet) return;
    const std::string order = OrderOrHosts(Host, OrderFields);
    TStrings* list = SQLList(*dataSet, OrDefault(PropName, kSQLProp));
    if (!list || CompareOrderFields(GetSQLOrderBy(list), order)) return;
    const std::string old = list->Text();
    ApplyOrder(
        Host, *dataSet, true, [&] { SetSQLOrderBy(*list, order); },
        [&] {
            list->SetText(old);
            return GetSQLOrderBy(list);
        });
}

std::string CurrentIndexFields(TDataSet* DataSet, const std::string& PropName, const std::string& Suffix) {
    if (!DataSet) return {};
    return IndexToOrderFields(GetPathWideStrProp(*DataSet, OrDefault(PropName, kIndexProp)), Suffix);
}

std::string CurrentOrderFields(TDataSet* DataSet, const std::string& PropName) {
    if (!DataSet) return {};
    return OrderOfCommand(GetPathWideStrProp(*DataSet, OrDefault(PropName, kCommandProp)));
}

std::string CurrentSQLOrderFields(TDataSet* DataSet, const std::string& PropName) {
    if (!DataSet) return {};
    return GetSQLOrderBy(SQLList(*DataSet, OrDefault(PropName, kSQLProp)));
}

bool ChangeDataSetOrder(IDataSetOrderHost& Host, const std::string& OrderFields) {
    TDataSet* dataSet = Host.OrderDataSet();
    const TChangeOrderItem* found = GetChangeOrderList().Find(dataSet, true);
    if (!found) return false;
    const TChangeOrderItem item = *found;  // a custom procedure may change the table
    if (Host.AutoAscendOrder() && Host.MarkerAscendOnly() != item.AscendOnly)
        Host.SetMarkerAscendOnly(item.AscendOnly);
    switch (item.ChangeOrder) {
        case coChangeIndexFields:
            ChangeIndexFields(Host, OrderFields, item.PropName, item.Suffix);
            break;
        case coChangeOrderFields:
            ChangeOrderFields(Host, OrderFields, item.PropName);
            break;
        case coChangeSQLOrderFields:
            ChangeSQLOrderFields(Host, OrderFields, item.PropName);
            break;
        case coCustomChangeOrder:
            item.CustomChangeOrder(Host, OrderFields);
            break;
    }
    return true;
}

std::string CurrentDataSetOrder(IDataSetOrderHost& Host) {
    TDataSet* dataSet = Host.OrderDataSet();
    const TChangeOrderItem* found = GetChangeOrderList().Find(dataSet, false);
    if (!found) return {};
    const TChangeOrderItem item = *found;
    switch (item.ChangeOrder) {
        case coChangeIndexFields:
            return CurrentIndexFields(dataSet, item.PropName, item.Suffix);
        case coChangeOrderFields:
            return CurrentOrderFields(dataSet, item.PropName);
        case coChangeSQLOrderFields:
            return CurrentSQLOrderFields(dataSet, item.PropName);
        case coCustomChangeOrder:
            return item.CustomCurrentOrder(Host);
    }
    return {};
}

}  // namespace tv
