#include "platform/gui/item_strings.h"

#include <algorithm>
#include <vector>

#include "platform/gui/qt_support.h"

namespace tv {

void TItemStrings::CheckIndex(int index, int max) const {
    if (index < 0 || index > max) Error(kListIndexError, index);
}

std::string TItemStrings::Get(int index) const {
    CheckIndex(index, GetCount() - 1);
    return FromQString(fItems->Text(index));
}

TObject* TItemStrings::GetObject(int index) const {
    CheckIndex(index, GetCount() - 1);
    return fItems->Object(index);
}

void TItemStrings::Put(int index, std::string_view s) {
    CheckIndex(index, GetCount() - 1);
    fItems->SetText(index, ToQString(s));
}

void TItemStrings::PutObject(int index, TObject* object) {
    CheckIndex(index, GetCount() - 1);
    fItems->SetObject(index, object);
}

void TItemStrings::Delete(int index) {
    CheckIndex(index, GetCount() - 1);
    fItems->Remove(index);
}

void TItemStrings::Insert(int index, std::string_view s) {
    CheckIndex(index, GetCount());
    fItems->Insert(index, ToQString(s));
}

int TItemStrings::Add(std::string_view s) {
    if (!fSorted) return TStrings::Add(s);
    // After the equal lines already there.
    int lo = 0, hi = GetCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (CompareStrings(Get(mid), s) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    fItems->Insert(lo, ToQString(s));
    return lo;
}

void TItemStrings::SetSorted(bool value) {
    if (value == fSorted) return;
    fSorted = value;
    if (!value) return;
    struct Line {
        std::string text;
        TObject* object;
    };
    std::vector<Line> lines;
    for (int i = 0; i < GetCount(); ++i) lines.push_back({Get(i), GetObject(i)});
    std::stable_sort(lines.begin(), lines.end(),
                     [this](const Line& a, const Line& b) { return CompareStrings(a.text, b.text) < 0; });
    BeginUpdate();
    fItems->Clear();
    for (size_t i = 0; i < lines.size(); ++i) {
        fItems->Insert(static_cast<int>(i), ToQString(lines[i].text));
        fItems->SetObject(static_cast<int>(i), lines[i].object);
    }
    EndUpdate();
}

}  // namespace tv
