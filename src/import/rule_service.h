#pragma once
// What the order import asks of the plug-in host: after each imported order it sets the rule
// parameters (the order's numbers) and runs the post-processing rule its settings name. The plug-in
// host implements it; tests record the calls. A rule run's failure raises to the import.

#include <string>

namespace tv {

class IRuleService {
public:
    virtual ~IRuleService() = default;

    // Forgets the parameters collected for the next rule run.
    virtual void ClearRuleParams() = 0;
    // Adds one parameter for the next rule run; a key given twice is handed on twice.
    virtual void AddRuleParam(const std::string& aKey, const std::string& aValue) = 0;
    // Runs the named rule with the parameters collected.
    virtual void RunRule(const std::string& rulename) = 0;
};

}  // namespace tv
