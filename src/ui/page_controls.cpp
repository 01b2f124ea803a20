#include "ui/page_controls.h"

#include <algorithm>

#include "controls/db_pick_combo.h"
#include "core/app_logger.h"
#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/db_check_box.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/db_lookup_controls.h"
#include "platform/gui/db_radio_group.h"
#include "platform/gui/label.h"
#include "platform/rtl/string_list.h"
#include "ui/settings_page.h"

namespace tv {

namespace {

constexpr int kLineHeight = 21;
constexpr int kCaptionGap = 3;
constexpr int kCheckHeight = 19;
constexpr int kMemoHeight = 56;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 25;
constexpr int kRadioFrame = 22;
constexpr int kRadioButtonHeight = 20;
constexpr int kNoteLineHeight = 14;

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
    Bind(page, def, Place<TDBMemo>(page, def, place, place.Top + caption, place.Width, kMemoHeight));
    return caption + kMemoHeight;
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

// A pick list: the values first, then the items, as the list shows the field's value by them.
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

// The kit's sort orders: the values are set before the items, and the items directly, so that
// nothing is shown from the field until the item of the field's text is chosen, letter case
// ignored; a null field chooses none. Nothing is written into the table. A guarded list leaves
// itself as it is when that fails.
int MakeSortOrder(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    const int caption = CaptionAbove(page, def, place);
    auto* pick = Place<TDBPickCombo>(page, def, place, place.Top + caption, place.Width, kLineHeight);
    Lines values(def, true);
    Lines items(def, false);
    pick->SetValues(&values);
    pick->Items()->Assign(&items);
    Bind(page, def, pick);
    auto select = [&] {
        TField* field = pick->Field();
        pick->SelectValue(field && !field->IsNull() ? field->AsString() : std::string());
    };
    if (!def.Has("guarded")) {
        select();
    } else {
        try {
            select();
        } catch (const Exception& e) {
            AppLogger().LogWarn(def.Field, e);
        }
    }
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

int MakeButton(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    Place<TButton>(page, def, place, place.Top, kButtonWidth, kButtonHeight)->SetCaption(def.Caption);
    return kButtonHeight;
}

int MakeNote(TSettingsPage& page, const TPageControlDef& def, const TPagePlace& place) {
    TLabel* note = WrappedLabel(page, place);
    page.AddControl(def, note);
    note->SetCaption(def.Caption);
    return note->Height();
}

constexpr TPageControlKind kKinds[] = {
    {"edit", MakeEdit},     {"memo", MakeMemo},           {"check", MakeCheck},   {"radio", MakeRadio},
    {"pick", MakePick},     {"sortorder", MakeSortOrder}, {"lookup", MakeLookup}, {"combo", MakeCombo},
    {"button", MakeButton}, {"note", MakeNote},
};

}  // namespace

const TPageControlKind* FindPageControlKind(std::string_view kind) {
    for (const auto& row : kKinds)
        if (row.Kind == kind) return &row;
    return nullptr;
}

}  // namespace tv
