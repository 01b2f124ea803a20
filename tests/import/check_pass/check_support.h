#pragma once
// Runs checks by name on a loaded file and writes down, in the event lines, each check's result
// ("CheckOrders true") or the error it let through ("CheckCustomers raises: ..."); dumps the
// registries as lines: registry, key in quotes, option in brackets, " = number" when one is stored.

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/import/import_world.h"

namespace tv::test {

inline const std::map<std::string, bool (TDMImport::*)()>& CheckOperations() {
    static const std::map<std::string, bool (TDMImport::*)()> checks = {
        {"CheckCustomers", &TDMImport::CheckCustomers},
        {"CheckSuppliers", &TDMImport::CheckSuppliers},
        {"CheckArticles", &TDMImport::CheckArticles},
        {"CheckContacts", &TDMImport::CheckContacts},
        {"CheckProjects", &TDMImport::CheckProjects},
        {"CheckBest", &TDMImport::CheckBest},
        {"CheckManualDeliveryIn", &TDMImport::CheckManualDeliveryIn},
        {"CheckManualDeliveryOut", &TDMImport::CheckManualDeliveryOut},
        {"CheckOrders", &TDMImport::CheckOrders},
        {"CheckOffers", &TDMImport::CheckOffers},
        {"CheckInvoices", &TDMImport::CheckInvoices},
        {"CheckAgreements", &TDMImport::CheckAgreements},
        {"CheckSalesPrices", &TDMImport::CheckSalesPrices},
        {"CheckPurchasePrices", &TDMImport::CheckPurchasePrices},
        {"CheckCustomerPayments", &TDMImport::CheckCustomerPayments},
        {"CheckDeliveryNotes", &TDMImport::CheckDeliveryNotes},
        {"CheckSupplierInvoices", &TDMImport::CheckSupplierInvoices},
        {"CheckAuxillary", &TDMImport::CheckAuxillary},
        {"CheckInventory", &TDMImport::CheckInventory},
    };
    return checks;
}

inline void RunChecks(TImportWorld& world, const std::vector<std::string>& checks) {
    for (const std::string& name : checks) {
        std::string outcome;
        try {
            outcome = (world.Import().*CheckOperations().at(name))() ? " true" : " false";
        } catch (const std::exception& e) {
            outcome = std::string(" raises: ") + e.what();
        }
        world.Events().Lines.push_back(name + outcome);
    }
}

inline std::string RecordLine(const std::string& registry, const TKeyRecord& record) {
    std::string line = registry + " \"" + record.KEY_KEY_VALUE + "\" [" + record.KEY_OPTION + "]";
    if (!record.KEY_VALUE_IN_VISMA.empty()) line += " = " + record.KEY_VALUE_IN_VISMA;
    return line;
}

inline std::vector<std::string> RegistryLines(TDMImport& import) {
    std::vector<std::string> lines;
    for (const TKeyRegistry* registry :
         {&import.ValidCustomerKyes, &import.ValidArticleKeys, &import.ValidSuppliers,
          &import.ValidInvoiceKeys, &import.ValidOrderKeys, &import.ValidAgreementKeys,
          &import.ValidOfferKeys})
        for (const TKeyRecord& record : registry->Records())
            lines.push_back(RecordLine(registry->Name(), record));
    for (const TKeyRecord& record : import.KeyHelper().ValidKeys())
        lines.push_back(RecordLine("ValidKeys " + record.KEY_TYPE, record));
    return lines;
}

// The lines of a hand-written expectation: one per line, leading blanks kept, empty lines dropped.
inline std::vector<std::string> Lines(const char* text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
    return lines;
}

}  // namespace tv::test
