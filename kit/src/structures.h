#pragma once
// The kit's structures and the registry of the handles it gives out. A record structure holds one
// record of a table: a value and a "set" mark per field, the sort order, filters, the cursor of the
// last record read and, for a head, its rows. A rows block is what AdkCreateDataRow makes: empty
// rows that are filled and linked into a head with AdkSetData. Handles are numbers that are never
// given out twice, so a freed handle cannot reach a later structure.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "kit/adk_abi.h"
#include "schema_types.h"

namespace tv::kit {

struct Value {
    bool isNull = true;
    bool flag = false;
    double number = 0;
    int32_t date = 0;  // a date number, or a date-time number for a time stamp
    std::string text;  // Windows-1252
};

// A value as the company database compares it (see sql_expr.h): folded text, number or integer.
struct KeyValue {
    enum Kind : uint8_t { Int, Real, Text } kind = Int;
    int64_t i = 0;
    double d = 0;
    std::string s;
};

struct Condition {
    int field;
    KeyValue key;
};

struct Record {
    explicit Record(const TableDef& t);
    void ClearValues();  // values, marks and rows
    bool AnySet() const;

    const TableDef* table;
    std::vector<Value> values;  // by field number, 0..max
    std::vector<uint8_t> set;   // the caller wrote the field since the last load or reset
    std::vector<std::unique_ptr<Record>> rows;
    bool rowsDirty = false;
    uintptr_t handle = 0;  // 0 until handed out

    const SortDef* sort = nullptr;
    std::vector<Condition> filters;
    std::vector<Condition> range;
    bool hasCursor = false;
    int64_t cursorRowid = 0;
    const SortDef* cursorSort = nullptr;
    std::vector<KeyValue> cursorKeys;  // the order keys of the cursor record under cursorSort
    bool loaded = false;               // values hold a stored record
};

struct RowsBlock {
    const TableDef* table;
    std::vector<std::unique_ptr<Record>> rows;
    uintptr_t handle = 0;
};

class Handles {
public:
    AdkHandle Adopt(std::unique_ptr<Record> record);
    AdkHandle Adopt(std::unique_ptr<RowsBlock> rows);
    // A handle for a row that a head or rows block owns (the same handle on every call).
    AdkHandle Borrow(Record& row);

    Record* FindRecord(AdkHandle h) const;
    RowsBlock* FindRows(AdkHandle h) const;
    bool Owns(AdkHandle h) const;  // a structure the caller made (not a borrowed row)

    // Frees a structure the caller owns, with the handles of its rows.
    bool Free(AdkHandle h);
    // Forgets the borrowed handles of rows that are about to be dropped.
    void ForgetRows(const std::vector<std::unique_ptr<Record>>& rows);
    void Clear();

private:
    struct Entry {
        Record* record = nullptr;
        RowsBlock* rows = nullptr;
        bool owned = false;
    };
    uintptr_t Next();

    uintptr_t next_ = 0x10000;
    std::unordered_map<uintptr_t, Entry> entries_;
    std::unordered_map<uintptr_t, std::unique_ptr<Record>> records_;
    std::unordered_map<uintptr_t, std::unique_ptr<RowsBlock>> blocks_;
};

}  // namespace tv::kit
