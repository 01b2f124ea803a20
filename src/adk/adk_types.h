#pragma once
// Small enumerations and sets of the kit access layer: the program variants, program settings,
// behaviour settings, activated modules and currencies of a company.

#include <cstdint>

#include "platform/rtl/enum_set.h"

namespace tv {

// The program variant of a company; the ordinal is the variant number the kit reports.
enum TAdkProgram { apUnknown, apAdmin2000, apAdmin1000, apAdmin500, apForening };
TV_ENUM_INFO(TAdkProgram, "apUnknown", "apAdmin2000", "apAdmin1000", "apAdmin500", "apForening");

// Optional article and tax fields the datasets use.
enum TAdkProgramSetting { piArtikelStreckkod, piOmvandByggSkatt };
TV_ENUM_INFO(TAdkProgramSetting, "piArtikelStreckkod", "piOmvandByggSkatt");
using TAdkProgramSettings = TSet<TAdkProgramSetting>;

// Kit error groups that reading datasets tolerate.
enum TAdkBehaviourSetting { bsBarCode, bsTaxReduction, bsCurrencyAndLanguage, bsBuildService };
TV_ENUM_INFO(TAdkBehaviourSetting, "bsBarCode", "bsTaxReduction", "bsCurrencyAndLanguage", "bsBuildService");
using TAdkBehaviourSettings = TSet<TAdkBehaviourSetting>;

// Kit codes the datasets give a meaning: reading tolerates 209, 210, 379 and 522 by the behaviour
// settings and the active modules, 488 and 523 always; reading and writing pass 488 over like a
// refused date; 107 ends a walk like the end of the table.
inline constexpr int32_t kCurrencyAndLanguage = 209, kBarCode = 210, kBuildService = 379,
                         kIgnoredAlways1 = 488, kTaxReduction = 522, kIgnoredAlways2 = 523,
                         kNoMoreRecords = 107;

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
TV_ENUM_INFO(TAdminActiveModule, "amBarcode", "amTaxReduction", "amQuantityAccounting", "amTransactionInfo",
             "amSubAccounts", "amDefaultSupInvAttest", "amVerificationSeries", "amPriceFourDecimals");
using TAdminActivatedModules = TSet<TAdminActiveModule>;

// The currency a customer price is asked in.
enum TAdkCurrency { acCustomer, acDomestic, acResultingCurrency };
TV_ENUM_INFO(TAdkCurrency, "acCustomer", "acDomestic", "acResultingCurrency");

}  // namespace tv
