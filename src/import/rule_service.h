#pragma once
// What the import asks of the plug-in host: a rule run after a written document, with parameters
// collected for it. The host hands the parameters to the rule's plug-ins; a rule it does not know or
// a plug-in it cannot find raises, and the error reaches the import.

#include <string_view>

namespace tv {

class IRuleService {
public:
    virtual ~IRuleService() = default;
    // Empties the parameters the next rule run hands to its plug-ins.
    virtual void ClearRuleParams() = 0;
    // Adds one parameter; a key given twice is added twice.
    virtual void AddRuleParam(std::string_view aKey, std::string_view aValue) = 0;
    // Runs the named rule with the parameters collected.
    virtual void RunRule(std::string_view rulename) = 0;
};

}  // namespace tv
