// The behaviours of the export settings pages and the SQL query page: the selection panels driven
// by a pick list or a radio group, the tests of a selection query or of a named query, the
// placeholder list that writes into its template, and the adding and removing of query rows.

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "controls/db_pick_combo.h"
#include "platform/data/data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/application.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_radio_group.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"
#include "ui/page_behaviours.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

inline constexpr std::string_view kQueryOk = "Query ok. %d records, time: %dsms";
inline constexpr std::string_view kQueryFailed = "Query failed: %s ";
inline constexpr std::string_view kSqlSelection = "SQL";
inline constexpr std::string_view kAllSelection = "Alla";

// The groups a behaviour's argument names, joined by "+" ("SqlPanel+StartValue"), in that order.
std::vector<TWinControl*> NamedGroups(const TSettingsPage& page, const TPageBehaviourDef& behaviour) {
    std::vector<TWinControl*> groups;
    size_t from = 0;
    while (from <= behaviour.Argument.size()) {
        const size_t plus = std::min(behaviour.Argument.find('+', from), behaviour.Argument.size());
        const std::string name = behaviour.Argument.substr(from, plus - from);
        TWinControl* group = page.FindGroup(name);
        if (!group) throw Exception("The page behaviour " + behaviour.Id + " names no group " + name);
        groups.push_back(group);
        from = plus + 1;
    }
    return groups;
}

// The control the argument names, of class C.
template <class C>
C& NamedControl(const TSettingsPage& page, const TPageBehaviourDef& behaviour, std::string_view name) {
    auto* control = dynamic_cast<C*>(page.FindControl(name));
    if (!control)
        throw Exception("The page behaviour " + behaviour.Id + " needs the control " + std::string(name));
    return *control;
}

// What a test shows in its result label: the count and time, or the failure's message. A failure
// stays in the label; nothing else is shown.
template <class Run>
std::string TestResult(Run run) {
    try {
        int records = 0;
        int ms = 0;
        run(records, ms);
        return Format(kQueryOk, {records, ms});
    } catch (const std::exception& e) {
        return Format(kQueryFailed, {std::string(e.what())});
    }
}

// The pick list of the selection: "SQL" shows the groups the argument names (the SQL panel first,
// then any that go with it), "Alla" hides them, any other value changes nothing. The first group is
// hidden as the page is made, before the list's value is applied once; then every change of the
// list applies its value.
void SqlSelection(TSettingsPage& page, TControl& target, const TPageControlDef*,
                  const TPageBehaviourDef& behaviour) {
    auto& pick = BehaviourTarget<TDBPickCombo>(target, behaviour);
    page.AfterBuild([&page, &pick, behaviour] {
        const std::vector<TWinControl*> groups = NamedGroups(page, behaviour);
        groups.front()->Hide();
        auto apply = [&page, &pick, groups] {
            const int index = pick.ItemIndex();
            if (index < 0 || index >= pick.Values()->Count()) return;
            const std::string value = pick.Values()->Strings(index);
            const bool sql = AnsiSameText(value, kSqlSelection);
            if (!sql && !AnsiSameText(value, kAllSelection)) return;
            for (TWinControl* group : groups) group->SetVisible(sql);
            page.Relayout();
        };
        apply();
        page.Relayout();
        pick.OnChange = [apply](TObject*) { apply(); };
    });
}

// The radio group of the selection and its panels, named in the order of its items: the panel of
// the chosen item shows, the first ("all") when none is chosen as the page is made; on every
// change exactly the panel of the new item shows, none when no item is chosen.
void RadioPanels(TSettingsPage& page, TControl& target, const TPageControlDef*,
                 const TPageBehaviourDef& behaviour) {
    auto& radio = BehaviourTarget<TDBRadioGroup>(target, behaviour);
    page.AfterBuild([&page, &radio, behaviour] {
        const std::vector<TWinControl*> panels = NamedGroups(page, behaviour);
        auto show = [&page, panels](int index) {
            for (size_t i = 0; i < panels.size(); ++i) panels[i]->SetVisible(static_cast<int>(i) == index);
            page.Relayout();
        };
        const int index = radio.ItemIndex();
        show(index < 0 || index > radio.Items()->Count() ? 0 : index);
        radio.OnChange = [&radio, show](TObject*) { show(radio.ItemIndex()); };
    });
}

// "Testa" of a selection: the text of the memo on the button's field runs on the company database,
// and the label the argument names shows the result.
void TestSqlText(TSettingsPage& page, TControl& target, const TPageControlDef* control,
                 const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    if (!control || control->Field.empty())
        throw Exception("The page behaviour " + behaviour.Id + " needs the field of the query");
    page.AfterBuild([&page, &button, behaviour, field = control->Field] {
        TDBMemo* memo = nullptr;
        for (TControl* bound : page.ControlsFor(field))
            if (!memo) memo = dynamic_cast<TDBMemo*>(bound);
        if (!memo) throw Exception("The page behaviour " + behaviour.Id + " finds no memo on " + field);
        auto& label = NamedControl<TLabel>(page, behaviour, behaviour.Argument);
        button.OnClick = [memo, &label](TObject*) {
            label.SetCaption(TestResult(
                [memo](int& records, int& ms) { DMExport().TestSQLText(memo->Text(), records, ms); }));
        };
    });
}

// "Testa" of the query page: the query named in the button's field of the current row runs (the
// first row of that name), and the label the argument names shows the result.
void TestSqlQuery(TSettingsPage& page, TControl& target, const TPageControlDef* control,
                  const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    if (!control || control->Field.empty())
        throw Exception("The page behaviour " + behaviour.Id + " needs the field of the query's name");
    TDataSet* table = page.SourceFor(control->Table).DataSet();
    page.AfterBuild([&page, &button, behaviour, table, field = control->Field] {
        auto& label = NamedControl<TLabel>(page, behaviour, behaviour.Argument);
        button.OnClick = [table, field, &label](TObject*) {
            label.SetCaption(TestResult([table, &field](int& records, int& ms) {
                DMExport().TestSQL(table->FieldByName(field).AsString(), records, ms);
            }));
        };
    });
}

// "Lägg till": a new empty row at the end of the button's table.
void AddRow(TSettingsPage& page, TControl& target, const TPageControlDef* control,
            const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TDataSet* table = page.SourceFor(control ? control->Table : page.Def().Table).DataSet();
    OnClick(button, [table] { table->Append(); });
}

// "Ta bort": the current row's pending changes are dropped and the row deleted. A row being added
// goes with its dropped changes alone: no stored row is deleted with it. An empty table is left
// alone.
void RemoveRow(TSettingsPage& page, TControl& target, const TPageControlDef* control,
               const TPageBehaviourDef& behaviour) {
    auto& button = BehaviourTarget<TButton>(target, behaviour);
    TDataSet* table = page.SourceFor(control ? control->Table : page.Def().Table).DataSet();
    OnClick(button, [table] {
        const bool adding = table->State() == dsInsert;
        table->Cancel();
        if (!adding && !table->IsEmpty()) table->Delete();
    });
}

// The byte offset in UTF-8 `text` of the edit position `units` (UTF-16 units, as the edit counts).
size_t ByteOffset(std::string_view text, int units) {
    size_t pos = 0;
    for (int counted = 0; pos < text.size() && counted < units;) {
        const char32_t c = NextUtf8(text, pos);
        counted += c > 0xFFFF ? 2 : 1;
    }
    return pos;
}

// Keeps the selection an edit had when the focus left it: the edit box forgets it then, but the
// list beside it, double-clicked, still writes over it.
class TLastSelection : public QObject {
public:
    explicit TLastSelection(TCustomEdit& edit) : edit_(edit) { edit.Widget()->installEventFilter(this); }

    struct Range {
        int Start;
        int Length;
    };
    // The edit's selection now, else the one it had as the focus left it, while its text is the same.
    std::optional<Range> Selection() const {
        if (edit_.SelLength() > 0) return Range{edit_.SelStart(), edit_.SelLength()};
        if (last_ && lastText_ == edit_.Text()) return last_;
        return std::nullopt;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) last_.reset();
        if (event->type() == QEvent::FocusOut && edit_.SelLength() > 0) {
            last_ = Range{edit_.SelStart(), edit_.SelLength()};
            lastText_ = edit_.Text();
        }
        return false;
    }

private:
    TCustomEdit& edit_;
    std::optional<Range> last_;
    std::string lastText_;
};

// A double-click on a placeholder of the list writes it into the template edit the argument
// names: over the edit's selection, else in front of its text; the record is posted at once.
void InsertPlaceholder(TSettingsPage& page, TControl& target, const TPageControlDef*,
                       const TPageBehaviourDef& behaviour) {
    auto& list = BehaviourTarget<TListBox>(target, behaviour);
    page.AfterBuild([&page, &list, behaviour] {
        auto& edit = NamedControl<TDBEdit>(page, behaviour, behaviour.Argument);
        auto kept = std::make_shared<TLastSelection>(edit);
        list.OnDblClick = [&list, &edit, kept](TObject*) {
            const int index = list.ItemIndex();
            if (index < 0) return;
            try {
                const std::string placeholder = list.Items()->Strings(index);
                std::string text = edit.Text();
                if (const auto selection = kept->Selection()) {
                    const size_t from = ByteOffset(text, selection->Start);
                    const size_t to = ByteOffset(text, selection->Start + selection->Length);
                    text = text.substr(0, from) + placeholder + text.substr(to);
                } else {
                    text = placeholder + text;
                }
                TDataSet* table = edit.DataSource()->DataSet();
                table->Edit();
                table->FieldByName(edit.DataField()).SetAsString(text);
                table->Post();
            } catch (...) {
                Application().HandleException(&list);
            }
        };
    });
}

constexpr TPageBehaviour kExportBehaviours[] = {
    {"sql-selection", SqlSelection},   {"radio-panels", RadioPanels},
    {"test-sql-text", TestSqlText},    {"test-sql-query", TestSqlQuery},
    {"add-row", AddRow},               {"remove-row", RemoveRow},
    {"insert-placeholder", InsertPlaceholder},
};

}  // namespace

std::span<const TPageBehaviour> ExportPageBehaviours() {
    return kExportBehaviours;
}

}  // namespace tv
