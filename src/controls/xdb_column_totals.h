#pragma once
// The totals of a grid column: one object per kind of total row (header, value rows, field rows,
// footer). A total shows a fixed caption, a field of the grid's dataset, a field of the totals'
// second dataset, or a value calculated over the grid's records (sum, average, count, maximum,
// minimum, first, last, unique or a handler's own), over all records, the selected rows or both.
//
// Like a column, a total's alignment, colour, caption and font follow their defaults until they
// are written (the total's own AssignedValues). A calculated value is formatted into the caption.

#include <memory>
#include <string>

#include "controls/xdb_columns.h"
#include "platform/rtl/variant.h"

namespace tv {

class TField;
class TPopupMenu;

enum TTotalBox : uint8_t { tbFalse, tbTrue, tbAuto };
TV_ENUM_INFO(TTotalBox, "tbFalse", "tbTrue", "tbAuto");
enum TCalcApply : uint8_t { caWholeDataSet, caSelectedRows, caBoth };
TV_ENUM_INFO(TCalcApply, "caWholeDataSet", "caSelectedRows", "caBoth");
enum TCalcValue : uint8_t { cvSum, cvAvg, cvCount, cvMax, cvMin, cvFirst, cvLast, cvUnique, cvCustom };
TV_ENUM_INFO(TCalcValue, "cvSum", "cvAvg", "cvCount", "cvMax", "cvMin", "cvFirst", "cvLast", "cvUnique",
             "cvCustom");
// What a Null value does in a calculation: left out, counted (but not added), or counted as 0.
enum TNullValue : uint8_t { nvExclude, nvInclude, nvAsZero };
TV_ENUM_INFO(TNullValue, "nvExclude", "nvInclude", "nvAsZero");
enum TTotalResult : uint8_t { trNone, trCaption, trDataField, trTotalField, trCalcValue };
TV_ENUM_INFO(TTotalResult, "trNone", "trCaption", "trDataField", "trTotalField", "trCalcValue");
enum TCalcPass : uint8_t { cpReset, cpCalcRec, cpFinal };
TV_ENUM_INFO(TCalcPass, "cpReset", "cpCalcRec", "cpFinal");

// The part of a "whole|selected" text in use: before the first "|" for the whole dataset, after it
// while the totals describe selected rows or columns; a text without "|" is used whole.
std::string TotalTextPart(const std::string& text, bool selected);

// The base of every total.
class TXColumnTotal : public TCollectionItem {
    TV_CLASS(TXColumnTotal, TCollectionItem)
public:
    // A total in a column's value collection, or (Column given) owned by the column directly.
    explicit TXColumnTotal(TCollection* Collection);
    TXColumnTotal(TXColumn* Column, TTotalResult Result);
    ~TXColumnTotal() override;

    TXColumn* Column() const { return fColumn; }
    TXCustomDBGrid* Grid() const;
    TXColumnValues AssignedValues() const { return fAssignedValues; }

    // ---- look, following the column and the grid's Totals until written ----
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    TColor Color() const;
    void SetColor(TColor value);
    TFont* Font() const;
    void SetFont(TFont* value) { fFont->Assign(value); }
    TAlignment DefaultAlignment() const;
    TColor DefaultColor() const;
    TFont* DefaultFont() const;

    bool Ellipsis() const { return fEllipsis; }
    void SetEllipsis(bool value) { SetDisplayed(fEllipsis, value); }
    const std::string& Hint() const { return fHint; }
    void SetHint(const std::string& value) { fHint = value; }
    int ImageIndex() const { return fImageIndex; }
    void SetImageIndex(int value) { SetDisplayed(fImageIndex, value); }
    TPopupMenu* PopupMenu() const { return fPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    bool ToolTips() const { return fToolTips; }
    void SetToolTips(bool value) { fToolTips = value; }
    TToolTipsWidth ToolTipsWidth() const { return fToolTipsWidth; }
    void SetToolTipsWidth(TToolTipsWidth value) { fToolTipsWidth = value; }
    TTotalBox TotalBox() const { return fTotalBox; }
    void SetTotalBox(TTotalBox value) { SetDisplayed(fTotalBox, value); }
    TVAlignment VAlignment() const { return fVAlignment; }
    void SetVAlignment(TVAlignment value) { SetDisplayed(fVAlignment, value); }
    bool Visible() const { return fVisible; }
    void SetVisible(bool value) { SetDisplayed(fVisible, value); }
    bool WordWrap() const { return fWordWrap; }
    void SetWordWrap(bool value) { SetDisplayed(fWordWrap, value); }

    // ---- what the total shows ----
    TTotalResult TotalResult() const { return fTotalResult; }
    void SetTotalResult(TTotalResult value);
    const std::string& FieldName() const { return fFieldName; }
    void SetFieldName(const std::string& value);
    // Bound lazily: trDataField and trCalcValue look FieldName (else the column's) up in the grid's
    // dataset, trTotalField looks FieldName up in the totals' dataset.
    TField* Field() const;
    void SetField(TField* value);
    // The grid's field went away: the total forgets it.
    void FieldRemoved(const TComponent* value);
    const std::string& Caption() const { return fCaption; }
    virtual void SetCaption(const std::string& value);
    // The text shown before the grid's OnTotalGetText.
    std::string DisplayText() const { return GetDisplayText(); }

    // Clears the assigned colour, alignment and font and resets the plain properties (not the
    // caption, field name, result kind or calculation settings).
    virtual void RestoreDefaults();
    void Assign(TPersistent* Source) override;

protected:
    virtual std::string GetDisplayText() const;
    // Repaints the total's cells (through the column's TotalChanged).
    void Changed();
    template <class T>
    void SetDisplayed(T& field, const T& value) {
        if (field == value) return;
        field = value;
        Changed();
    }
    // The field's text at the totals link's record `recNo` (0-based), the link's record kept.
    std::string TotalFieldText(int recNo) const;

    TXColumnValues fAssignedValues;
    std::string fCaption;

private:
    void FontChanged();
    void RefreshDefaultFont() const;
    void Rebind();

    TXColumn* fColumn;
    std::unique_ptr<TFont> fFont;
    TAlignment fAlignment = taLeftJustify;
    TColor fColor = clBtnFace;
    mutable TField* fField = nullptr;
    std::string fFieldName;
    bool fEllipsis = true;
    std::string fHint;
    int fImageIndex = -1;
    TPopupMenu* fPopupMenu = nullptr;
    bool fToolTips = true;
    TToolTipsWidth fToolTipsWidth = ttAutoWidth;
    TTotalBox fTotalBox = tbAuto;
    TTotalResult fTotalResult = trCaption;
    TVAlignment fVAlignment = tvCenter;
    bool fVisible = true;
    bool fWordWrap = true;
};

// A total of a header, value or footer row: a caption, a field, or a calculated value.
class TXColumnTotalValue : public TXColumnTotal {
    TV_CLASS(TXColumnTotalValue, TXColumnTotal)
public:
    explicit TXColumnTotalValue(TCollection* Collection);
    explicit TXColumnTotalValue(TXColumn* Column);

    // Writing the caption empties Value.
    void SetCaption(const std::string& value) override;
    TCalcApply CalcApply() const { return fCalcApply; }
    void SetCalcApply(TCalcApply value);
    TCalcValue CalcValue() const { return fCalcValue; }
    void SetCalcValue(TCalcValue value);
    // A Format text ("whole|selected" parts allowed), or for dates and Booleans "text%pattern%text".
    const std::string& Format() const { return fFormat; }
    void SetFormat(const std::string& value);
    bool FormatAsFloat() const { return fFormatAsFloat; }
    void SetFormatAsFloat(bool value);
    TNullValue NullValue() const { return fNullValue; }
    void SetNullValue(TNullValue value);
    // The 1-based record of the totals' dataset a trTotalField value shows; 0 or less becomes 1.
    int TotalRecNo() const { return fTotalRecNo; }
    void SetTotalRecNo(int value);
    // Writing the value formats it into the caption.
    const Variant& Value() const { return fValue; }
    void SetValue(const Variant& value);

    // The running state of a calculation, between cpReset and cpFinal.
    int Counter = 0;
    Variant TempValue;

    // One pass of the calculation; whether the total took part in it.
    virtual bool Calculate(TCalcPass Pass);
    // The text of a value by Format; never raises (a format that fails shows the value as text).
    virtual std::string FormatValue(const Variant& AValue) const;

    void Assign(TPersistent* Source) override;
    std::string DisplayName() const override;

protected:
    std::string GetDisplayText() const override;

private:
    void CalculationChanged();
    void Reformat();
    void AddRecord(Variant v);

    TCalcApply fCalcApply = caBoth;
    TCalcValue fCalcValue = cvSum;
    std::string fFormat;
    bool fFormatAsFloat = false;
    TNullValue fNullValue = nvExclude;
    int fTotalRecNo = 1;
    Variant fValue;
};

// The value rows of a column: a collection of value totals.
class TXColumnTotalValues : public TCollection {
    TV_CLASS(TXColumnTotalValues, TCollection)
public:
    explicit TXColumnTotalValues(TXColumn* Column,
                                 const TClassInfo& ValueClass = TXColumnTotalValue::StaticClassInfo());
    TXColumn* Column() const { return fColumn; }
    TPersistent* Owner() const override;
    // A new value row at the end; the layout follows once the item is complete.
    TXColumnTotalValue* Add();
    TXColumnTotalValue* Items(int Index) const {
        return static_cast<TXColumnTotalValue*>(TCollection::Items(Index));
    }
    void RestoreDefaults();

protected:
    // Adding or removing a value row changes the layout.
    void Update(TCollectionItem* Item) override;

private:
    TXColumn* fColumn;
};

class TXColumnTotalHeader : public TXColumnTotalValue {
    TV_CLASS(TXColumnTotalHeader, TXColumnTotalValue)
public:
    explicit TXColumnTotalHeader(TXColumn* Column) : TXColumnTotalValue(Column) {}
};

class TXColumnTotalFooter : public TXColumnTotalValue {
    TV_CLASS(TXColumnTotalFooter, TXColumnTotalValue)
public:
    explicit TXColumnTotalFooter(TXColumn* Column) : TXColumnTotalValue(Column) {}
};

// The field rows: one row per buffered record of the totals' dataset, showing FieldName.
class TXColumnTotalFields : public TXColumnTotal {
    TV_CLASS(TXColumnTotalFields, TXColumnTotal)
public:
    explicit TXColumnTotalFields(TXColumn* Column) : TXColumnTotal(Column, trTotalField) {}
};

}  // namespace tv
