#pragma once
// Lists of text lines as the class library has them. TStrings is the base every list class shares
// (the GUI's memo lines and combo items too): its members are virtual where the class library's
// are, so an override in a descendant is what runs, and the members it leaves to descendants
// raise EAbstractError. TStringList keeps the lines and one object per line in memory, sorted or
// not, and reports each change through OnChanging/OnChange. Text is UTF-8; files and streams are
// read by the system's encoding rule and written as Windows-1252 unless another encoding is named.

#include "platform/rtl/codepage.h"
#include "platform/rtl/enum_set.h"
#include "platform/rtl/event.h"
#include "platform/rtl/persistent.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TStream;

inline constexpr std::string_view kListIndexError = "List index out of bounds (%d)";
inline constexpr std::string_view kListCapacityError = "List capacity out of bounds (%d)";
inline constexpr std::string_view kDuplicateString = "String list does not allow duplicates";
inline constexpr std::string_view kSortedListError = "Operation not allowed on sorted list";

// The line break of Text: CR LF after every line.
inline constexpr std::string_view kLineBreak = "\r\n";

class TStrings : public TPersistent {
    TV_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    // ---- lines and their objects ----
    int Count() const { return GetCount(); }
    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, std::string_view s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    // Adds a line at the end (a sorted list: at its place) and returns its index.
    virtual int Add(std::string_view s);
    virtual int AddObject(std::string_view s, TObject* object);
    void Append(std::string_view s) { Add(s); }
    virtual void AddStrings(const TStrings& strings);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Insert(int index, std::string_view s);
    virtual void InsertObject(int index, std::string_view s, TObject* object);
    virtual void Exchange(int index1, int index2);
    // Moves the line at `curIndex` so that it ends at `newIndex`. Both indexes are checked before
    // anything changes, so a refused move loses no line.
    virtual void Move(int curIndex, int newIndex);

    // The index of the first line equal to `s` (without regard to case here; descendants decide),
    // or -1.
    virtual int IndexOf(std::string_view s) const;
    int IndexOfObject(const TObject* object) const;
    // Same lines, compared exactly.
    bool Equals(const TStrings& strings) const;

    // Changes between BeginUpdate and the matching EndUpdate are reported once, at the end.
    void BeginUpdate();
    void EndUpdate();

    int Capacity() const { return GetCapacity(); }
    virtual void SetCapacity(int capacity) {}

    // ---- text forms ----
    // Every line followed by CR LF. Setting splits at CR LF, CR or LF.
    std::string Text() const { return GetTextStr(); }
    void SetText(std::string_view text) { SetTextStr(text); }
    // The lines joined by Delimiter; a line holding the delimiter, the quote character, a
    // control character or a blank (the last two only without StrictDelimiter) is quoted with
    // QuoteChar, quotes inside doubled. A list of one empty line gives two quote characters.
    // Setting splits the text again by the same rules; without StrictDelimiter blanks and control
    // characters separate lines too.
    std::string DelimitedText() const { return JoinDelimited(delimiter_, quoteChar_); }
    void SetDelimitedText(std::string_view text) { SplitDelimited(text, delimiter_, quoteChar_); }
    // DelimitedText with ',' and '"', whatever Delimiter and QuoteChar are.
    std::string CommaText() const;
    void SetCommaText(std::string_view text);

    char16_t Delimiter() const { return delimiter_.code; }
    void SetDelimiter(char16_t c) { delimiter_ = TListChar(c); }
    char16_t QuoteChar() const { return quoteChar_.code; }
    void SetQuoteChar(char16_t c) { quoteChar_ = TListChar(c); }
    char16_t NameValueSeparator() const { return nameValueSeparator_.code; }
    void SetNameValueSeparator(char16_t c) { nameValueSeparator_ = TListChar(c); }
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool strict) { strictDelimiter_ = strict; }

    // ---- name=value lines (NameValueSeparator, '=' by default) ----
    // The part before the first separator; "" for a line without one.
    std::string Names(int index) const;
    // The index of the first line whose name equals `name` (compared as IndexOf compares), or -1.
    int IndexOfName(std::string_view name) const;
    // The part after the separator of the line named `name`; "" when there is none.
    std::string Values(std::string_view name) const;
    // Replaces the line's value, adds a line when the name is new, deletes it for an empty value.
    void SetValues(std::string_view name, std::string_view value);
    // The part after the first separator of line `index`; "" without a separator or for index < 0.
    std::string ValueFromIndex(int index) const;
    void SetValueFromIndex(int index, std::string_view value);

    // ---- files and streams ----
    // Reads from the stream's position to its end, by the system's encoding rule.
    virtual void LoadFromStream(TStream& stream);
    virtual void SaveToStream(TStream& stream) { SaveToStream(stream, TextEncoding::Ansi); }
    virtual void SaveToStream(TStream& stream, TextEncoding encoding);
    virtual void LoadFromFile(std::string_view fileName);
    virtual void SaveToFile(std::string_view fileName) { SaveToFile(fileName, TextEncoding::Ansi); }
    virtual void SaveToFile(std::string_view fileName, TextEncoding encoding);

    // From another TStrings: its lines, objects, delimiters and quote character.
    void Assign(TPersistent* source) override;

protected:
    virtual std::string Get(int index) const;
    virtual int GetCount() const;
    virtual TObject* GetObject(int index) const { return nullptr; }
    // Replaces the line, keeping its object (delete and insert unless a descendant knows better).
    virtual void Put(int index, std::string_view s);
    virtual void PutObject(int index, TObject* object) {}
    virtual int GetCapacity() const { return GetCount(); }
    virtual std::string GetTextStr() const;
    virtual void SetTextStr(std::string_view text);
    // Called when the first BeginUpdate starts and the last EndUpdate ends a batch of changes.
    virtual void SetUpdateState(bool updating) {}
    virtual int CompareStrings(std::string_view a, std::string_view b) const;

    int UpdateCount() const { return updateCount_; }
    // Raises EStringListError with `message`, its "%d" replaced by `data`.
    [[noreturn]] static void Error(std::string_view message, int data);

private:
    // A list character: its code, as scripts see it, and its UTF-8 form, as the text holds it.
    struct TListChar {
        explicit TListChar(char16_t c);
        char16_t code;
        std::string utf8;
    };
    std::string JoinDelimited(const TListChar& delimiter, const TListChar& quote) const;
    void SplitDelimited(std::string_view text, const TListChar& delimiter, const TListChar& quote);
    // Sets line `index` (a new line when < 0) to name=value; an empty value deletes the line.
    void PutNameValue(int index, std::string_view name, std::string_view value);

    TListChar delimiter_{u','};
    TListChar quoteChar_{u'"'};
    TListChar nameValueSeparator_{u'='};
    bool strictDelimiter_ = false;
    int updateCount_ = 0;
};

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };
TV_ENUM_INFO(TDuplicates, "dupIgnore", "dupAccept", "dupError");

class TStringList;
// Orders two lines of `list` by their indexes: < 0, 0 or > 0.
using TStringListSortCompare = std::function<int(TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
    TV_CLASS(TStringList, TStrings)
public:
    TStringList() = default;

    // In a sorted list the line goes to its place; an equal line there is kept (dupIgnore,
    // returning its index), added before it (dupAccept) or refused (dupError).
    int Add(std::string_view s) override { return AddObject(s, nullptr); }
    int AddObject(std::string_view s, TObject* object) override;
    void Clear() override;
    void Delete(int index) override;
    void Exchange(int index1, int index2) override;
    // Refused in a sorted list.
    void Insert(int index, std::string_view s) override { InsertObject(index, s, nullptr); }
    void InsertObject(int index, std::string_view s, TObject* object) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(std::string_view s) const override;
    void SetCapacity(int capacity) override;

    // Binary search of a sorted list: true when found, with `index` at the line (the first of
    // equal lines under dupAccept), else false with `index` where the line would go.
    virtual bool Find(std::string_view s, int& index) const;
    // Sorts an unsorted list (a sorted one already is). Equal lines keep their order.
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    // Turning sorting on sorts the list.
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
    bool CaseSensitive() const { return caseSensitive_; }
    // A sorted list is sorted again under the new comparison.
    void SetCaseSensitive(bool caseSensitive);

    // Fired before and after every change, unless an update is in progress.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    std::string Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, std::string_view s) override;
    void PutObject(int index, TObject* object) override;
    int GetCapacity() const override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const override;
    virtual void Changing();
    virtual void Changed();

private:
    struct TStringItem {
        std::string String;
        TObject* Object = nullptr;
    };
    void CheckIndex(int index) const;
    void InsertItem(int index, std::string_view s, TObject* object);
    void SortBy(const std::function<int(int, int)>& compare);

    std::vector<TStringItem> items_;
    int capacity_ = 0;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

}  // namespace tv
