#pragma once
// What a lookup control does, apart from how it looks. A lookup control is bound to a field of one
// dataset (DataSource, DataField) whose value is the key of a row of another dataset, the list
// (ListSource). The user sees the list's rows by their ListField texts and chooses one; the
// control then stores the chosen row's KeyField value into its field at once (putting the dataset
// into edit state). Without a DataSource the control only holds the chosen KeyValue.
//
// Lookup mode: when the data field is a lookup field of its dataset (TFieldKind fkLookup), the
// field itself says where the rows come from: the list is its LookupDataSet, the key field its
// LookupKeyFields, the shown field its LookupResultField (put first among the list fields), and a
// choice stores the key into the field's KeyFields field (the master field).
//
// Every lookup control owns one TLookupList, gives it a client that shows what it is told, and
// shows the rows it reads: the lookup combo and list box of this library, and the lookup controls
// of the grid library, which build on it.
//
// The rows a control shows are a window of RowCount buffered rows of the list dataset around its
// current record (the window rule of TDataLink); moving through them moves the list dataset.
//
// Errors raise EDatabaseError, prefixed by the control's name and ": " when it has one: a data,
// key or list field that its dataset lacks ("Field 'x' not found"), and a list dataset that is the
// data source's dataset or one of its masters ("Circular datalinks are not allowed").

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/data/data_source.h"
#include "platform/gui/field_data_link.h"
#include "platform/rtl/variant.h"

namespace tv {

inline constexpr std::string_view kCircularDataLink = "Circular datalinks are not allowed";

// The typed characters of one search: a pause longer than this starts a new search.
inline constexpr std::int64_t kTypeAheadPauseMs = 2000;
// A search text takes at most this many characters.
inline constexpr size_t kTypeAheadMaxLength = 32;

// What a lookup control shows; TLookupList tells it when that changes.
class ILookupListClient {
public:
    // The key value changed (set by the program, read from the field, or chosen).
    virtual void KeyValueChanged() = 0;
    // The list's rows changed, scrolled, or were bound or unbound.
    virtual void ListDataChanged() = 0;
    // The user chose a row (ChooseKeyValue): the control fires its click event.
    virtual void KeyChosen() {}
    // The data side opened or closed.
    virtual void DataActiveChanged() {}

protected:
    ~ILookupListClient() = default;
};

class TLookupList {
public:
    // `control` names the errors; `client` is told what to show.
    TLookupList(TComponent& control, ILookupListClient& client);
    ~TLookupList();
    TLookupList(const TLookupList&) = delete;
    TLookupList& operator=(const TLookupList&) = delete;

    // ---- The data side: the field that stores the key.
    TDataSource* DataSource() const { return fDataLink->DataSource(); }
    void SetDataSource(TDataSource* source);
    const std::string& DataField() const { return fDataLink->FieldName(); }
    void SetDataField(std::string name);
    // The bound field; none without a data source, while its dataset is closed, or without a name.
    TField* Field() const { return fDataLink->Field(); }
    bool ReadOnly() const { return fDataLink->ReadOnly(); }
    void SetReadOnly(bool value) { fDataLink->SetReadOnly(value); }
    TFieldDataLink& DataLink() { return *fDataLink; }
    // The field a choice is stored into: the data field, or in lookup mode its key field.
    TField* MasterField() const { return fMasterField; }
    // The data field is a lookup field (see above).
    bool LookupMode() const { return fLookupMode; }

    // ---- The list side: the rows to choose from.
    TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);
    // The field of the list dataset that holds the key.
    const std::string& KeyField() const { return fKeyFieldName; }
    void SetKeyField(std::string name);
    // The fields shown for a row, separated by ";"; the key field when empty.
    const std::string& ListField() const { return fListFieldName; }
    void SetListField(std::string names);
    // Which of the list fields is the one shown where a control shows only one (a combo's text);
    // the first when out of range.
    int ListFieldIndex() const { return fListFieldIndex; }
    void SetListFieldIndex(int index);
    // The bound list fields: all of them, the shown one, the key field. ListActive() tells whether
    // they are bound (the list dataset is open and a key field is named).
    bool ListActive() const { return fListActive; }
    const std::vector<TField*>& ListFields() const { return fListFields; }
    TField* ShownField() const { return fShownField; }
    TField* ListKeyField() const { return fListKeyField; }
    TDataSet* ListDataSet() const;

    // ---- The key.
    const Variant& KeyValue() const { return fKeyValue; }
    // Takes a different value only (values that cannot be compared count as different) and tells
    // the client.
    void SetKeyValue(const Variant& value);
    // The user may choose a row: the list is bound, the control is not read-only, and a bound
    // field (when there is a data source) can be changed.
    bool CanEditValue() const;
    // Moves the list dataset to the first row whose key equals KeyValue; false when there is none
    // (or no key, or the list is closed). Never raises.
    bool FindKeyRecord();
    // The user chose the row with this key: without a data source it becomes KeyValue; otherwise
    // the field gets it when the dataset can be put into edit state.
    void ChooseKeyValue(const Variant& key);

    // ---- The rows shown.
    // How many rows the control shows (at least 1): the size of the window.
    int RowCount() const;
    void SetRowCount(int rows);
    // Rows in the window now, and the window row of the list dataset's current record.
    int RecordCount() const;
    int CurrentRow() const;
    // A row's text in `field` (one of ListFields) and its key; empty or Null outside the window.
    std::string RowText(int row, const TField* field) const;
    Variant RowKey(int row) const;
    // The window row whose key is KeyValue, or -1.
    int KeyRow() const;
    // Moves the list dataset (see TDataSet::MoveBy, First, Last).
    int MoveBy(int distance);
    void First();
    void Last();

    // ---- Choosing by typing. The typed text is searched as the beginning of the shown field's
    // text, letter case ignored; a hit chooses that row. Backspace and Escape clear the search.
    // A pause of more than kTypeAheadPauseMs since the previous character of any lookup control
    // starts a new search; the pause is measured on the timer clock (timer_clock.h). Returns
    // whether the character was taken.
    bool TypeAheadSearch(char16_t ch);
    const std::string& SearchText() const { return fSearchText; }
    void ClearSearch() { fSearchText.clear(); }

private:
    class TListSourceLink;
    class TDataSourceLink;
    void BindDataField();
    void SetLookupMode(bool on);
    void BindListFields();
    void RefreshKeyValue();
    void CheckNotCircular() const;
    // Runs `read` with the list dataset reading the window row `row`.
    template <class F>
    auto ReadRow(int row, F read) const;

    TComponent& fControl;
    ILookupListClient& fClient;
    std::unique_ptr<TFieldDataLink> fDataLink;  // a TDataSourceLink
    std::unique_ptr<TListSourceLink> fListLink;
    // The list source of lookup mode: the lookup field's dataset.
    TDataSource fLookupSource;
    TField* fBoundField = nullptr;  // the data field the master field was found for
    TField* fMasterField = nullptr;
    bool fLookupMode = false;
    std::string fKeyFieldName;
    std::string fListFieldName;
    int fListFieldIndex = 0;
    std::vector<TField*> fListFields;
    TField* fShownField = nullptr;
    TField* fListKeyField = nullptr;
    bool fListActive = false;
    Variant fKeyValue = Variant::Null();
    std::string fSearchText;
    bool fDestroying = false;
};

}  // namespace tv
