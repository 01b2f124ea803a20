#pragma once
// The typed key registry of the import (ValidKeys): keys of contacts, purchase orders, manual stock
// documents, projects, suppliers and price lists, each registered once per key type, with the
// option the check stored and the number the import found or wrote. Keys are stored in small
// letters and found without regard to case.

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "import/key_registry.h"
#include "platform/rtl/exception.h"

namespace tv {

enum TKnownKeyType : int {
    TKnownKey_Contacts,
    TKnownKey_Booking,
    TKnownKey_ManualDeliveryIn,
    TKnownKey_ManualDeliveryOut,
    TKnownKey_Project,
    TKnownKey_Supplier,
    TKnownKey_Artnr,
    TKnownKey_Pricelist
};

TV_DECLARE_EXCEPTION(EImportError, Exception);

// Raised when a key that should be registered is not: "Hittade inte nyckeln [" + key + "] när den
// skulle uppdateras med vismanr".
inline constexpr std::string_view kKeyNotRegisteredBefore = "Hittade inte nyckeln [";
inline constexpr std::string_view kKeyNotRegisteredAfter = "] när den skulle uppdateras med vismanr";
[[noreturn]] void RaiseKeyNotRegistered(std::string_view key);

class TKeyHelperDM {
public:
    TKeyHelperDM() = default;
    TKeyHelperDM(const TKeyHelperDM&) = delete;
    TKeyHelperDM& operator=(const TKeyHelperDM&) = delete;

    // Marks a key already registered under the type as in the tree (its option stays); otherwise
    // appends it in small letters, untrimmed, with the option as given.
    void AddKnownKey(TKnownKeyType key_type, std::string_view str, std::string_view optionStr);
    void Clear();
    bool FindKnownKey(std::string_view aKey, TKnownKeyType key_type) const;
    // These three raise the not-registered error for a key the type does not hold.
    std::string GetOptionFor(std::string_view aKey, TKnownKeyType key_type) const;
    std::string GetVismaValue(std::string_view aKey, TKnownKeyType key_type) const;
    void SetKnowVismaKeyValue(std::string_view aKey, std::string_view aValue, TKnownKeyType key_type);

    // ValidKeys in the order registered.
    const std::deque<TKeyRecord>& ValidKeys() const { return records_; }

private:
    const TKeyRecord* Find(std::string_view aKey, TKnownKeyType key_type) const;
    const TKeyRecord& Get(std::string_view aKey, TKnownKeyType key_type) const;

    std::deque<TKeyRecord> records_;
    std::map<std::pair<int, std::string>, size_t, std::less<>> index_;
};

}  // namespace tv
