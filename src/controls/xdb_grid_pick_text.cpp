// The grid's text conversion of a column's cells: the record number of a numbering column, the
// pick text shown for a stored value, and back from a typed text (a pick text, a stored value or
// a 1-based position) to the value to store. OnColGetText and OnColSetText have the last and the
// first word.

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/data/field_type.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/trim.h"

namespace tv {

namespace {

// A typed 1-based position as a 0-based index; -1 for anything that is not a number.
int TypedPosition(const std::string& text) {
    int32_t number = 0;
    return TryStrToInt(Trim(text), number) ? number - 1 : -1;
}

int IndexIn(const TStrings* list, const std::string& text) {
    return list ? list->IndexOf(text) : -1;
}

}  // namespace

void TXCustomDBGrid::ColGetText(TXColumn* Column, std::string& Text, TTextKind TextKind) {
    const TXPickOptions options = Column->PickOptions();
    if (Column->AutoNumber() && TextKind != tkReport) {
        const int number = fDataLink->Active() ? fDataLink->DataSet()->RecNo() : 0;
        Text = number < 1 ? std::string() : Format("%d.", {number});
    }
    if (Column->UsesPickText()) {
        TStrings* texts = Column->PickText();
        int position;
        if (options.Contains(poStoreItemIndex))
            position = TypedPosition(Text);
        else
            position = Column->HasPickList() ? Column->PickList()->IndexOf(Text) : texts->IndexOf(Text);
        if (position >= 0 && options.Contains(poFormatPickText) && !options.Contains(poFormatListOnly))
            Text = Column->FormatPickText(position);
        else if (position >= 0 && position < texts->Count())
            Text = texts->Strings(position);
        else if (options.Contains(poListItemsOnly))
            Text.clear();
    } else if (Column->HasPickList() && options.Contains(poListItemsOnly) && Column->PickList()->IndexOf(Text) < 0) {
        Text.clear();
    }
    if (OnColGetText) OnColGetText(Column, Text, TextKind);
}

void TXCustomDBGrid::ColSetText(TXColumn* Column, std::string& Text) {
    if (OnColSetText) OnColSetText(Column, Text);
    const TXPickOptions options = Column->PickOptions();
    if (Column->UsesPickText()) {
        TStrings* texts = Column->PickText();
        int position = options.Contains(poFormatPickText) ? IndexIn(Column->PickItems(), Text) : -1;
        if (position < 0) position = texts->IndexOf(Text);
        if (position < 0 && options.Contains(poAcceptPickList) && Column->HasPickList())
            position = Column->PickList()->IndexOf(Text);
        if (position < 0 && options.Contains(poAcceptItemIndex)) position = TypedPosition(Text);
        if (position >= texts->Count()) position = -1;
        if (position >= 0 && options.Contains(poStoreItemIndex)) {
            const TField* field = Column->Field();
            Text = field && IsStringType(field->DataType())
                       ? Format("%" + std::to_string(field->Size()) + "d", {position + 1})
                       : std::to_string(position + 1);
            return;
        }
        if (position >= 0 && Column->HasPickList()) {
            if (position < Column->PickList()->Count()) {
                Text = Column->PickList()->Strings(position);
                return;
            }
        } else if (position >= 0) {
            Text = texts->Strings(position);
            return;
        }
        if (options.Contains(poListItemsOnly)) Text.clear();
    } else if (Column->HasPickList()) {
        TStrings* values = Column->PickList();
        int position = values->IndexOf(Text);
        if (position < 0 && options.Contains(poAcceptItemIndex)) position = TypedPosition(Text);
        if (position >= 0 && position < values->Count())
            Text = values->Strings(position);
        else if (options.Contains(poListItemsOnly))
            Text.clear();
    }
}

}  // namespace tv
