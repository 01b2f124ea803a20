#pragma once
// The rule tables of the plug-in host, made from the settings schema: `Rules` and its detail
// `RuleItems`, which shows the items of the current rule in their order. The settings store loads
// and saves them as "rules.txt" and "ruleitems.txt"; the plug-in host works on them.

#include "core/settings_schema.h"
#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/rtl/component.h"

namespace tv {

class TRuleTables : public TComponent {
public:
    explicit TRuleTables(TComponent* owner = nullptr, const TSettingsSchema& schema = SettingsSchema());

    TClientDataSet& Rules() const { return *rules_; }
    TClientDataSet& RuleItems() const { return *ruleItems_; }
    TDataSource& DSRules() const { return *dsRules_; }
    const TSettingsTableDef& RulesDef() const { return rulesDef_; }
    const TSettingsTableDef& RuleItemsDef() const { return ruleItemsDef_; }

    // While one lives, RuleItems shows every item of every rule; the link to Rules comes back when
    // it goes, also after a failure.
    class TAllItems {
    public:
        explicit TAllItems(TRuleTables& tables);
        ~TAllItems();
        TAllItems(const TAllItems&) = delete;
        TAllItems& operator=(const TAllItems&) = delete;

    private:
        TRuleTables& tables_;
    };

private:
    void LinkItems();

    const TSettingsTableDef& rulesDef_;
    const TSettingsTableDef& ruleItemsDef_;
    TClientDataSet* rules_;
    TClientDataSet* ruleItems_;
    TDataSource* dsRules_;
};

}  // namespace tv
