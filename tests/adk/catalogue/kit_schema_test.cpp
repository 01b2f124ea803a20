// The catalogue against the kit's own schema: the same table numbers and field ranges, the same
// sort constants, and every key field a find or a write-back fills inside its table.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "adk/adk_catalogue.h"

namespace tv {
namespace {

struct SchemaSort {
    int constant;
    std::vector<int> keys;  // empty: "-"
};
struct SchemaTable {
    int kitTable = -1;
    int highestField = -1;
    std::map<std::string, SchemaSort> sorts;
};

std::vector<int> KeyList(const std::string& text) {
    std::vector<int> keys;
    if (text == "-") return keys;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');) keys.push_back(std::stoi(part));
    return keys;
}

std::map<std::string, SchemaTable> ReadSchema() {
    std::ifstream in(std::string(TV_SOURCE_DIR) + "/kit/schema/company.schema");
    std::map<std::string, SchemaTable> tables;
    SchemaTable* current = nullptr;
    for (std::string line; std::getline(in, line);) {
        std::stringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "table") {
            SchemaTable t;
            std::string name, sql;
            words >> t.kitTable >> name >> sql >> t.highestField;
            current = &(tables[name] = t);
        } else if (kind == "sort" && current) {
            SchemaSort s;
            std::string order, keys;
            words >> s.constant >> order >> keys;
            s.keys = KeyList(keys);
            current->sorts[order] = s;
        }
    }
    return tables;
}

class CatalogueAgainstKitSchema : public ::testing::Test {
protected:
    static void SetUpTestSuite() { schema_ = new auto(ReadSchema()); }
    static void TearDownTestSuite() { delete schema_; }
    static std::map<std::string, SchemaTable>* schema_;
};
std::map<std::string, SchemaTable>* CatalogueAgainstKitSchema::schema_ = nullptr;

TEST_F(CatalogueAgainstKitSchema, EveryTableHasTheSameNumberAndFields) {
    ASSERT_EQ(schema_->size(), size_t(kAdkTableCount - 1));  // every table but atIngen
    for (int t = 1; t < kAdkTableCount; ++t) {
        auto table = TAdkTable(t);
        std::string name(AdkTableName(table));
        ASSERT_TRUE(schema_->count(name)) << name;
        EXPECT_EQ(schema_->at(name).kitTable, GetAdkTableIndex(table)) << name;
        EXPECT_EQ(schema_->at(name).highestField, GetMaxAdkFieldIndex(table)) << name;
    }
}

TEST_F(CatalogueAgainstKitSchema, EverySortOrderIsKnownToTheKitWithItsConstantAndKeysInsideTheTable) {
    for (int t = 1; t < kAdkTableCount; ++t) {
        auto table = TAdkTable(t);
        const SchemaTable& kit = schema_->at(std::string(AdkTableName(table)));
        for (TAdkSortOrder order : GetValidSortOrders(table)) {
            std::string name(AdkSortOrderName(order));
            auto sort = kit.sorts.find(name);
            ASSERT_NE(sort, kit.sorts.end()) << AdkTableName(table) << " " << name;
            EXPECT_EQ(sort->second.constant, GetAdkSortOrderIndex(order))
                << AdkTableName(table) << " " << name;
            for (int field : GetSortKeyFields(table, order))
                EXPECT_LE(field, kit.highestField) << AdkTableName(table) << " " << name;
            // The field a find fills is one the kit's index matches on.
            int key = GetSortKeyField(table, order);
            if (key >= 0 && !sort->second.keys.empty()) {
                EXPECT_NE(std::find(sort->second.keys.begin(), sort->second.keys.end(), key),
                          sort->second.keys.end())
                    << AdkTableName(table) << " " << name;
            }
        }
    }
}

}  // namespace
}  // namespace tv
