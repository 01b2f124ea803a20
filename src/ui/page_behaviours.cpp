#include "ui/page_behaviours.h"

#include "core/main_dm.h"
#include "platform/data/client_data_set.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/db_lookup_controls.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

inline constexpr std::string_view kRuleNameField = "Rulename";
inline constexpr std::string_view kRuleChoiceTable = "CDSRegelUrvalVidOrderImporterad";

template <class C>
C& As(TControl& target, const TPageBehaviourDef& behaviour) {
    auto* control = dynamic_cast<C*>(&target);
    if (!control)
        throw Exception("The page behaviour " + behaviour.Id + " does not fit " + target.ClassName());
    return *control;
}

// The rule run after an order import: a lookup over the page's own copy of the rule table, taken
// once as the page is made, with an empty first row that stands for no rule. The copy is closed
// with the page.
void RuleChoice(TSettingsPage& page, TControl& target, const TPageControlDef*,
                const TPageBehaviourDef& behaviour) {
    auto& lookup = As<TDBLookupComboBox>(target, behaviour);
    auto* copy = new TClientDataSet(&page);
    copy->SetName(std::string(kRuleChoiceTable));
    copy->LoadFromBytes(page.DM().RuleTables().Rules().SaveToBytes());
    copy->First();
    copy->Insert();
    copy->FieldByName(kRuleNameField).SetAsString("");
    copy->Post();
    auto* source = new TDataSource(&page);
    source->SetDataSet(copy);
    lookup.SetListSource(source);
    lookup.SetKeyField(std::string(kRuleNameField));
    lookup.SetListField(std::string(kRuleNameField));
    page.AtDestroy([&lookup, copy] {
        lookup.SetListSource(nullptr);
        copy->Close();
    });
}

// A button that puts its table into edit state and writes the text shown by the control the
// argument names into its field, without posting: the change waits like any edit.
void CopyText(TSettingsPage& page, TControl& target, const TPageControlDef* control,
              const TPageBehaviourDef& behaviour) {
    auto& button = As<TButton>(target, behaviour);
    TControl* from = page.FindControl(behaviour.Argument);
    if (!control || control->Field.empty() || !from)
        throw Exception("The page behaviour copy-text needs a field and a control named " +
                        behaviour.Argument);
    TDataSet* table = page.SourceFor(control->Table).DataSet();
    const std::string field = control->Field;
    button.OnClick = [&button, table, field, from](TObject*) {
        try {
            table->Edit();
            table->FieldByName(field).SetAsString(from->Text());
        } catch (...) {
            Application().HandleException(&button);
        }
    };
}

constexpr TPageBehaviour kBehaviours[] = {
    {"rule-choice", RuleChoice},
    {"copy-text", CopyText},
};

}  // namespace

const TPageBehaviour* FindPageBehaviour(std::string_view id) {
    for (const auto& row : kBehaviours)
        if (row.Id == id) return &row;
    return nullptr;
}

}  // namespace tv
