#include <gtest/gtest.h>

#include <QRadioButton>
#include <string>
#include <vector>

#include "data_form_fixture.h"
#include "platform/gui/db_radio_group.h"

namespace tv {
namespace {

using test::DataForm;

std::vector<QRadioButton*> RadioButtons(TControl& group) {
    std::vector<QRadioButton*> buttons;
    for (QRadioButton* b : group.Widget()->findChildren<QRadioButton*>()) buttons.push_back(b);
    return buttons;
}

struct RadioCase {
    const char* field;
    std::vector<std::string> items;
    std::vector<std::string> values;
    const char* stored;
    int shows;            // ItemIndex shown
    int click;            // the button clicked
    const char* stored2;  // the field's text after the click and a post
    const char* rule;
};

TEST(DBRadioGroup, ChoosesTheButtonOfTheFieldsValueAndStoresTheChosenValue) {
    const std::vector<std::string> exists = {"Uppdatera", "Hoppa över", "Misslyckas"};
    const std::vector<std::string> texts = {"Alla", "Intervall", "SQL"};
    const RadioCase cases[] = {
        {"MODE", exists, {"0", "1", "2"}, "1", 1, 2, "2", "with values: the value at the button"},
        {"SELECTION", texts, {}, "SQL", 2, 0, "Alla", "without values: the button's caption"},
        {"SELECTION", texts, {"A", "", "Q"}, "Intervall", 1, 2, "Q", "an empty value line: the caption"},
        {"MODE", exists, {"0", "1", "2"}, "7", -1, 0, "0", "a value no button has chooses none"},
    };
    for (const RadioCase& c : cases) {
        SCOPED_TRACE(c.rule);
        DataForm f;
        test::Store(*f.table, c.field, c.stored);
        auto* group = f.Bound<TDBRadioGroup>(c.field, 10, 100);
        for (const auto& item : c.items) group->Items()->Add(item);
        for (const auto& value : c.values) group->Values()->Add(value);
        EXPECT_EQ(group->ItemIndex(), c.shows);
        EXPECT_EQ(group->Value(), c.stored);
        f.table->Edit();
        f.table->UpdateRecord();  // nothing chosen by the user: nothing written
        EXPECT_EQ(f.table->FieldByName(c.field).Text(), c.stored);
        f.table->Cancel();
        RadioButtons(*group).at(static_cast<size_t>(c.click))->click();
        EXPECT_EQ(group->ItemIndex(), c.click);
        f.table->Post();
        EXPECT_EQ(f.table->FieldByName(c.field).Text(), c.stored2);
    }
}

TEST(DBRadioGroup, AChoiceIsRefusedWhileTheValueCannotChange) {
    DataForm f;
    auto* group = f.Bound<TDBRadioGroup>("MODE", 10, 100);
    group->Items()->SetText("a\r\nb\r\nc\r\n");
    group->Values()->SetText("0\r\n1\r\n2\r\n");
    f.table->FieldByName("MODE").SetReadOnly(true);
    RadioButtons(*group).at(2)->click();
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(RadioButtons(*group).at(1)->isChecked());
    EXPECT_EQ(f.table->State(), dsBrowse);
}

}  // namespace
}  // namespace tv
