#pragma once
// A job's calls, as the default import job makes them, on an import world: one table from each
// check and import operation's job-API name to the data module's operation, the order of the calls
// read from the job itself (tests/fixtures/script/jobs/default_import.pas), and the run of one file
// in that order, each call's outcome written after the lines it reported.
//
// An operation the job calls that the table does not hold yet is written down as "<name> waits"
// instead of being run: its kind's import is still being built. Adding a kind is its row here.

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "tests/import/contacts_projects_tid/import_steps.h"

namespace tv::test {

using TJobCall = bool (*)(TDMImport&);

struct TJobOperation {
    std::string_view Name;  // as the job API declares it
    TJobCall Call;
};

template <bool (TDMImport::*M)()>
bool Call(TDMImport& import) {
    return (import.*M)();
}

// Every check and import row of the job API that has its operation, by name. The purchase prices
// are imported as the default job calls them, failures not ignored.
inline constexpr std::array kJobOperations = {
    TJobOperation{"CheckCustomers", Call<&TDMImport::CheckCustomers>},
    TJobOperation{"CheckSuppliers", Call<&TDMImport::CheckSuppliers>},
    TJobOperation{"CheckArticles", Call<&TDMImport::CheckArticles>},
    TJobOperation{"CheckContacts", Call<&TDMImport::CheckContacts>},
    TJobOperation{"CheckProjects", Call<&TDMImport::CheckProjects>},
    TJobOperation{"CheckPurchasePrices", Call<&TDMImport::CheckPurchasePrices>},
    TJobOperation{"CheckSalesPrices", Call<&TDMImport::CheckSalesPrices>},
    TJobOperation{"CheckOrders", Call<&TDMImport::CheckOrders>},
    TJobOperation{"CheckOffers", Call<&TDMImport::CheckOffers>},
    TJobOperation{"CheckInvoices", Call<&TDMImport::CheckInvoices>},
    TJobOperation{"CheckAgreements", Call<&TDMImport::CheckAgreements>},
    TJobOperation{"CheckCustomerPayments", Call<&TDMImport::CheckCustomerPayments>},
    TJobOperation{"CheckBest", Call<&TDMImport::CheckBest>},
    TJobOperation{"CheckSupplierInvoices", Call<&TDMImport::CheckSupplierInvoices>},
    TJobOperation{"CheckDeliveryNotes", Call<&TDMImport::CheckDeliveryNotes>},
    TJobOperation{"CheckManualDeliveryIn", Call<&TDMImport::CheckManualDeliveryIn>},
    TJobOperation{"CheckManualDeliveryOut", Call<&TDMImport::CheckManualDeliveryOut>},
    TJobOperation{"ImportCustomers", Call<&TDMImport::ImportCustomers>},
    TJobOperation{"ImportSuppliers", Call<&TDMImport::ImportSuppliers>},
    TJobOperation{"ImportArticles", Call<&TDMImport::ImportArticles>},
    TJobOperation{"ImportAuxillary", Call<&TDMImport::ImportAuxillary>},
    TJobOperation{"ImportContacts", Call<&TDMImport::ImportContacts>},
    TJobOperation{"ImportProjects", Call<&TDMImport::ImportProjects>},
    TJobOperation{"ImportPurchasePrices", Call<&TDMImport::ImportPurchasePrices>},
    TJobOperation{"ImportPurchasePrices2", [](TDMImport& import) { return import.ImportPurchasePrices2(false); }},
    TJobOperation{"ImportSalesPrices", Call<&TDMImport::ImportSalesPrices>},
    TJobOperation{"ImportOrders", Call<&TDMImport::ImportOrders>},
    TJobOperation{"ImportOffers", Call<&TDMImport::ImportOffers>},
    TJobOperation{"ImportInvoices", Call<&TDMImport::ImportInvoices>},
    TJobOperation{"ImportAgreements", Call<&TDMImport::ImportAgreements>},
    TJobOperation{"ImportCustomerPayments", Call<&TDMImport::ImportCustomerPayments>},
    TJobOperation{"ImportBest", Call<&TDMImport::ImportBest>},
    TJobOperation{"ImportSupplierInvoices", Call<&TDMImport::ImportSupplierInvoices>},
    TJobOperation{"ImportDeliveryNotes", Call<&TDMImport::ImportDeliveryNotes>},
    TJobOperation{"ImportManualDeliveryIn", Call<&TDMImport::ImportManualDeliveryIn>},
    TJobOperation{"ImportManualDeliveryOut", Call<&TDMImport::ImportManualDeliveryOut>},
    TJobOperation{"CustomImportOrderAvstamning", Call<&TDMImport::CustomImportOrderAvstamning>},
    TJobOperation{"TID_CheckCustomers", Call<&TDMImport::TID_CheckCustomers>},
    TJobOperation{"TID_ImportCustomers", Call<&TDMImport::TID_ImportCustomers>},
};

inline const TJobOperation* FindJobOperation(std::string_view name) {
    for (const TJobOperation& operation : kJobOperations)
        if (operation.Name == name) return &operation;
    return nullptr;
}

// The checks and imports the default import job calls for each file, in its order, then the copy
// of the file's customers into the time-reporting system that a job with it switched on adds.
inline const std::vector<std::string>& JobOrder() {
    static const std::vector<std::string> order = [] {
        const std::string job = FixtureText("script/jobs/default_import.pas");
        std::vector<std::string> names, own;  // the job's own functions are not calls of the module
        auto isNameChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
        for (size_t at = 0; at < job.size();) {
            if (!isNameChar(job[at])) {
                ++at;
                continue;
            }
            size_t end = at;
            while (end < job.size() && isNameChar(job[end])) ++end;
            const std::string name = job.substr(at, end - at);
            const bool isCall = end < job.size() && job[end] == '(';
            if (name == "function") {
                while (end < job.size() && !isNameChar(job[end])) ++end;
                size_t nameEnd = end;
                while (nameEnd < job.size() && isNameChar(job[nameEnd])) ++nameEnd;
                own.push_back(job.substr(end, nameEnd - end));
                end = nameEnd;
            } else if (isCall && (name.starts_with("Check") || name.starts_with("Import")) &&
                       std::find(own.begin(), own.end(), name) == own.end()) {
                names.push_back(name);
            }
            at = end;
        }
        names.insert(names.end(), {"TID_CheckCustomers", "TID_ImportCustomers"});
        return names;
    }();
    return order;
}

// Runs the calls named, each after the one before whatever it answered (as a job that goes on
// does), and writes each outcome after its lines: "ImportOrders true", "CheckCustomers raises: ...",
// "ImportInvoices waits".
inline void RunCalls(TImportWorld& world, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const TJobOperation* operation = FindJobOperation(name);
        std::string outcome = " waits";
        if (operation) {
            try {
                outcome = operation->Call(world.Import()) ? " true" : " false";
            } catch (const std::exception& e) {
                outcome = std::string(" raises: ") + e.what();
            }
        }
        world.Events().Lines.push_back(name + outcome);
    }
}

// One file of a job: LoadXML of the fixture (below tests/fixtures/import/), then the job's order.
inline void RunFile(TImportWorld& world, const std::string& fixture) {
    const bool loaded = world.Import().LoadXML(FixturePath("import/" + fixture));
    world.Events().Lines.push_back(std::string("LoadXML ") + (loaded ? "true" : "false"));
    RunCalls(world, JobOrder());
}

}  // namespace tv::test
