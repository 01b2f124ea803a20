#include "catalogue.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "kit_catalogue.inc"

namespace tv::kit {
namespace {

struct Index {
    std::array<const TableDef*, 128> byNumber{};
    std::vector<const TableDef*> all;
    // fields[table no][field no]
    std::vector<std::vector<const FieldDef*>> fields;
};

const Index& TheIndex() {
    static const std::unique_ptr<Index> index = [] {
        auto ix = std::make_unique<Index>();
        ix->fields.resize(ix->byNumber.size());
        for (const TableDef& t : generated::kTables) {
            ix->byNumber[static_cast<size_t>(t.no)] = &t;
            ix->all.push_back(&t);
            auto& f = ix->fields[static_cast<size_t>(t.no)];
            f.assign(static_cast<size_t>(t.maxField) + 1, nullptr);
            for (uint16_t i = 0; i < t.fieldCount; ++i) f[static_cast<size_t>(t.fields[i].no)] = &t.fields[i];
        }
        return ix;
    }();
    return *index;
}

}  // namespace

const TableDef* FindTable(int no) {
    const Index& ix = TheIndex();
    if (no < 0 || static_cast<size_t>(no) >= ix.byNumber.size()) return nullptr;
    return ix.byNumber[static_cast<size_t>(no)];
}

const FieldDef* FindField(const TableDef& table, int no) {
    if (no < 0 || no > table.maxField) return nullptr;
    return TheIndex().fields[static_cast<size_t>(table.no)][static_cast<size_t>(no)];
}

const SortDef* FindSort(const TableDef& table, int constant) {
    for (uint16_t i = 0; i < table.sortCount; ++i)
        if (table.sorts[i].constant == constant) return &table.sorts[i];
    return nullptr;
}

const SortDef* DefaultSort(const TableDef& table) {
    return table.sortCount ? &table.sorts[0] : nullptr;
}

const std::vector<const TableDef*>& AllTables() {
    return TheIndex().all;
}

const char* CompanyDdl() {
    return generated::kCompanyDdl;
}

KeyKind KeyKindOf(const TableDef& table, const FieldDef& field) {
    switch (field.type) {
        case FieldType::Char:
            return KeyKind::Text;
        case FieldType::Bool:
            return KeyKind::Flag;
        case FieldType::Date:
            return field.stamp && table.stampUnix ? KeyKind::StampNumber : KeyKind::DateText;
        default:
            return KeyKind::Number;
    }
}

bool IsKeyField(const TableDef& table, int no) {
    return std::find(table.pk, table.pk + table.pkCount, no) != table.pk + table.pkCount;
}

std::string KeyExpressionOf(const TableDef& table, const FieldDef& field) {
    return KeyExpression(field.column, KeyKindOf(table, field), IsKeyField(table, field.no));
}

}  // namespace tv::kit
