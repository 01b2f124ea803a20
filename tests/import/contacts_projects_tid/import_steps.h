#pragma once
// Runs a job's import steps by name on an import world: "LoadXML <fixture below import/>", a check
// or an import operation. After the lines a step reports comes its outcome ("ImportContacts true",
// "CheckContacts raises: ...").

#include <map>
#include <string>
#include <vector>

#include "tests/import/check_pass/check_support.h"

namespace tv::test {

inline bool (TDMImport::*StepOperation(const std::string& name))() {
    static const std::map<std::string, bool (TDMImport::*)()> imports = {
        {"ImportCustomers", &TDMImport::ImportCustomers},
        {"ImportSuppliers", &TDMImport::ImportSuppliers},
        {"ImportContacts", &TDMImport::ImportContacts},
        {"ImportProjects", &TDMImport::ImportProjects},
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

}  // namespace tv::test
