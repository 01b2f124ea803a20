#include "platform/rtl/string_list.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/text_compare.h"

#include <algorithm>
#include <numeric>

namespace tv {

inline constexpr std::string_view kListChangedWhileSorting = "List changed while it was being sorted";

// ---- TStrings ----

const TClassInfo& TStrings::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStrings>("TStrings").Build();
    return info;
}

TStrings::TListChar::TListChar(char16_t c) : code(c) {
    AppendUtf8(utf8, c);
}

void TStrings::Error(std::string_view message, int data) {
    std::string text(message);
    if (size_t pos = text.find("%d"); pos != std::string::npos) text.replace(pos, 2, std::to_string(data));
    throw EStringListError(text);
}

std::string TStrings::Get(int) const {
    throw EAbstractError(std::string(kAbstractError));
}
int TStrings::GetCount() const {
    throw EAbstractError(std::string(kAbstractError));
}
void TStrings::Clear() {
    throw EAbstractError(std::string(kAbstractError));
}
void TStrings::Delete(int) {
    throw EAbstractError(std::string(kAbstractError));
}
void TStrings::Insert(int, std::string_view) {
    throw EAbstractError(std::string(kAbstractError));
}

int TStrings::Add(std::string_view s) {
    int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(std::string_view s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    try {
        const int count = strings.GetCount();  // once: adding a list to itself doubles it
        for (int i = 0; i < count; ++i) AddObject(strings.Get(i), strings.GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::InsertObject(int index, std::string_view s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Put(int index, std::string_view s) {
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, s, object);
}

void TStrings::Exchange(int index1, int index2) {
    BeginUpdate();
    try {
        std::string s1 = Get(index1);
        TObject* o1 = GetObject(index1);
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, s1);
        PutObject(index2, o1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    const int count = GetCount();
    if (curIndex < 0 || curIndex >= count) Error(kListIndexError, curIndex);
    if (newIndex < 0 || newIndex >= count) Error(kListIndexError, newIndex);
    BeginUpdate();
    try {
        std::string s = Get(curIndex);
        TObject* object = GetObject(curIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

bool TStrings::Equals(const TStrings& strings) const {
    const int count = GetCount();
    if (count != strings.GetCount()) return false;
    for (int i = 0; i < count; ++i)
        if (Get(i) != strings.Get(i)) return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;  // unbalanced: nothing to end
    if (--updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
    return AnsiCompareText(a, b);
}

std::string TStrings::GetTextStr() const {
    std::string text;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        text += kLineBreak;
    }
    return text;
}

void TStrings::SetTextStr(std::string_view text) {
    BeginUpdate();
    try {
        Clear();
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos) end = text.size();
            Add(text.substr(pos, end - pos));
            pos = end;
            if (pos < text.size() && text[pos] == '\r') ++pos;
            if (pos < text.size() && text[pos] == '\n') ++pos;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::JoinDelimited(const TListChar& delimiter, const TListChar& quote) const {
    const int count = GetCount();
    if (count == 1 && Get(0).empty()) return quote.utf8 + quote.utf8;
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string s = Get(i);
        bool quoted = s.find(quote.utf8) != std::string::npos ||
                      s.find(delimiter.utf8) != std::string::npos || s.find('\0') != std::string::npos;
        if (!quoted && !strictDelimiter_)
            quoted = std::any_of(s.begin(), s.end(), [](char c) { return c >= 1 && c <= ' '; });
        if (quoted) {
            text += quote.utf8;
            for (size_t pos = 0;;) {
                size_t next = s.find(quote.utf8, pos);
                text.append(s, pos, next == std::string::npos ? std::string::npos : next - pos);
                if (next == std::string::npos) break;
                text += quote.utf8 + quote.utf8;
                pos = next + quote.utf8.size();
            }
            text += quote.utf8;
        } else {
            text += s;
        }
        if (i + 1 < count) text += delimiter.utf8;
    }
    return text;
}

namespace {

// The quoted item at `pos` (on its opening quote): up to the closing quote, a doubled quote standing
// for one. An item that is never closed runs to the end of the text, all of it kept.
std::string ExtractQuoted(std::string_view text, size_t& pos, std::string_view quote) {
    std::string item;
    pos += quote.size();
    for (;;) {
        size_t next = text.find(quote, pos);
        if (next == std::string_view::npos) {
            item.append(text.substr(pos));
            pos = text.size();
            return item;
        }
        item.append(text.substr(pos, next - pos));
        pos = next + quote.size();
        if (text.substr(pos).starts_with(quote)) {
            item.append(quote);
            pos += quote.size();
        } else {
            return item;
        }
    }
}

}  // namespace

void TStrings::SplitDelimited(std::string_view text, const TListChar& delimiter, const TListChar& quote) {
    text = text.substr(0, text.find('\0'));  // the text ends at a NUL character, as a PChar does
    const bool strict = strictDelimiter_;
    const std::string_view delim = delimiter.utf8;
    auto isBlank = [&](size_t i) { return i < text.size() && text[i] >= 1 && text[i] <= ' '; };
    auto isAt = [&](size_t i, std::string_view what) {
        return text.substr(std::min(i, text.size())).starts_with(what);
    };
    auto skipBlanks = [&](size_t& i) {
        if (!strict)
            while (isBlank(i)) ++i;
    };

    BeginUpdate();
    try {
        Clear();
        size_t pos = 0;
        skipBlanks(pos);
        while (pos < text.size()) {
            if (isAt(pos, quote.utf8)) {
                Add(ExtractQuoted(text, pos, quote.utf8));
            } else {
                size_t start = pos;
                while (pos < text.size() && (strict || static_cast<unsigned char>(text[pos]) > ' ') &&
                       !isAt(pos, delim))
                    ++pos;
                Add(text.substr(start, pos - start));
            }
            skipBlanks(pos);
            if (isAt(pos, delim)) {
                if (pos + delim.size() == text.size())
                    Add("");  // a delimiter at the end: one more empty line
                pos += delim.size();
                skipBlanks(pos);
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    return JoinDelimited(TListChar(u','), TListChar(u'"'));
}

void TStrings::SetCommaText(std::string_view text) {
    SplitDelimited(text, TListChar(u','), TListChar(u'"'));
}

std::string TStrings::Names(int index) const {
    std::string s = Get(index);
    size_t pos = s.find(nameValueSeparator_.utf8);
    return pos == std::string::npos ? std::string() : s.substr(0, pos);
}

int TStrings::IndexOfName(std::string_view name) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const std::string s = Get(i);
        size_t pos = s.find(nameValueSeparator_.utf8);
        if (pos != std::string::npos && CompareStrings(std::string_view(s).substr(0, pos), name) == 0)
            return i;
    }
    return -1;
}

std::string TStrings::ValueFromIndex(int index) const {
    if (index < 0) return {};
    std::string s = Get(index);
    size_t pos = s.find(nameValueSeparator_.utf8);
    return pos == std::string::npos ? std::string() : s.substr(pos + nameValueSeparator_.utf8.size());
}

std::string TStrings::Values(std::string_view name) const {
    return ValueFromIndex(IndexOfName(name));
}

void TStrings::SetValueFromIndex(int index, std::string_view value) {
    PutNameValue(index, index >= 0 ? Names(index) : std::string(), value);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
    PutNameValue(IndexOfName(name), name, value);
}

void TStrings::PutNameValue(int index, std::string_view name, std::string_view value) {
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    const bool added = index < 0;
    if (added) index = Add("");
    try {
        Put(index, std::string(name) + nameValueSeparator_.utf8 + std::string(value));
    } catch (...) {
        // A list that refuses the change (a sorted one) keeps no empty line behind.
        if (added) Delete(index);
        throw;
    }
}

void TStrings::LoadFromStream(TStream& stream) {
    SetTextStr(DecodeTextBytes(ReadStreamToEnd(stream)));
}

void TStrings::SaveToStream(TStream& stream, TextEncoding encoding) {
    const std::string bytes = EncodeTextBytes(GetTextStr(), encoding);
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::LoadFromFile(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(std::string_view fileName, TextEncoding encoding) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file, encoding);
}

void TStrings::Assign(TPersistent* source) {
    auto* strings = dynamic_cast<TStrings*>(source);
    if (!strings) return TPersistent::Assign(source);
    if (strings == this) return;  // clearing first would lose every line
    BeginUpdate();
    try {
        Clear();
        delimiter_ = strings->delimiter_;
        quoteChar_ = strings->quoteChar_;
        nameValueSeparator_ = strings->nameValueSeparator_;
        strictDelimiter_ = strings->strictDelimiter_;
        AddStrings(*strings);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- TStringList ----

const TClassInfo& TStringList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStringList>("TStringList").Build();
    return info;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) Error(kListIndexError, index);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
    return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].String;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].Object;
}

void TStringList::Put(int index, std::string_view s) {
    if (sorted_) Error(kSortedListError, 0);
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].String = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].Object = object;
    Changed();
}

int TStringList::GetCapacity() const {
    return std::max(capacity_, GetCount());
}

void TStringList::SetCapacity(int capacity) {
    if (capacity < GetCount()) Error(kListCapacityError, capacity);
    capacity_ = capacity;  // a hint only: the lines grow as they need
}

void TStringList::InsertItem(int index, std::string_view s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, TStringItem{std::string(s), object});
    Changed();
}

int TStringList::AddObject(std::string_view s, TObject* object) {
    int index = GetCount();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == TDuplicates::dupIgnore) return index;
        if (duplicates_ == TDuplicates::dupError) Error(kDuplicateString, 0);
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::InsertObject(int index, std::string_view s, TObject* object) {
    if (sorted_) Error(kSortedListError, 0);
    if (index < 0 || index > GetCount()) Error(kListIndexError, index);
    InsertItem(index, s, object);
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    // Checked before anything moves: a line taken out could not go back into a sorted list.
    if (sorted_) Error(kSortedListError, 0);
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    auto first = items_.begin();
    if (curIndex < newIndex)
        std::rotate(first + curIndex, first + curIndex + 1, first + newIndex + 1);
    else
        std::rotate(first + newIndex, first + curIndex, first + curIndex + 1);
    Changed();
}

bool TStringList::Find(std::string_view s, int& index) const {
    bool found = false;
    int low = 0, high = GetCount() - 1;
    while (low <= high) {
        int mid = low + (high - low) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].String, s);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept) low = mid;
            }
        }
    }
    index = low;
    return found;
}

int TStringList::IndexOf(std::string_view s) const {
    int index;
    if (sorted_) return Find(s, index) ? index : -1;
    for (index = 0; index < GetCount(); ++index)
        if (CompareStrings(items_[static_cast<size_t>(index)].String, s) == 0) return index;
    return -1;
}

// A stable merge sort of the line order that only ever asks `compare` about two valid indexes of
// the unchanged list, so a comparison that is not consistent (a script's) cannot harm the list;
// the new order is applied at the end, and not at all when `compare` raises.
void TStringList::SortBy(const std::function<int(int, int)>& compare) {
    const size_t n = items_.size();
    std::vector<int> order(n), merged(n);
    std::iota(order.begin(), order.end(), 0);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t low = 0; low < n; low += 2 * width) {
            size_t mid = std::min(low + width, n), high = std::min(low + 2 * width, n);
            size_t i = low, j = mid, k = low;
            while (i < mid && j < high)
                merged[k++] = compare(order[j], order[i]) < 0 ? order[j++] : order[i++];
            while (i < mid) merged[k++] = order[i++];
            while (j < high) merged[k++] = order[j++];
        }
        order.swap(merged);
    }
    if (items_.size() != n) throw EStringListError(std::string(kListChangedWhileSorting));
    std::vector<TStringItem> sorted;
    sorted.reserve(n);
    for (int index : order) sorted.push_back(std::move(items_[static_cast<size_t>(index)]));
    items_ = std::move(sorted);
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
    if (sorted_ || items_.size() < 2) return;
    Changing();
    SortBy([&](int a, int b) { return compare(*this, a, b); });
    Changed();
}

void TStringList::Sort() {
    if (sorted_ || items_.size() < 2) return;
    Changing();
    SortBy([this](int a, int b) {
        return CompareStrings(items_[static_cast<size_t>(a)].String, items_[static_cast<size_t>(b)].String);
    });
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) {
        sorted_ = false;
        SetSorted(true);
    }
}

}  // namespace tv
