// The kit's exports: plain C names, one error record per call. Every export validates its handles
// and pointers, takes the kit's lock and turns any failure inside into an error code; only a
// fault-injection rule with a message throws out of it, on purpose.

#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>

#include "catalogue.h"
#include "dates.h"
#include "errors.h"
#include "kit/adk_abi.h"
#include "kit_state.h"
#include "kit_text.h"

#define ADK_EXPORT extern "C" __attribute__((visibility("default")))

namespace tv::kit {

KitState::~KitState() {
    company.reset();
    if (log) std::fclose(log);
}

KitState& State() {
    static KitState state;
    return state;
}

namespace {

void Log(const char* name, const AdkErrorRec& e) {
    KitState& s = State();
    if (!s.log) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::fprintf(s.log, "%s %s lRc=%d lDbTable=%d lField=%d%s%s\n", stamp, name, e.lRc, e.lDbTable, e.lField,
                 e.lRc && !s.lastMessage.empty() ? " " : "", e.lRc ? s.lastMessage.c_str() : "");
    std::fflush(s.log);
}

// Runs one export: lock, fault injection, the body, the call log; failures become codes.
template <typename Body>
AdkErrorRec Call(int32_t function, const char* name, Body&& body) {
    KitState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.lastMessage.clear();
    Company::Fault fault;
    if (s.company && s.company->NextFault(name, fault)) {
        AdkErrorRec e = Error(fault.code, function);
        s.lastMessage = fault.message.empty() ? "injected fault" : fault.message;
        Log(name, e);
        if (!fault.message.empty()) throw InjectedFault(fault.message);
        return e;
    }
    AdkErrorRec e;
    try {
        e = body();
    } catch (const std::exception& ex) {
        s.lastMessage = ex.what();
        e = Error(ADK_ERR_STORAGE, function);
    }
    if ((e.lRc == ADK_ERR_STORAGE || e.lRc == ADK_ERR_HELD_WRITES_LOST) && s.company && s.lastMessage.empty())
        s.lastMessage = s.company->LastError();
    Log(name, e);
    return e;
}

Record* RecordOf(AdkHandle h) {
    return State().handles.FindRecord(h);
}

// The record and field of a field access; the record is null when the handle is not one.
AdkErrorRec ResolveField(AdkHandle h, int32_t field, int32_t function, Record*& r, const FieldDef*& f) {
    r = RecordOf(h);
    f = nullptr;
    if (!r) return Error(ADK_ERR_BAD_HANDLE, function);
    if (field < 0 || field > r->table->maxField)
        return Error(ADK_ERR_INVALID_NUMBER, function, r->table->no, field);
    f = FindField(*r->table, field);
    return Ok(function);
}

bool IsType(const FieldDef& f, FieldType t) {
    return f.type == t;
}

// The common checks of a getter: ok when the field holds a value of type `type`.
AdkErrorRec Readable(AdkHandle h, int32_t field, int32_t function, FieldType type, const Value*& value) {
    Record* r;
    const FieldDef* f;
    value = nullptr;
    AdkErrorRec e = ResolveField(h, field, function, r, f);
    if (e.lRc) return e;
    if (!f) return Error(ADK_ERR_NO_VALUE, function, r->table->no, field);
    if (!IsType(*f, type)) return Error(ADK_ERR_WRONG_TYPE, function, r->table->no, field);
    const Value& v = r->values[static_cast<size_t>(field)];
    if (v.isNull) return Error(ADK_ERR_NO_VALUE, function, r->table->no, field);
    value = &v;
    return e;
}

// The common checks of a setter: the value to write when the field is of type `type`.
AdkErrorRec Writable(AdkHandle h, int32_t field, int32_t function, FieldType type, Record*& r,
                     const FieldDef*& f) {
    AdkErrorRec e = ResolveField(h, field, function, r, f);
    if (e.lRc) return e;
    if (!f) return Error(ADK_ERR_INVALID_NUMBER, function, r->table->no, field);
    if (!IsType(*f, type)) return Error(ADK_ERR_WRONG_TYPE, function, r->table->no, field);
    return e;
}

Value& Assign(Record& r, int32_t field) {
    r.set[static_cast<size_t>(field)] = 1;
    Value& v = r.values[static_cast<size_t>(field)];
    v = Value{};
    v.isNull = false;
    return v;
}

// A structure the caller owns, on an open company: what navigation and writes need.
AdkErrorRec Owned(AdkHandle h, int32_t function, Record*& r) {
    r = nullptr;
    if (!State().handles.Owns(h) || !(r = RecordOf(h))) return Error(ADK_ERR_BAD_HANDLE, function);
    if (!State().company) return Error(ADK_ERR_NOT_OPEN, function, r->table->no);
    return Ok(function);
}

template <typename Op>
AdkErrorRec OnCompany(AdkHandle h, int32_t function, const char* name, Op op) {
    return Call(function, name, [&] {
        Record* r;
        AdkErrorRec e = Owned(h, function, r);
        if (e.lRc) return e;
        return Error(op(*State().company, *r), function, r->table->no);
    });
}

AdkErrorRec OpenCompany(int32_t function, const char* name, const char* companyFolder, int32_t logging,
                        const char* user, const char* password) {
    return Call(function, name, [&] {
        KitState& s = State();
        if (s.company) return Error(ADK_ERR_ALREADY_OPEN, function);
        if (!companyFolder) return Error(ADK_ERR_NO_COMPANY, function);
        std::string folder = ApiToStored(companyFolder);
        int32_t rc = Company::Open(folder, s.handles, s.company, s.lastMessage);
        if (rc) {
            s.company.reset();
            return Error(rc, function);
        }
        if (user && !s.company->CheckLogin(ApiToStored(user), password ? ApiToStored(password) : "")) {
            s.company.reset();
            return Error(ADK_ERR_LOGIN, function);
        }
        if (logging) {
            std::string path = folder + (folder.back() == '/' ? "" : "/") + "adk.log";
            s.log = std::fopen(path.c_str(), "a");
        }
        return Ok(function);
    });
}

AdkErrorRec CopyText(const std::string& utf8, char* buffer, int32_t size, int32_t function) {
    return CopyOut(StoredToApi(utf8), buffer, size) ? Ok(function) : Error(ADK_ERR_BUFFER, function);
}

}  // namespace
}  // namespace tv::kit

using namespace tv::kit;

ADK_EXPORT AdkErrorRec AdkOpen(const char* systemFolder, const char* companyFolder) {
    return OpenCompany(ADKF_OPEN, "AdkOpen", companyFolder, 0, nullptr, nullptr);
}

ADK_EXPORT AdkErrorRec AdkOpenEx(const char* systemFolder, const char* companyFolder, int32_t logging) {
    return OpenCompany(ADKF_OPEN_EX, "AdkOpenEx", companyFolder, logging, nullptr, nullptr);
}

ADK_EXPORT AdkErrorRec AdkOpen2(const char* systemFolder, const char* companyFolder, const char* user,
                                const char* password) {
    return OpenCompany(ADKF_OPEN2, "AdkOpen2", companyFolder, 0, user ? user : "", password);
}

ADK_EXPORT AdkErrorRec AdkClose(void) {
    return Call(ADKF_CLOSE, "AdkClose", [] {
        KitState& s = State();
        // Held writes are committed, and a failure to do so is the close's answer.
        int32_t rc = s.company ? s.company->CommitHeld() : ADK_OK;
        if (rc) s.lastMessage = s.company->LastError();
        s.company.reset();
        AdkErrorRec e = rc ? Error(rc, ADKF_CLOSE) : Ok(ADKF_CLOSE);
        if (rc) Log("AdkClose", e);
        if (s.log) {
            std::fclose(s.log);
            s.log = nullptr;
        }
        return e;
    });
}

ADK_EXPORT AdkHandle AdkCreateData(int32_t table) {
    std::lock_guard<std::mutex> guard(State().lock);
    const TableDef* t = FindTable(table);
    if (!t) return nullptr;
    return State().handles.Adopt(std::make_unique<Record>(*t));
}

ADK_EXPORT AdkHandle AdkCreateDataRow(int32_t rowsTable, int32_t count) {
    std::lock_guard<std::mutex> guard(State().lock);
    const TableDef* t = FindTable(rowsTable);
    if (!t || count < 0 || count > 100000) return nullptr;
    auto block = std::make_unique<RowsBlock>();
    block->table = t;
    for (int32_t i = 0; i < count; ++i) block->rows.push_back(std::make_unique<Record>(*t));
    return State().handles.Adopt(std::move(block));
}

ADK_EXPORT AdkHandle AdkGetDataRow(AdkHandle rows, int32_t index) {
    std::lock_guard<std::mutex> guard(State().lock);
    RowsBlock* block = State().handles.FindRows(rows);
    if (!block || index < 0 || static_cast<size_t>(index) >= block->rows.size()) return nullptr;
    return State().handles.Borrow(*block->rows[static_cast<size_t>(index)]);
}

ADK_EXPORT AdkErrorRec AdkResetStruct(AdkHandle data) {
    return Call(ADKF_RESET_STRUCT, "AdkResetStruct", [&] {
        KitState& s = State();
        if (RowsBlock* block = s.handles.FindRows(data)) {
            for (auto& row : block->rows) row->ClearValues();
            return Ok(ADKF_RESET_STRUCT);
        }
        Record* r = RecordOf(data);
        if (!r) return Error(ADK_ERR_BAD_HANDLE, ADKF_RESET_STRUCT);
        r->ClearValues();
        s.handles.ForgetRows(r->rows);
        r->rows.clear();
        r->rowsDirty = false;
        r->filters.clear();
        r->range.clear();
        r->hasCursor = false;
        r->cursorKeys.clear();
        return Ok(ADKF_RESET_STRUCT);
    });
}

ADK_EXPORT AdkErrorRec AdkDeleteStruct(AdkHandle data) {
    return Call(ADKF_DELETE_STRUCT, "AdkDeleteStruct", [&] {
        return State().handles.Free(data) ? Ok(ADKF_DELETE_STRUCT)
                                          : Error(ADK_ERR_BAD_HANDLE, ADKF_DELETE_STRUCT);
    });
}

ADK_EXPORT AdkErrorRec AdkLongToDate(int32_t date, char* buffer, int32_t size) {
    return Call(ADKF_LONG_TO_DATE, "AdkLongToDate", [&] {
        auto text = DateNumberToText(date);
        if (!CopyOut(text.value_or(""), buffer, size)) return Error(ADK_ERR_BUFFER, ADKF_LONG_TO_DATE);
        return text ? Ok(ADKF_LONG_TO_DATE) : Error(ADK_ERR_NOT_A_DATE, ADKF_LONG_TO_DATE);
    });
}

ADK_EXPORT AdkErrorRec AdkDateToLong(const char* text, int32_t* date) {
    return Call(ADKF_DATE_TO_LONG, "AdkDateToLong", [&] {
        if (!text || !date) return Error(ADK_ERR_BUFFER, ADKF_DATE_TO_LONG);
        auto n = DateTextToNumber(text);
        if (!n) return Error(ADK_ERR_NOT_A_DATE, ADKF_DATE_TO_LONG);
        *date = *n;
        return Ok(ADKF_DATE_TO_LONG);
    });
}

ADK_EXPORT AdkErrorRec AdkLongToDateTime(int32_t dateTime, char* buffer, int32_t size) {
    return Call(ADKF_LONG_TO_DATE_TIME, "AdkLongToDateTime", [&] {
        auto text = dateTime >= 1 ? DateTimeNumberToText(dateTime) : std::nullopt;
        if (!CopyOut(text.value_or(""), buffer, size)) return Error(ADK_ERR_BUFFER, ADKF_LONG_TO_DATE_TIME);
        return text ? Ok(ADKF_LONG_TO_DATE_TIME) : Error(ADK_ERR_NOT_A_DATE, ADKF_LONG_TO_DATE_TIME);
    });
}

ADK_EXPORT AdkErrorRec AdkDateTimeToLong(const char* text, int32_t* dateTime) {
    return Call(ADKF_DATE_TIME_TO_LONG, "AdkDateTimeToLong", [&] {
        if (!text || !dateTime) return Error(ADK_ERR_BUFFER, ADKF_DATE_TIME_TO_LONG);
        auto n = DateTimeTextToNumber(text);
        if (!n) return Error(ADK_ERR_NOT_A_DATE, ADKF_DATE_TIME_TO_LONG);
        *dateTime = *n;
        return Ok(ADKF_DATE_TIME_TO_LONG);
    });
}

ADK_EXPORT AdkErrorRec AdkGetStr(AdkHandle data, int32_t field, char* buffer, int32_t size) {
    return Call(ADKF_GET_STR, "AdkGetStr", [&] {
        if (!buffer || size < 0) return Error(ADK_ERR_BUFFER, ADKF_GET_STR);
        const Value* v;
        AdkErrorRec e = Readable(data, field, ADKF_GET_STR, FieldType::Char, v);
        CopyOut(v ? std::string_view(v->text) : std::string_view(), buffer, size);
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkGetBool(AdkHandle data, int32_t field, int32_t* value) {
    return Call(ADKF_GET_BOOL, "AdkGetBool", [&] {
        if (!value) return Error(ADK_ERR_BUFFER, ADKF_GET_BOOL);
        const Value* v;
        AdkErrorRec e = Readable(data, field, ADKF_GET_BOOL, FieldType::Bool, v);
        *value = v && v->flag ? 1 : 0;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkGetDouble(AdkHandle data, int32_t field, double* value) {
    return Call(ADKF_GET_DOUBLE, "AdkGetDouble", [&] {
        if (!value) return Error(ADK_ERR_BUFFER, ADKF_GET_DOUBLE);
        const Value* v;
        AdkErrorRec e = Readable(data, field, ADKF_GET_DOUBLE, FieldType::Double, v);
        *value = v ? v->number : 0;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkGetDate(AdkHandle data, int32_t field, int32_t* date) {
    return Call(ADKF_GET_DATE, "AdkGetDate", [&] {
        if (!date) return Error(ADK_ERR_BUFFER, ADKF_GET_DATE);
        const Value* v;
        AdkErrorRec e = Readable(data, field, ADKF_GET_DATE, FieldType::Date, v);
        *date = v ? v->date : 0;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkGetData(AdkHandle data, int32_t field, int32_t row, AdkHandle* sub) {
    return Call(ADKF_GET_DATA, "AdkGetData", [&] {
        if (!sub) return Error(ADK_ERR_BUFFER, ADKF_GET_DATA);
        *sub = nullptr;
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = ResolveField(data, field, ADKF_GET_DATA, r, f);
        if (e.lRc) return e;
        if (!f || f->type != FieldType::Data)
            return Error(ADK_ERR_WRONG_TYPE, ADKF_GET_DATA, r->table->no, field);
        if (row < 0 || static_cast<size_t>(row) >= r->rows.size())
            return Error(ADK_ERR_ROW_INDEX, ADKF_GET_DATA, r->table->no, field);
        *sub = State().handles.Borrow(*r->rows[static_cast<size_t>(row)]);
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkSetStr(AdkHandle data, int32_t field, const char* text) {
    return Call(ADKF_SET_STR, "AdkSetStr", [&] {
        if (!text) return Error(ADK_ERR_BUFFER, ADKF_SET_STR);
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = Writable(data, field, ADKF_SET_STR, FieldType::Char, r, f);
        if (e.lRc) return e;
        std::string_view s(text);
        Assign(*r, field).text = std::string(s.substr(0, static_cast<size_t>(f->length)));
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkSetBool(AdkHandle data, int32_t field, uint8_t value) {
    return Call(ADKF_SET_BOOL, "AdkSetBool", [&] {
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = Writable(data, field, ADKF_SET_BOOL, FieldType::Bool, r, f);
        if (e.lRc) return e;
        Assign(*r, field).flag = value != 0;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkSetDouble(AdkHandle data, int32_t field, double value) {
    return Call(ADKF_SET_DOUBLE, "AdkSetDouble", [&] {
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = Writable(data, field, ADKF_SET_DOUBLE, FieldType::Double, r, f);
        if (e.lRc) return e;
        if (!std::isfinite(value)) return Error(ADK_ERR_VALUE_REFUSED, ADKF_SET_DOUBLE, r->table->no, field);
        Assign(*r, field).number = value;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkSetDate(AdkHandle data, int32_t field, int32_t date) {
    return Call(ADKF_SET_DATE, "AdkSetDate", [&] {
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = Writable(data, field, ADKF_SET_DATE, FieldType::Date, r, f);
        if (e.lRc) return e;
        if (date == 0) {
            // 0 empties the date.
            Assign(*r, field).isNull = true;
            return e;
        }
        if (f->stamp ? date < 0 : !IsValidDateNumber(date))
            return Error(ADK_ERR_VALUE_REFUSED, ADKF_SET_DATE, r->table->no, field);
        Assign(*r, field).date = date;
        return e;
    });
}

ADK_EXPORT AdkErrorRec AdkSetData(AdkHandle head, int32_t field, AdkHandle rows) {
    return Call(ADKF_SET_DATA, "AdkSetData", [&] {
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = ResolveField(head, field, ADKF_SET_DATA, r, f);
        if (e.lRc) return e;
        if (!f || f->type != FieldType::Data)
            return Error(ADK_ERR_WRONG_TYPE, ADKF_SET_DATA, r->table->no, field);
        RowsBlock* block = State().handles.FindRows(rows);
        if (!block) return Error(ADK_ERR_BAD_HANDLE, ADKF_SET_DATA, r->table->no, field);
        if (block->table->no != r->table->rowsTable)
            return Error(ADK_ERR_WRONG_TYPE, ADKF_SET_DATA, r->table->no, field);
        // The head keeps its own copy; the caller still owns and frees the block.
        std::vector<std::unique_ptr<Record>> copy;
        for (const auto& row : block->rows) {
            auto c = std::make_unique<Record>(*row->table);
            c->values = row->values;
            c->set = row->set;
            copy.push_back(std::move(c));
        }
        State().handles.ForgetRows(r->rows);
        r->rows = std::move(copy);
        r->rowsDirty = true;
        return e;
    });
}

namespace {
// A fact about a field: `read` gives it from the field (nullptr for a field without a name) and the
// record of the look-up.
template <typename Read>
AdkErrorRec FieldFact(AdkHandle data, int32_t field, int32_t* out, int32_t function, const char* name,
                      Read read) {
    return Call(function, name, [&] {
        if (!out) return Error(ADK_ERR_BUFFER, function);
        Record* r;
        const FieldDef* f;
        AdkErrorRec e = ResolveField(data, field, function, r, f);
        *out = read(f, e);
        return e;
    });
}
}  // namespace

ADK_EXPORT AdkErrorRec AdkGetType(AdkHandle data, int32_t field, int32_t* type) {
    return FieldFact(data, field, type, ADKF_GET_TYPE, "AdkGetType",
                     [](const FieldDef* f, const AdkErrorRec&) {
                         return f ? static_cast<int32_t>(f->type) : int32_t{ADK_TYPE_UNUSED};
                     });
}

// A field without a name is one character long, as the dataset layer makes it.
ADK_EXPORT AdkErrorRec AdkGetLength(AdkHandle data, int32_t field, int32_t* length) {
    return FieldFact(
        data, field, length, ADKF_GET_LENGTH, "AdkGetLength",
        [](const FieldDef* f, const AdkErrorRec& e) { return f ? int32_t{f->length} : (e.lRc ? 0 : 1); });
}

ADK_EXPORT AdkErrorRec AdkGetDecimals(AdkHandle data, int32_t field, int32_t* decimals) {
    return FieldFact(data, field, decimals, ADKF_GET_DECIMALS, "AdkGetDecimals",
                     [](const FieldDef* f, const AdkErrorRec&) { return f ? int32_t{f->decimals} : 0; });
}

ADK_EXPORT int32_t AdkIsReadWrite(AdkHandle data, int32_t field) {
    std::lock_guard<std::mutex> guard(State().lock);
    Record* r = RecordOf(data);
    const FieldDef* f = r ? FindField(*r->table, field) : nullptr;
    return f && !f->readOnly && f->type != FieldType::Data ? 1 : 0;
}

ADK_EXPORT AdkErrorRec AdkAdd(AdkHandle data) {
    return OnCompany(data, ADKF_ADD, "AdkAdd", [](Company& c, Record& r) { return c.Add(r); });
}

ADK_EXPORT AdkErrorRec AdkUpdate(AdkHandle data) {
    return OnCompany(data, ADKF_UPDATE, "AdkUpdate", [](Company& c, Record& r) { return c.Update(r); });
}

ADK_EXPORT AdkErrorRec AdkDelete(AdkHandle data) {
    return OnCompany(data, ADKF_DELETE, "AdkDelete", [](Company& c, Record& r) { return c.Delete(r); });
}

namespace {
AdkErrorRec MoveExport(AdkHandle data, int32_t function, const char* name, Move move) {
    return OnCompany(data, function, name, [move](Company& c, Record& r) { return c.Navigate(r, move); });
}
AdkErrorRec FindExport(AdkHandle data, int32_t function, const char* name) {
    return OnCompany(data, function, name, [](Company& c, Record& r) { return c.Find(r); });
}
}  // namespace

ADK_EXPORT AdkErrorRec AdkFirst(AdkHandle data) {
    return MoveExport(data, ADKF_FIRST, "AdkFirst", Move::First);
}
ADK_EXPORT AdkErrorRec AdkLast(AdkHandle data) {
    return MoveExport(data, ADKF_LAST, "AdkLast", Move::Last);
}
ADK_EXPORT AdkErrorRec AdkNext(AdkHandle data) {
    return MoveExport(data, ADKF_NEXT, "AdkNext", Move::Next);
}
ADK_EXPORT AdkErrorRec AdkPrevious(AdkHandle data) {
    return MoveExport(data, ADKF_PREVIOUS, "AdkPrevious", Move::Previous);
}
ADK_EXPORT AdkErrorRec AdkFind(AdkHandle data) {
    return FindExport(data, ADKF_FIND, "AdkFind");
}

// The Ex forms read the rows too; every read does, so the flag changes nothing. Find2 is the same
// find: it matches the key fields of the sort order that are set, whatever else is set.
ADK_EXPORT AdkErrorRec AdkFirstEx(AdkHandle data, uint8_t) {
    return MoveExport(data, ADKF_FIRST_EX, "AdkFirstEx", Move::First);
}
ADK_EXPORT AdkErrorRec AdkLastEx(AdkHandle data, uint8_t) {
    return MoveExport(data, ADKF_LAST_EX, "AdkLastEx", Move::Last);
}
ADK_EXPORT AdkErrorRec AdkNextEx(AdkHandle data, uint8_t) {
    return MoveExport(data, ADKF_NEXT_EX, "AdkNextEx", Move::Next);
}
ADK_EXPORT AdkErrorRec AdkPreviousEx(AdkHandle data, uint8_t) {
    return MoveExport(data, ADKF_PREVIOUS_EX, "AdkPreviousEx", Move::Previous);
}
ADK_EXPORT AdkErrorRec AdkFindEx(AdkHandle data, uint8_t) {
    return FindExport(data, ADKF_FIND_EX, "AdkFindEx");
}
ADK_EXPORT AdkErrorRec AdkFind2(AdkHandle data, uint8_t) {
    return FindExport(data, ADKF_FIND2, "AdkFind2");
}

ADK_EXPORT AdkErrorRec AdkDeleteRow(AdkHandle head, int32_t row) {
    return Call(ADKF_DELETE_ROW, "AdkDeleteRow", [&] {
        Record* r;
        AdkErrorRec e = Owned(head, ADKF_DELETE_ROW, r);
        if (e.lRc) return e;
        if (r->table->rowsTable < 0) return Error(ADK_ERR_WRONG_TYPE, ADKF_DELETE_ROW, r->table->no);
        return Error(State().company->DeleteRow(*r, row), ADKF_DELETE_ROW, r->table->no);
    });
}

ADK_EXPORT AdkErrorRec AdkGetErrorText(const AdkErrorRec* error, int32_t kind, char* buffer, int32_t size) {
    return Call(ADKF_GET_ERROR_TEXT, "AdkGetErrorText", [&] {
        if (!error || !buffer || size < 0) return Error(ADK_ERR_BUFFER, ADKF_GET_ERROR_TEXT);
        switch (kind) {
            case ADK_TEXT_MESSAGE:
                return CopyText(ErrorMessage(error->lRc), buffer, size, ADKF_GET_ERROR_TEXT);
            case ADK_TEXT_TABLE:
                return CopyText(error->lDbTable == ADK_NO_TABLE ? "" : TableFileName(error->lDbTable), buffer,
                                size, ADKF_GET_ERROR_TEXT);
            case ADK_TEXT_FIELD:
                return CopyText(error->lField == ADK_NO_FIELD ? "" : std::to_string(error->lField), buffer,
                                size, ADKF_GET_ERROR_TEXT);
            default:
                CopyOut("", buffer, size);
                return Error(ADK_ERR_VALUE_REFUSED, ADKF_GET_ERROR_TEXT);
        }
    });
}

ADK_EXPORT AdkErrorRec AdkSetSortOrder(AdkHandle data, int32_t sortConstant) {
    return Call(ADKF_SET_SORT_ORDER, "AdkSetSortOrder", [&] {
        Record* r = State().handles.Owns(data) ? RecordOf(data) : nullptr;
        if (!r) return Error(ADK_ERR_BAD_HANDLE, ADKF_SET_SORT_ORDER);
        const SortDef* s = FindSort(*r->table, sortConstant);
        if (!s) return Error(ADK_ERR_SORT_ORDER, ADKF_SET_SORT_ORDER, r->table->no);
        r->sort = s;
        r->filters.clear();
        r->range.clear();
        return Ok(ADKF_SET_SORT_ORDER);
    });
}

ADK_EXPORT AdkErrorRec AdkSetFilter(AdkHandle data, int32_t field, const char* filter, int32_t flag) {
    return Call(ADKF_SET_FILTER, "AdkSetFilter", [&] {
        if (!filter) return Error(ADK_ERR_BUFFER, ADKF_SET_FILTER);
        Record* r = State().handles.Owns(data) ? RecordOf(data) : nullptr;
        if (!r) return Error(ADK_ERR_BAD_HANDLE, ADKF_SET_FILTER);
        const FieldDef* f = FindField(*r->table, field);
        if (!f || f->type == FieldType::Data)
            return Error(ADK_ERR_INVALID_NUMBER, ADKF_SET_FILTER, r->table->no, field);
        std::string_view text(filter);
        if (text.empty() || text[0] != '=')
            return Error(ADK_ERR_VALUE_REFUSED, ADKF_SET_FILTER, r->table->no, field);
        text.remove_prefix(1);
        Value v;
        v.isNull = false;
        bool ok = true;
        switch (f->type) {
            case FieldType::Char:
                v.text = std::string(text);
                break;
            case FieldType::Bool:
                v.flag = text == "1" || text == "true" || text == "True";
                ok = v.flag || text == "0" || text == "false" || text == "False";
                break;
            case FieldType::Date: {
                auto n = f->stamp ? DateTimeTextToNumber(text) : DateTextToNumber(text);
                ok = n.has_value();
                v.date = n.value_or(0);
                break;
            }
            default: {
                std::string number(text);
                for (char& c : number)
                    if (c == ',') c = '.';
                auto res = std::from_chars(number.data(), number.data() + number.size(), v.number);
                ok = res.ec == std::errc() && res.ptr == number.data() + number.size();
                break;
            }
        }
        if (!ok) return Error(ADK_ERR_VALUE_REFUSED, ADKF_SET_FILTER, r->table->no, field);
        std::erase_if(r->filters, [&](const Condition& c) { return c.field == field; });
        // The same folding as a find on the field.
        Condition c{field, {}};
        switch (f->type) {
            case FieldType::Char:
                c.key.kind = KeyValue::Text, c.key.s = tv::FoldKeyText(ApiToStored(v.text));
                break;
            case FieldType::Bool:
                c.key.kind = KeyValue::Int, c.key.i = v.flag;
                break;
            case FieldType::Date:
                if (f->stamp && r->table->stampUnix)
                    c.key.kind = KeyValue::Int, c.key.i = v.date + kUnixSecondsAt2000;
                else
                    c.key.kind = KeyValue::Text, c.key.s = std::string(text);
                break;
            default:
                c.key.kind = KeyValue::Real, c.key.d = v.number;
                break;
        }
        r->filters.push_back(std::move(c));
        return Ok(ADKF_SET_FILTER);
    });
}

ADK_EXPORT AdkErrorRec AdkGetFieldName(int32_t table, int32_t field, char* buffer, int32_t size) {
    return Call(ADKF_GET_FIELD_NAME, "AdkGetFieldName", [&] {
        if (!buffer || size < 0) return Error(ADK_ERR_BUFFER, ADKF_GET_FIELD_NAME);
        CopyOut("", buffer, size);
        const TableDef* t = FindTable(table);
        if (!t) return Error(ADK_ERR_INVALID_NUMBER, ADKF_GET_FIELD_NAME, ADK_NO_TABLE, field);
        if (field < 0 || field > t->maxField)
            return Error(ADK_ERR_INVALID_NUMBER, ADKF_GET_FIELD_NAME, table, field);
        const FieldDef* f = FindField(*t, field);
        if (!f) return Error(ADK_ERR_UNNAMED_FIELD, ADKF_GET_FIELD_NAME, table, field);
        return CopyText(f->name, buffer, size, ADKF_GET_FIELD_NAME);
    });
}

namespace {
AdkErrorRec Variant(int32_t function, const char* name, int32_t* variant, int32_t* flag, char* buffer,
                    int32_t size) {
    return Call(function, name, [&] {
        if (!variant || !buffer || size < 0) return Error(ADK_ERR_BUFFER, function);
        *variant = 0;
        if (flag) *flag = 0;
        CopyOut("", buffer, size);
        if (!State().company) return Error(ADK_ERR_NOT_OPEN, function);
        *variant = State().company->Variant();
        return CopyText(State().company->ProgramName(), buffer, size, function);
    });
}
}  // namespace

ADK_EXPORT AdkErrorRec AdkGetAdmSize(int32_t* variant, char* name, int32_t size) {
    return Variant(ADKF_GET_ADM_SIZE, "AdkGetAdmSize", variant, nullptr, name, size);
}

ADK_EXPORT AdkErrorRec AdkGetAdmSizeEx(int32_t* variant, char* name, int32_t size) {
    return Variant(ADKF_GET_ADM_SIZE_EX, "AdkGetAdmSizeEx", variant, nullptr, name, size);
}

ADK_EXPORT AdkErrorRec AdkGetVariant(const char* commonFiles, int32_t* variant, int32_t* flag, char* name,
                                     int32_t size) {
    return Variant(ADKF_GET_VARIANT, "AdkGetVariant", variant, flag, name, size);
}

ADK_EXPORT AdkErrorRec AdkGetVatpercentOnArticle(const char* article, double* percent) {
    return Call(ADKF_GET_VATPERCENT_ON_ARTICLE, "AdkGetVatpercentOnArticle", [&] {
        if (!article || !percent) return Error(ADK_ERR_BUFFER, ADKF_GET_VATPERCENT_ON_ARTICLE);
        *percent = 0;
        if (!State().company) return Error(ADK_ERR_NOT_OPEN, ADKF_GET_VATPERCENT_ON_ARTICLE);
        return Error(State().company->VatPercent(article, *percent), ADKF_GET_VATPERCENT_ON_ARTICLE, 1);
    });
}

ADK_EXPORT AdkErrorRec AdkGetCustomerPrice(const char* customer, const char* article, double quantity,
                                           uint8_t useInvoiceDiscount, uint8_t useRowDiscount,
                                           uint8_t includingVat, int32_t currency, double* price) {
    return Call(ADKF_GET_CUSTOMER_PRICE, "AdkGetCustomerPrice", [&] {
        if (!customer || !article || !price) return Error(ADK_ERR_BUFFER, ADKF_GET_CUSTOMER_PRICE);
        *price = 0;
        if (!State().company) return Error(ADK_ERR_NOT_OPEN, ADKF_GET_CUSTOMER_PRICE);
        return Error(State().company->CustomerPrice(customer, article, quantity, includingVat != 0, *price),
                     ADKF_GET_CUSTOMER_PRICE, 37);
    });
}

ADK_EXPORT AdkErrorRec AdkGetSie(int32_t, int32_t, int32_t, int32_t) {
    return Call(ADKF_GET_SIE, "AdkGetSie", [] { return Error(ADK_ERR_NOT_SUPPORTED, ADKF_GET_SIE); });
}

ADK_EXPORT AdkErrorRec AdkGetBookingYearId(int32_t, int32_t, int32_t) {
    return Call(ADKF_GET_BOOKING_YEAR_ID, "AdkGetBookingYearId",
                [] { return Error(ADK_ERR_NOT_SUPPORTED, ADKF_GET_BOOKING_YEAR_ID); });
}

ADK_EXPORT AdkErrorRec AdkGetTimestampField(AdkHandle data, int32_t* field) {
    return Call(ADKF_GET_TIMESTAMP_FIELD, "AdkGetTimestampField", [&] {
        if (!field) return Error(ADK_ERR_BUFFER, ADKF_GET_TIMESTAMP_FIELD);
        *field = -1;
        Record* r = RecordOf(data);
        if (!r) return Error(ADK_ERR_BAD_HANDLE, ADKF_GET_TIMESTAMP_FIELD);
        *field = r->table->stampField;
        return Ok(ADKF_GET_TIMESTAMP_FIELD);
    });
}

ADK_EXPORT AdkErrorRec AdkGetVersion(int32_t* major, int32_t* minor) {
    return Call(ADKF_GET_VERSION, "AdkGetVersion", [&] {
        if (!major || !minor) return Error(ADK_ERR_BUFFER, ADKF_GET_VERSION);
        // Major and minor as the product version reads them: 20.3.1 is "20.31".
        *major = ADK_VERSION_MAJOR;
        *minor = ADK_VERSION_MINOR * 10 + ADK_VERSION_RELEASE;
        return Ok(ADKF_GET_VERSION);
    });
}

// The stand-in's durability exports (kit/README.md "Durability"): the binder binds them where the
// kit has them and calls them where the system reports work done. Each is one step on the open
// company, whose kit code is the answer.
namespace {

template <typename Step>
AdkErrorRec CompanyStep(int32_t function, const char* name, Step step) {
    return Call(function, name, [&] {
        Company* c = State().company.get();
        if (!c) return Error(ADK_ERR_NOT_OPEN, function);
        if (int32_t rc = step(*c)) return Error(rc, function);
        return Ok(function);
    });
}

}  // namespace

ADK_EXPORT AdkErrorRec AdkHoldWrites(int32_t hold) {
    return CompanyStep(ADKF_HOLD_WRITES, "AdkHoldWrites", [&](Company& c) { return c.HoldWrites(hold != 0); });
}

ADK_EXPORT AdkErrorRec AdkCommit(void) {
    return CompanyStep(ADKF_COMMIT, "AdkCommit", [](Company& c) { return c.CommitHeld(); });
}

ADK_EXPORT AdkErrorRec AdkSync(void) {
    return CompanyStep(ADKF_SYNC, "AdkSync", [](Company& c) { return c.Sync(); });
}
