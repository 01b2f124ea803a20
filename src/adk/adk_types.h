#pragma once
// Small enumerations and sets of the kit access layer: the program variants, program settings,
// behaviour settings, activated modules and currencies of a company, with a bit-set type for sets.

#include <cstdint>
#include <initializer_list>

namespace tv {

// A set of the values of a small enumeration (ordinals 0 to 63), as the class library's set types.
template <typename E>
class TEnumSet {
public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E v : values) Include(v);
    }
    constexpr bool Contains(E v) const { return (bits_ >> static_cast<unsigned>(v)) & 1u; }
    constexpr void Include(E v) { bits_ |= uint64_t{1} << static_cast<unsigned>(v); }
    constexpr void Exclude(E v) { bits_ &= ~(uint64_t{1} << static_cast<unsigned>(v)); }
    constexpr void Clear() { bits_ = 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const TEnumSet&) const = default;

private:
    uint64_t bits_ = 0;
};

// The program variant of a company; the ordinal is the variant number the kit reports.
enum TAdkProgram { apUnknown, apAdmin2000, apAdmin1000, apAdmin500, apForening };

// Optional article and tax fields the datasets use.
enum TAdkProgramSetting { piArtikelStreckkod, piOmvandByggSkatt };
using TAdkProgramSettings = TEnumSet<TAdkProgramSetting>;

// Kit error groups that reading datasets tolerate.
enum TAdkBehaviourSetting { bsBarCode, bsTaxReduction, bsCurrencyAndLanguage, bsBuildService };
using TAdkBehaviourSettings = TEnumSet<TAdkBehaviourSetting>;

// Modules a company can have activated in the business system.
enum TAdminActiveModule {
    amBarcode,
    amTaxReduction,
    amQuantityAccounting,
    amTransactionInfo,
    amSubAccounts,
    amDefaultSupInvAttest,
    amVerificationSeries,
    amPriceFourDecimals
};
using TAdminActivatedModules = TEnumSet<TAdminActiveModule>;

// The currency a customer price is asked in.
enum TAdkCurrency { acCustomer, acDomestic, acResultingCurrency };

}  // namespace tv
