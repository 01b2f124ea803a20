#pragma once
// The kit's table catalogue as the build generates it from kit/schema/company.schema: tables, their
// fields, primary keys and sort orders, with the SQL names the company database uses.

#include <cstdint>

namespace tv::kit {

// Field type codes as the kit reports them (AdkGetType).
enum class FieldType : uint8_t { Unused = 0, Bool = 1, Char = 2, Number = 3, Double = 4, Date = 5, Data = 6 };

struct FieldDef {
    int16_t no;
    const char* name;
    FieldType type;
    bool stamp;      // the table's time stamp (a date-time number on the API)
    int16_t length;  // characters of a text field
    int8_t decimals;
    bool readOnly;             // AdkIsReadWrite answers 0
    const char* column;        // SQL column; nullptr for a rows field
    const char* defaultValue;  // value of an unset field on Add, or nullptr
};

// A sort order: find matches the key fields that are set; records come in the order of `order`
// (keys, then the extra order fields, then the primary key).
enum class SortFilter : uint8_t { None, QuantityZero, QuantityNotZero };
struct SortDef {
    int16_t constant;
    const char* name;
    const int16_t* keys;
    uint8_t keyCount;
    const int16_t* order;
    uint8_t orderCount;
    int16_t filterField;
    SortFilter filter;
};

struct TableDef {
    int16_t no;
    const char* name;
    const char* sqlName;
    int16_t maxField;
    const FieldDef* fields;  // ascending field numbers; only the named fields
    uint16_t fieldCount;
    const int16_t* pk;
    uint8_t pkCount;
    bool numbering;
    int16_t stampField;  // -1: none
    bool stampUnix;      // stored as Unix seconds, else as 'yyyy-mm-dd hh:nn:ss'
    int16_t rowsTable;   // head tables: the rows table, its field and the row-count field
    int16_t rowsField;
    int16_t countField;
    int16_t parentTable;   // rows tables: the head table
    bool single;           // exactly one record
    bool range;            // a find leaves an equality range on its key fields
    const SortDef* sorts;  // the first is the default order
    uint16_t sortCount;
};

}  // namespace tv::kit
