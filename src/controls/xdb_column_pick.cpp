// A column's pick lists: the stored values and the texts shown for them, the formatted texts, and
// loading both from a dataset. The grid's ColGetText and ColSetText (xdb_grid_pick_text.cpp)
// translate between them.

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/rtl/format.h"
#include "platform/rtl/text_compare.h"

namespace tv {

namespace {

constexpr std::string_view kDefaultPickTextFormat = "%1:s - %0:s";

// Options under which a changed list changes what the cells show.
constexpr TXPickOptions kListShownOptions{poListItemsOnly, poSelectPickText, poStoreItemIndex};

const TStrings* NonEmpty(const TStrings* list) {
    return list && list->Count() > 0 ? list : nullptr;
}

std::string EntryOrEmpty(const TStringList* list, int index) {
    return list && index < list->Count() ? list->Strings(index) : std::string();
}

}  // namespace

// A pick list, created on first use; any change drops the formatted texts.
TStringList* TXColumn::PickStrings(std::unique_ptr<TStringList>& list) {
    if (!list) {
        list = std::make_unique<TStringList>();
        list->OnChange = [this](TObject*) { fFormattedPickText.reset(); };
    }
    return list.get();
}

// Writing none frees the list, a list is copied; the cells change when the options use it.
void TXColumn::AssignPickStrings(std::unique_ptr<TStringList>& list, TStrings* value) {
    fFormattedPickText.reset();
    if (!value) {
        list.reset();
        return;
    }
    PickStrings(list)->Assign(value);
    if (!(fPickOptions * kListShownOptions).Empty()) Changed(false);
}

TStrings* TXColumn::PickList() {
    return PickStrings(fPickList);
}

TStrings* TXColumn::PickText() {
    return PickStrings(fPickText);
}

void TXColumn::SetPickList(TStrings* value) {
    AssignPickStrings(fPickList, value);
}

void TXColumn::SetPickText(TStrings* value) {
    AssignPickStrings(fPickText, value);
}

void TXColumn::SetPickOptions(TXPickOptions value) {
    if (value.Contains(poAutoLoadList)) value.Exclude(poSelectPickText);
    fFormattedPickText.reset();
    fPickOptions = value;
    Changed(false);
}

void TXColumn::SetPickTextFormat(const std::string& value) {
    if (value == fPickTextFormat) return;
    fPickTextFormat = value;
    fFormattedPickText.reset();
    if (fPickOptions.Contains(poSelectPickText) && fPickOptions.Contains(poFormatPickText) &&
        !fPickOptions.Contains(poFormatListOnly))
        Changed(false);
}

bool TXColumn::UsesPickText() const {
    return fPickOptions.Contains(poSelectPickText) && fPickText && fPickText->Count() > 0;
}

std::string TXColumn::FormatPickText(int ListIndex) const {
    if (ListIndex < 0) return {};
    const std::string text = EntryOrEmpty(fPickText.get(), ListIndex);
    const std::string value = EntryOrEmpty(fPickList.get(), ListIndex);
    return Format(fPickTextFormat.empty() ? kDefaultPickTextFormat : std::string_view(fPickTextFormat),
                  {std::string_view(text), std::string_view(value), ListIndex + 1});
}

const TStrings* TXColumn::PickItems() const {
    if (!UsesPickText()) return NonEmpty(fPickList.get());
    if (!fPickOptions.Contains(poFormatPickText)) return fPickText.get();
    if (!fFormattedPickText) {
        auto formatted = std::make_unique<TStringList>();
        for (int i = 0; i < fPickText->Count(); ++i) formatted->Add(FormatPickText(i));
        fFormattedPickText = std::move(formatted);
    }
    return fFormattedPickText.get();
}

const TStrings* TXColumn::PickDisplay() const {
    if (UsesPickText() && fPickOptions.Contains(poFormatListOnly)) return fPickText.get();
    return PickItems();
}

template <class Load>
void TXColumn::LoadFrom(TField* field, Load load) {
    TDataSet* dataSet = field->DataSet();
    TXCustomDBGrid* grid = Grid();
    // The grid's own dataset keeps its place through the grid; any other only stops telling its
    // controls.
    const bool own = grid && Field() && Field()->DataSet() == dataSet;
    const bool opened = !dataSet->Active();
    own ? grid->DisablePosition() : dataSet->DisableControls();
    auto restore = [&] {
        if (opened) dataSet->Close();
        own ? grid->EnablePosition(false) : dataSet->EnableControls();
    };
    try {
        if (opened) dataSet->Open();
        load(*dataSet);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TXColumn::LoadPickList(TField* PickListField, bool Sorted) {
    TField* field = PickListField ? PickListField : Field();
    if (!field || !field->DataSet()) {
        fPickList.reset();
        fPickText.reset();
        fFormattedPickText.reset();
        return;
    }
    TStringList values;
    if (fPickOptions.Contains(poAppendToList) && fPickList) values.Assign(fPickList.get());
    values.SetSorted(Sorted);
    LoadFrom(field, [&](TDataSet& dataSet) {
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
            const std::string text = field->Text();
            if (!text.empty() && values.IndexOf(text) < 0) values.Add(text);
        }
    });
    PickList()->Assign(&values);
    fPickText.reset();
    fFormattedPickText.reset();
}

void TXColumn::LoadPickText(TField* PickListField, TField* PickTextField, bool Sorted) {
    if (!PickListField || !PickTextField || !PickListField->DataSet() ||
        PickListField->DataSet() != PickTextField->DataSet()) {
        fPickList.reset();
        fPickText.reset();
        fFormattedPickText.reset();
        return;
    }
    // Values and texts stay pairs from the start to the end: a text that holds a line break
    // never splits into the wrong list.
    std::vector<std::pair<std::string, std::string>> pairs;
    TStringList taken;
    taken.SetSorted(true);
    auto collect = [&](std::string value, std::string text) {
        if (taken.IndexOf(value) >= 0) return;
        taken.Add(value);
        pairs.emplace_back(std::move(value), std::move(text));
    };
    if (fPickOptions.Contains(poAppendToList) && fPickList && fPickText) {
        const int count = std::min(fPickList->Count(), fPickText->Count());
        for (int i = 0; i < count; ++i) collect(fPickList->Strings(i), fPickText->Strings(i));
    }
    LoadFrom(PickListField, [&](TDataSet& dataSet) {
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
            std::string value = PickListField->Text();
            std::string text = PickTextField->Text();
            if (value.empty() && text.empty()) continue;
            collect(std::move(value), std::move(text));
        }
    });
    if (Sorted) {
        // By value, the text breaking ties; by text first with poSortedByText.
        const bool byText = fPickOptions.Contains(poSortedByText);
        std::stable_sort(pairs.begin(), pairs.end(), [byText](const auto& a, const auto& b) {
            const std::string& a1 = byText ? a.second : a.first;
            const std::string& b1 = byText ? b.second : b.first;
            if (const int c = AnsiCompareText(a1, b1); c != 0) return c < 0;
            return AnsiCompareText(byText ? a.first : a.second, byText ? b.first : b.second) < 0;
        });
    }
    TStringList values;
    TStringList texts;
    for (const auto& [value, text] : pairs) {
        values.Add(value);
        texts.Add(text);
    }
    PickList()->Assign(&values);
    PickText()->Assign(&texts);
    fFormattedPickText.reset();
}

}  // namespace tv
