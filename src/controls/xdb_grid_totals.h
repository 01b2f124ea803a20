#pragma once
// The grid-wide settings of the total rows under the data (Totals) and the data link of the
// second dataset whose records the total-field rows show. The totals of each column and their
// calculation build on these.

#include <memory>

#include "controls/xdb_column_totals.h"
#include "controls/xdb_columns.h"
#include "platform/data/data_source.h"
#include "platform/gui/font.h"
#include "platform/rtl/persistent.h"

namespace tv {

class TImageList;
class TXCustomDBGrid;

// Follows the dataset of the total-field rows, buffering at most DataMaxRow of its records.
class TXTotalDataLink : public TDataLink {
public:
    explicit TXTotalDataLink(TXCustomDBGrid* AGrid);
    TXCustomDBGrid* Grid() const { return fGrid; }
    // min(DataMaxRow, records) when DataMaxRow is above 0, else every record; only while active.
    void UpdateBufferCount();

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int) override {}
    void RecordChanged(TField* field) override;

private:
    TXCustomDBGrid* fGrid;
};

class TXDBGridTotals : public TPersistent {
    TV_CLASS(TXDBGridTotals, TPersistent)
public:
    explicit TXDBGridTotals(TXCustomDBGrid* AGrid);
    ~TXDBGridTotals() override;

    TXCustomDBGrid* Grid() const { return fGrid; }
    TCheckBoxStyle BoxStyle() const { return fBoxStyle; }
    void SetBoxStyle(TCheckBoxStyle value);
    bool CalcValues() const { return fCalcValues; }
    void SetCalcValues(bool value);
    // clBtnFace until set (the grid's FixedColor then carries it along).
    TColor Color() const { return fColor; }
    void SetColor(TColor value);
    bool ColorAssigned() const { return fColorAssigned; }
    // The grid's FixedColor changed: the colour follows it until set.
    void FollowFixedColor(TColor value);
    // Most records shown as total-field rows; 0: all. Negative values become 0.
    int DataMaxRow() const { return fDataMaxRow; }
    void SetDataMaxRow(int value);
    // The second dataset. Refused: the grid's own data source ("Circular datalinks are not
    // allowed", skipped while the grid loads) and a unidirectional dataset.
    TDataSource* DataSource() const { return fDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    TXTotalDataLink* DataLink() const { return fDataLink.get(); }
    TFont* Font() const { return fFont.get(); }
    void SetFont(TFont* value) { fFont->Assign(value); }
    TImageList* Images() const { return fImages; }
    void SetImages(TImageList* value);
    // Text lines per total row; 0 or less becomes 1.
    int LinesCount() const { return fLinesCount; }
    void SetLinesCount(int value);
    // clDefault: DefaultSelectedColor.
    TColor SelectedColor() const { return fSelectedColor; }
    void SetSelectedColor(TColor value);
    // The grid's cell-selection colour on a themed grid (unless its FixedTheme is ftDefault, drawn
    // as the later systems draw it), else its row-selection colour.
    TColor DefaultSelectedColor() const;
    // Set by the totals calculation while the totals describe selected rows or columns.
    bool SelectedRows = false;
    bool SelectedCols = false;
    bool Selected() const { return SelectedRows || SelectedCols; }
    // Any total row is switched on.
    bool Visible() const;

    // The grid copies its parent's font here without counting it as a change of the totals font.
    void CopyFont(TFont* value);
    void Assign(TPersistent* Source) override;

private:
    void FontChanged();
    void Relayout(bool editor);

    TXCustomDBGrid* fGrid;
    std::unique_ptr<TXTotalDataLink> fDataLink;
    std::unique_ptr<TFont> fFont;
    TCheckBoxStyle fBoxStyle = cbAuto;
    bool fCalcValues = true;
    TColor fColor = clBtnFace;
    bool fColorAssigned = false;
    int fDataMaxRow = 5;
    TImageList* fImages = nullptr;
    int fLinesCount = 1;
    TColor fSelectedColor = clDefault;
    bool fCopyingFont = false;
};

}  // namespace tv
