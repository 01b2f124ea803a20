#pragma once
// Runs a job's import steps by name on an import world: "LoadXML <fixture below import/>", a check
// or an import operation. After the lines a step reports comes its outcome ("ImportContacts true",
// "TID_CheckCustomers raises: ..."). The time-reporting world adds a time-reporting database, a
// SQLite file seeded from the fixture "import/tid.sql", switched on with the default user 42.

#include <map>
#include <string>
#include <vector>

#include "tests/import/check_pass/check_support.h"

namespace tv::test {

inline bool (TDMImport::*StepOperation(const std::string& name))() {
    static const std::map<std::string, bool (TDMImport::*)()> imports = {
        {"ImportCustomers", &TDMImport::ImportCustomers},
        {"ImportSuppliers", &TDMImport::ImportSuppliers},
        {"ImportArticles", &TDMImport::ImportArticles},
        {"ImportOrders", &TDMImport::ImportOrders},
        {"ImportOffers", &TDMImport::ImportOffers},
        {"CustomImportOrderAvstamning", &TDMImport::CustomImportOrderAvstamning},
        {"ImportContacts", &TDMImport::ImportContacts},
        {"ImportProjects", &TDMImport::ImportProjects},
        {"TID_CheckCustomers", &TDMImport::TID_CheckCustomers},
        {"TID_ImportCustomers", &TDMImport::TID_ImportCustomers},
        {"ImportInvoices", &TDMImport::ImportInvoices},
        {"ImportAgreements", &TDMImport::ImportAgreements},
        {"ImportCustomerPayments", &TDMImport::ImportCustomerPayments},
    };
    auto it = imports.find(name);
    return it != imports.end() ? it->second : CheckOperations().at(name);
}

inline void RunSteps(TImportWorld& world, const std::vector<std::string>& steps) {
    static constexpr std::string_view kLoad = "LoadXML ";
    for (const std::string& step : steps) {
        std::string outcome;
        try {
            const bool result =
                step.starts_with(kLoad)
                    ? world.Import().LoadXML(FixturePath("import/" + step.substr(kLoad.size())))
                    : (world.Import().*StepOperation(step))();
            outcome = result ? " true" : " false";
        } catch (const std::exception& e) {
            outcome = std::string(" raises: ") + e.what();
        }
        world.Events().Lines.push_back(step + outcome);
    }
}

class TTidWorld : public TImportWorld {
public:
    // The demo company with the statements of `companySeed`; the time-reporting database with
    // those of `tidSeed` after the fixture's.
    explicit TTidWorld(const std::string& companySeed = "", const std::string& tidSeed = "")
        : TImportWorld({"kit/demo_company.sql"}, "", companySeed) {
        Set("CDSTidPrefs", "TIDDBServer", Dir().Write("tid/tid.sqlite", ""));
        Set("CDSTidPrefs", "TIDDBName", "TID");
        Set("CDSTidPrefs", "TIDActivated", "True");
        Set("CDSTidPrefs", "TIDDefaultUserId", "42");
        Open();
        MainDM().connectVismaTid(false);
        TADOQuery seed;
        seed.SetConnection(&Tid());
        seed.SQL().SetText(FixtureText("import/tid.sql") + tidSeed);
        seed.ExecSQL();
    }

    TADOConnection& Tid() { return MainDM().VismaTidConnection(); }
};

}  // namespace tv::test
