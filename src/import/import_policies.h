#pragma once
// The policies every import operation shares: reading its settings, the option of an item, and
// what to do with an item whose record exists or is missing in the business system.

#include <string>
#include <string_view>

namespace tv {

class TDataSet;

inline constexpr std::string_view kOptionAutoCreate = "autocreate";
inline constexpr std::string_view kOptionNoEdit = "noedit";
inline constexpr std::string_view kOptionEdit = "edit";

inline constexpr std::string_view kInvalidChoice = "Ogiltligt alternativ";

// An integer setting of a per-kind table: an empty value reads 0. Raises when the table has no
// such field or its value is not an integer.
int ReadIntegerSetting(const TDataSet& table, std::string_view field);
// An integer setting that must hold a value: an empty one is a conversion error.
int ReadRequiredIntegerSetting(const TDataSet& table, std::string_view field);
// A text setting (a statement of the SQL search), as stored.
std::string ReadTextSetting(const TDataSet& table, std::string_view field);

enum class TExistenceAction { GoOn, Skip };

// The existence setting that applies to an item: 0 goes on (change the record found, create the
// one missing), 1 skips the item, 2 raises `failText` followed by the key, any other value raises
// "Ogiltligt alternativ".
TExistenceAction ApplyExistencePolicy(int setting, std::string_view failText, std::string_view key);

}  // namespace tv
