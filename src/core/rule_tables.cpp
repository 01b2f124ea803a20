#include "core/rule_tables.h"

#include "core/app_logger.h"
#include "core/settings_tables.h"

namespace tv {
namespace {
constexpr std::string_view kRulesTable = "Rules";
constexpr std::string_view kRuleItemsTable = "RuleItems";
constexpr std::string_view kRelinkFailed = "RuleItems could not be linked to Rules again";
}  // namespace

TRuleTables::TRuleTables(TComponent* owner, const TSettingsSchema& schema)
    : TComponent(owner),
      rulesDef_(schema.Table(kRulesTable)),
      ruleItemsDef_(schema.Table(kRuleItemsTable)),
      rules_(CreateSettingsDataSet(rulesDef_, this)),
      ruleItems_(CreateSettingsDataSet(ruleItemsDef_, this)),
      dsRules_(new TDataSource(this)) {
    dsRules_->SetName("DSRules");
    dsRules_->SetDataSet(rules_);
    LinkItems();
}

void TRuleTables::LinkItems() {
    ruleItems_->SetMasterSource(dsRules_);
    ruleItems_->SetMasterFields(ruleItemsDef_.MasterField);
}

TRuleTables::TAllItems::TAllItems(TRuleTables& tables) : tables_(tables) {
    tables_.ruleItems_->SetMasterSource(nullptr);
}

TRuleTables::TAllItems::~TAllItems() {
    try {
        tables_.LinkItems();
    } catch (const std::exception& e) {
        AppLogger().LogError(kRelinkFailed, e);
    }
}

}  // namespace tv
