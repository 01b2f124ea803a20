#include "ui/page_controls.h"

#include <algorithm>

#include "controls/db_lookup_controls_x.h"
#include "controls/db_pick_combo.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_navigator.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/button.h"
#include "platform/gui/canvas.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/db_check_box.h"
#include "platform/gui/db_combo_box.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/db_radio_group.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/rtl/string_list.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

constexpr int kLineHeight = 21;
constexpr int kCaptionGap = 3;
constexpr int kCheckHeight = 19;
constexpr int kMemoHeight = 56;
constexpr int kLongMemoHeight = 140;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kButtonPadding = 24;
constexpr int kRadioFrame = 22;
constexpr int kRadioButtonHeight = 20;
constexpr int kNoteLineHeight = 14;
constexpr int kListItemHeight = 16;
constexpr int kListFrame = 4;
constexpr int kNavigatorHeight = 25;
constexpr int kGridHeight = 300;

// A label of the text wrapped to the width, as high as its lines.
TLabel* WrappedLabel(TSettingsPage& page, const TPagePlace& place) {
    auto* label = new TLabel(&page);
    label->SetParent(place.Parent);
    label->SetBounds(place.Left, place.Top, place.Width, kNoteLineHeight);
    label->SetWordWrap(true);
    label->SetAutoSize(true);
    return label;
}

// A caption above the control when the block gives one; answers the height it takes.
int CaptionAbove(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    if (def.Caption.empty()) return 0;
    TLabel* label = WrappedLabel(page, place);
    label->SetCaption(def.Caption);
    return label->Height() + kCaptionGap;
}

template <class C>
C* Place(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place, int top, int width,
         int height) {
    auto* control = new C(&page);
    control->SetParent(place.Parent);
    control->SetBounds(place.Left, top, width, height);
    page.AddControl(def, control);
    return control;
}

template <class C>
void Bind(TSettingsPage& page, const TPageControlDef& def, C* control) {
    control->SetDataSource(&page.SourceFor(def.Table));
    control->SetDataField(def.Field);
}

// The choices' items, or their values, as lines.
struct Lines : TStringList {
    Lines(const TPageControlDef& def, bool values) {
        for (const auto& choice : def.Choices) Add(values ? choice.Value : choice.Item);
    }
};

int MakeEdit(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    auto* edit = Place<TDBEdit>(page, def, place, place.Top + caption, place.Width, kLineHeight);
    if (def.Has("password")) edit->SetPasswordChar('*');
    Bind(page, def, edit);
    return caption + kLineHeight;
}

int MakeMemo(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    // A memo with scroll bars holds long text (a whole query) and gets the room for it.
    const bool scrolled = def.Has("scrollbars");
    const int height = scrolled ? kLongMemoHeight : kMemoHeight;
    auto* memo = Place<TDBMemo>(page, def, place, place.Top + caption, place.Width, height);
    if (scrolled) memo->SetScrollBars(ssBoth);
    Bind(page, def, memo);
    return caption + height;
}

int MakeCheck(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    auto* check = Place<TDBCheckBox>(page, def, place, place.Top, place.Width, kCheckHeight);
    check->SetCaption(def.Caption);
    check->SetValueChecked(def.Checked);
    check->SetValueUnchecked(def.Unchecked);
    Bind(page, def, check);
    return kCheckHeight;
}

int MakeRadio(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int height = kRadioFrame + kRadioButtonHeight * static_cast<int>(def.Choices.size());
    auto* radio = Place<TDBRadioGroup>(page, def, place, place.Top, place.Width, height);
    radio->SetCaption(def.Caption);
    Lines items(def, false);
    Lines values(def, true);
    radio->SetItems(&items);
    radio->SetValues(&values);
    Bind(page, def, radio);
    return height;
}

// A pick list (the kit's sort orders too): the values first, then the items, then the field, whose
// text chooses the item of the same value, letter case ignored; a null field or a value no item
// has chooses none, and nothing is written into the table. A failure to show the field's value is
// reported and leaves the list as it is (the pick combo's own guard).
int MakePick(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    auto* pick = Place<TDBPickCombo>(page, def, place, place.Top + caption, place.Width, kLineHeight);
    Lines items(def, false);
    Lines values(def, true);
    pick->SetValues(&values);
    pick->SetItems(&items);
    Bind(page, def, pick);
    return caption + kLineHeight;
}

int MakeLookup(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    Bind(page, def,
         Place<TDBLookupComboBox>(page, def, place, place.Top + caption, place.Width, kLineHeight));
    return caption + kLineHeight;
}

// A list of texts bound to nothing, the first one shown.
int MakeCombo(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    auto* combo = Place<TComboBox>(page, def, place, place.Top + caption, place.Width, kLineHeight);
    Lines items(def, false);
    combo->SetItems(&items);
    if (!def.Choices.empty()) combo->SetItemIndex(0);
    return caption + kLineHeight;
}

// The class library's lookup combo under this library's name (the time-reporting user).
int MakeLookupX(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    Bind(page, def, Place<TDBLookupComboX>(page, def, place, place.Top + caption, place.Width, kLineHeight));
    return caption + kLineHeight;
}

// Free text with a list the page fills when asked.
int MakeDbCombo(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    Bind(page, def, Place<TDBComboBox>(page, def, place, place.Top + caption, place.Width, kLineHeight));
    return caption + kLineHeight;
}

// A check box bound to nothing: what it shows is the page's business.
int MakeCheckBox(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    Place<TCheckBox>(page, def, place, place.Top, place.Width, kCheckHeight)->SetCaption(def.Caption);
    return kCheckHeight;
}

// As wide as its caption needs, at least the usual width.
int MakeButton(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    auto* button = Place<TButton>(page, def, place, place.Top, kButtonWidth, kButtonHeight);
    button->SetCaption(def.Caption);
    std::string caption = def.Caption;
    std::erase(caption, '&');
    TBitmap measure;
    measure.Canvas()->Font()->Assign(button->Font());
    const int needed = measure.Canvas()->TextWidth(caption) + kButtonPadding;
    button->SetWidth(std::min(std::max(kButtonWidth, needed), place.Width));
    return kButtonHeight;
}

// A list of texts bound to nothing (the placeholders a template may use), as high as its items.
int MakeList(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    const int height = kListFrame + kListItemHeight * std::max<int>(1, static_cast<int>(def.Choices.size()));
    auto* list = Place<TListBox>(page, def, place, place.Top + caption, place.Width, height);
    Lines items(def, false);
    list->SetItems(&items);
    return caption + height;
}

// This library's navigator over the control's table, all its buttons shown.
int MakeNavigator(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    auto* navigator = Place<TXDBNavigator>(page, def, place, place.Top, place.Width, kNavigatorHeight);
    navigator->SetDataSource(&page.SourceFor(def.Table));
    return kNavigatorHeight;
}

// This library's data grid over the control's table, with the columns its choices give, in the
// grid's own (XP) visual style; "standard" gives the standard style, "stretch" stretches the
// columns over the width and shows a vertical bar only, hidden while there is nothing to scroll;
// "untitled" shows neither the title row nor the indicator. Its options are otherwise the grid's
// defaults: editing, tabs, confirmed deletes, titles as buttons.
int MakeGrid(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    auto* grid = Place<TXDBGrid>(page, def, place, place.Top, place.Width, kGridHeight);
    for (const auto& choice : def.Choices) {
        const TPageColumnDef column = GridColumn(choice);
        TXColumn* made = grid->Columns()->Add();
        made->SetFieldName(column.Field);
        if (!column.Title.empty()) made->Title()->SetCaption(column.Title);
        if (column.Width > 0) made->SetWidth(column.Width);
    }
    if (def.Has("standard")) grid->GridStyle()->SetVisualStyle(vsStandard);
    if (def.Has("untitled")) {
        TXDBGridOptions options = grid->Options();
        options.Exclude(dgTitles);
        options.Exclude(dgIndicator);
        grid->SetOptions(options);
    }
    if (def.Has("stretch")) {
        grid->SetScrollBars(ssVertical);
        grid->ScrollProp()->SetAutoHidden(ssBoth);
        grid->ScrollProp()->SetWinXPMode(true);
        grid->SetStretchMode(true);
    }
    grid->SetDataSource(&page.SourceFor(def.Table));
    return kGridHeight;
}

int MakeNote(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    TLabel* note = WrappedLabel(page, place);
    page.AddControl(def, note);
    note->SetCaption(def.Caption);
    return note->Height();
}

constexpr TPageControlKind kKinds[] = {
    {"edit", MakeEdit},         {"memo", MakeMemo},      {"check", MakeCheck},     {"radio", MakeRadio},
    {"pick", MakePick},         {"sortorder", MakePick}, {"lookup", MakeLookup},   {"combo", MakeCombo},
    {"button", MakeButton},     {"note", MakeNote},      {"lookupx", MakeLookupX}, {"dbcombo", MakeDbCombo},
    {"checkbox", MakeCheckBox}, {"list", MakeList},      {"navigator", MakeNavigator}, {"grid", MakeGrid},
};

}  // namespace

const TPageControlKind* FindPageControlKind(std::string_view kind) {
    for (const auto& row : kKinds)
        if (row.Kind == kind) return &row;
    return nullptr;
}

}  // namespace tv
