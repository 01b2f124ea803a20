#pragma once
// One field of a dataset: its definition, display properties and typed access to the value of the
// dataset's active record. Values are read from and written to the dataset's record buffers; text
// conversions follow the field's type and the dataset's format settings.

#include "platform/data/field_type.h"
#include "platform/data/value_view.h"
#include "platform/rtl/alignment.h"
#include "platform/rtl/component.h"
#include "platform/rtl/event.h"
#include "platform/rtl/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class TDataSet;

class TField;
using TFieldNotifyEvent = TEvent<void(TField*)>;
// Gives the text of a field in place of its own conversion: DisplayText true for showing it, false
// for editing it.
using TFieldGetTextEvent = TEvent<void(TField* Sender, std::string& Text, bool DisplayText)>;
// Stores a text typed into a field in place of its own conversion.
using TFieldSetTextEvent = TEvent<void(TField* Sender, const std::string& Text)>;

// Where a field's value comes from: the record itself (fkData), or a row of another dataset
// (fkLookup: the row whose LookupKeyFields equal the record's KeyFields gives its
// LookupResultField). Calculated kinds are named for the controls that tell kinds apart; no dataset
// here calculates fields.
enum TFieldKind : std::uint8_t { fkData, fkCalculated, fkLookup, fkInternalCalc };
TV_ENUM_INFO(TFieldKind, "fkData", "fkCalculated", "fkLookup", "fkInternalCalc");

// Fields belong to their dataset, which makes and frees them; they have no owner component.
class TField : public TComponent {
    TV_CLASS(TField, TComponent)
public:
    ~TField() override;
    TDataSet* DataSet() const { return dataSet_; }
    const std::string& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    // Position of the field's value in the record (1-based), fixed while the dataset is open.
    int FieldNo() const { return fieldNo_; }
    // Position among the dataset's fields (0-based), or a sub-field's among its parent's;
    // settable to reorder them.
    int Index() const;
    void SetIndex(int index);

    // Object fields (ftADT, ftArray) hold sub-fields and no value of their own: their value is
    // the array of their sub-fields' values, null while every sub-field is null. A sub-field's
    // full name is its parent's and its own joined by "." ("Address.City"); an array's elements
    // are named by their index ("Phones[0]") and take no further part of the name from it.
    bool IsObjectField() const { return IsObjectType(dataType_); }
    TField* ParentField() const { return parent_; }
    std::string FullName() const;
    int SubFieldCount() const { return static_cast<int>(subFields_.size()); }
    // EListError outside 0 .. SubFieldCount()-1.
    TField& SubFields(int index) const;

    // A dataset field's (ftDataSet) nested dataset, made with the field and freed with it; none
    // for other fields. It opens and closes with this field's dataset and shows the records that
    // belong to the current record.
    TDataSet* NestedDataSet() const { return nested_.get(); }

    // The display properties below tell an open dataset's controls of a change (a layout change),
    // so that grids lay their columns out again.
    // The label grids and text tables show; the field name until one is set.
    const std::string& DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    void SetDisplayLabel(std::string label);
    const std::string& DisplayName() const { return DisplayLabel(); }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // The width in characters that grids give the field's column: by type until set (a string
    // its Size, an integer 11, a date 10 ...). Values below 0 read as the type's width again.
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    // Numbers right, everything else left, as grids align them, until set.
    TAlignment Alignment() const;
    void SetAlignment(TAlignment alignment);
    // Whether the value can be changed now: a data field, not read-only, of an open dataset.
    bool CanModify() const;
    // Whether a typed character can stand in the field's text: digits and signs in integers,
    // with the decimal separator and exponent letters in floats; anything in other fields.
    bool IsValidChar(char16_t ch) const;

    TFieldKind FieldKind() const { return kind_; }
    bool Lookup() const { return kind_ == fkLookup; }
    bool Calculated() const { return kind_ == fkCalculated; }
    // A lookup field's definition (TDataSet::AddLookupField): the record's fields that hold the
    // key (";"-separated), the dataset looked in (not owned; it must outlive the lookups), its
    // fields that must equal the key, and its field that gives the value.
    const std::string& KeyFields() const { return keyFields_; }
    TDataSet* LookupDataSet() const { return lookupDataSet_; }
    const std::string& LookupKeyFields() const { return lookupKeyFields_; }
    const std::string& LookupResultField() const { return lookupResultField_; }

    bool IsNull() const;
    void Clear();

    // The value as text, and text converted into the value by the field's type: a string is cut to
    // Size characters; a number, date or time is read with the dataset's format settings; a Boolean
    // accepts any leading part of "True" or "False" in any letter case; empty text clears every
    // field that is not a string. A text that does not convert raises, leaving the value as it was.
    std::string AsString() const;
    void SetAsString(std::string_view text);
    // Text and DisplayText go through OnGetText when it is set, SetText through OnSetText.
    std::string Text() const { return GetText(false); }
    void SetText(std::string_view text);
    std::string DisplayText() const { return GetText(true); }

    // Typed access; a null value reads as 0, false or empty. A type the field cannot give or take
    // raises EDatabaseError "Cannot access field ... as type ...".
    int AsInteger() const;
    void SetAsInteger(int value);
    std::int64_t AsLargeInt() const;
    void SetAsLargeInt(std::int64_t value);
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    double AsFloat() const;
    void SetAsFloat(double value);
    double AsCurrency() const { return AsFloat(); }
    void SetAsCurrency(double value);
    double AsDateTime() const;  // TDateTime: days since 1899-12-30
    void SetAsDateTime(double value);

    // The value as a variant: Null for no value; strings as text, integer fields as Integer (Int64
    // for largeint), floats as Double, currencies as Currency, dates and times as Date.
    Variant Value() const;
    void SetValue(const Variant& value);
    Variant AsVariant() const { return Value(); }
    void SetAsVariant(const Variant& value) { SetValue(value); }
    // In edit state the value the record held when the edit began; in insert state Empty, the
    // class library's Unassigned (the record had no value before); otherwise the current value.
    Variant OldValue() const;
    // The value the record will be posted with: in edit and insert state the current value of the
    // edit buffer (Null for a field not set in a new record); otherwise the current value.
    Variant NewValue() const { return Value(); }

    // Raised before a new value is stored (it may raise to refuse it) and after it was stored.
    TFieldNotifyEvent OnValidate;
    TFieldNotifyEvent OnChange;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

    // The stored value itself, without conversion; texts stay valid until the record changes.
    TValueView ValueView() const { return Read(); }

    // Asks the data-aware controls to move the focus to the control showing this field.
    void FocusControl();

private:
    friend class TDataSet;
    TField(TDataSet* dataSet, std::string name, TFieldType type, int size, bool required);

    TValueView Read() const;
    std::string GetText(bool display) const;
    // A display property changed: an open dataset's controls lay out again.
    void LayoutChanged();
    void Write(const TValueView& value);
    void WriteText(std::string_view text);
    void WriteInteger(std::int64_t value);
    void WriteFloat(double value);
    [[noreturn]] void AccessError(std::string_view typeName) const;
    // What a sub-field's full name begins with: "" at the top, "Parent." under a structure.
    std::string NamePrefix() const;
    std::vector<std::unique_ptr<TField>>& Siblings();

    TDataSet* dataSet_;
    std::unique_ptr<TDataSet> nested_;  // a dataset field's
    TField* parent_ = nullptr;
    std::vector<std::unique_ptr<TField>> subFields_;  // an object field's, in Index order
    TFieldKind kind_ = fkData;
    std::string keyFields_;
    TDataSet* lookupDataSet_ = nullptr;
    std::string lookupKeyFields_;
    std::string lookupResultField_;
    std::string fieldName_;
    std::string displayLabel_;
    TFieldType dataType_;
    int size_;
    int fieldNo_ = 0;
    bool visible_ = true;
    bool readOnly_ = false;
    int displayWidth_ = -1;           // -1: the type's width
    int alignment_ = -1;              // -1: by type, else a TAlignment
    bool required_;
};

}  // namespace tv
