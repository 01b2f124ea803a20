#include "ui/page_behaviours.h"

#include <algorithm>

#include "core/main_dm.h"
#include "platform/data/client_data_set.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/rtl/number_text.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

inline constexpr std::string_view kRuleNameField = "Rulename";
inline constexpr std::string_view kRuleChoiceTable = "CDSRegelUrvalVidOrderImporterad";
inline constexpr std::string_view kChoiceValueField = "Value";
inline constexpr std::string_view kChoiceNameField = "Name";
inline constexpr int kChoiceTextSize = 40;

// The rule run after an order import: a lookup over the page's own copy of the rule table, taken
// once as the page is made, with an empty first row that stands for no rule. The copy is closed
// with the page.
void RuleChoice(TSettingsPage& page, TControl& target, const TPageControlDef*,
                const TPageBehaviourDef& behaviour) {
    auto& lookup = BehaviourTarget<TDBLookupComboBox>(target, behaviour);
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
    auto& button = BehaviourTarget<TButton>(target, behaviour);
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

// A lookup over the page's own list table, named by the argument and made from the control's
// choices: the key field "Value" (a number when every value is one) stores, the field "Name" shows.
void ChoiceList(TSettingsPage& page, TControl& target, const TPageControlDef* control,
                const TPageBehaviourDef& behaviour) {
    auto& lookup = BehaviourTarget<TDBLookupComboBox>(target, behaviour);
    if (!control || control->Choices.empty() || behaviour.Argument.empty())
        throw Exception("The page behaviour choice-list needs choices and the name of its table");
    const bool numbers =
        std::all_of(control->Choices.begin(), control->Choices.end(), [](const auto& choice) {
            int32_t number = 0;
            return TryStrToInt(choice.Value, number);
        });
    auto* list = new TClientDataSet(&page);
    list->SetName(behaviour.Argument);
    list->FieldDefs().Add(std::string(kChoiceValueField),
                          numbers ? TFieldType::ftInteger : TFieldType::ftString,
                          numbers ? 0 : kChoiceTextSize);
    list->FieldDefs().Add(std::string(kChoiceNameField), TFieldType::ftString, kChoiceTextSize);
    list->CreateDataSet();
    for (const auto& choice : control->Choices) {
        list->Append();
        list->FieldByName(kChoiceValueField).SetAsString(choice.Value);
        list->FieldByName(kChoiceNameField).SetAsString(choice.Item);
        list->Post();
    }
    list->First();
    auto* source = new TDataSource(&page);
    source->SetDataSet(list);
    lookup.SetListSource(source);
    lookup.SetKeyField(std::string(kChoiceValueField));
    lookup.SetListField(std::string(kChoiceNameField));
    page.AtDestroy([&lookup, list] {
        lookup.SetListSource(nullptr);
        list->Close();
    });
}

constexpr TPageBehaviour kBehaviours[] = {
    {"rule-choice", RuleChoice},
    {"choice-list", ChoiceList},
    {"copy-text", CopyText},
};

}  // namespace

const TPageBehaviour* FindPageBehaviour(std::string_view id) {
    for (std::span<const TPageBehaviour> table :
         {std::span<const TPageBehaviour>(kBehaviours), StandardPageBehaviours(), MenuPageBehaviours(),
          TidPageBehaviours(), ExportPageBehaviours()})
        for (const auto& row : table)
            if (row.Id == id) return &row;
    return nullptr;
}

}  // namespace tv
