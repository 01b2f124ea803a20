// The grid's order: the order text its sort markers show (OrderFields), the order-update bracket
// that turns any number of marker changes into one notice, and the requests that bring the
// markers and the dataset's order together.

#include <algorithm>
#include <string>
#include <string_view>

#include "controls/xdb_change_order.h"
#include "controls/xdb_columns.h"
#include "controls/xdb_grid.h"
#include "platform/data/data_set.h"
#include "platform/rtl/trim.h"

namespace tv {

namespace {

// Where `token` (upper-case ASCII) occurs in `text` in any letter case; npos when it does not.
size_t FindNoCase(std::string_view text, std::string_view token) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    auto it = std::search(text.begin(), text.end(), token.begin(), token.end(),
                          [&](char a, char b) { return upper(a) == b; });
    return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

struct TOrderItem {
    std::string Name;
    bool Descending = false;
};

// One item of order text: a field name, then " DESC" or " ASC" in any letter case.
TOrderItem ParseOrderItem(std::string_view item) {
    TOrderItem result;
    if (size_t at = FindNoCase(item, " DESC"); at != std::string_view::npos) {
        result.Descending = true;
        item = item.substr(0, at);
    } else if (size_t asc = FindNoCase(item, " ASC"); asc != std::string_view::npos) {
        item = item.substr(0, asc);
    }
    result.Name = Trim(item);
    return result;
}

}  // namespace

// ---------------------------------------------------------------- OrderFields

bool TXCustomDBGrid::OrderWithoutColumns() const {
    TDataSet* dataSet = fDataLink->DataSet();
    return fColumns->State() == csDefault && (!fDataLink->Active() || !dataSet || !dataSet->Active());
}

std::string TXCustomDBGrid::OrderFields() const {
    if (OrderWithoutColumns()) return fLastOrderFields;
    std::string text;
    for (TXColumn* column : fColumns->OrderList()) {
        if (!text.empty()) text += ',';
        text += column->FieldName();
        if (column->Title()->Marker() == tmDescend) text += " DESC";
    }
    return text;
}

void TXCustomDBGrid::SetOrderFields(const std::string& Value) {
    InOrderUpdate([&] {
        if (OrderWithoutColumns()) {
            fLastOrderFields = Value;
            return;
        }
        // A form being read restores its columns' markers itself; its order text only puts the
        // order list in its order then.
        const bool reorder = ComponentState().Contains(csLoading) && !fOptions.Contains(dgMarkerAutoSwitch) &&
                             !fOptions.Contains(dgMarkerAutoToggle);
        if (!reorder) fColumns->RemoveMarkers();
        std::vector<TXColumn*>& list = fColumns->OrderList();
        std::string_view rest = Value;
        size_t i = 0;
        while (true) {
            std::string text = Trim(rest);
            if (text.empty()) break;
            const size_t comma = text.find(',');
            const TOrderItem item = ParseOrderItem(std::string_view(text).substr(0, comma));
            rest = comma == std::string::npos ? std::string_view() : rest.substr(rest.find(',') + 1);
            const size_t position = i++;
            if (TXColumn* column = FindColumn(item.Name)) {
                auto at = std::find(list.begin(), list.end(), column);
                if (reorder) {
                    if (at != list.end() && static_cast<size_t>(at - list.begin()) >= position)
                        std::iter_swap(list.begin() + static_cast<std::ptrdiff_t>(position), at);
                } else if (at == list.end() && static_cast<int>(list.size()) < kMaxOrderedColumns) {
                    column->Title()->SetMarkerIndex(2 * static_cast<int>(list.size()) + 2 +
                                                    (item.Descending ? 1 : 0));
                }
            }
            if (fOptions.Contains(dgMarkerAutoSwitch) || comma == std::string::npos) break;
        }
        fLastOrderFields = OrderFields();
    });
}

// ---------------------------------------------------------------- the bracket

void TXCustomDBGrid::BeginOrderUpdate() {
    if (fOrderChangeLock++ > 0) return;
    BeginUpdate();
    fLockOrderFields = OrderFields();
}

void TXCustomDBGrid::EndOrderUpdate() {
    if (fOrderChangeLock == 0) return;
    if (--fOrderChangeLock > 0) return;
    EndUpdate();
    const std::string order = OrderFields();
    if (order == fLockOrderFields) return;
    fLastOrderFields = order;
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    if (fDataLink->Active()) fDataLink->DataSet()->CheckBrowseMode();
    InvalidateTitles();
    DoOrderChanged();
}

void TXCustomDBGrid::DoOrderChanged() {
    const bool ordered = fOptionsEx.Contains(dgAutoUpdateOrder) && ChangeDataSetOrder({});
    if (!ordered && OnOrderChanged) OnOrderChanged(this);
}

void TXCustomDBGrid::SetupOrderFields(const std::string& Value) {
    // Held one level up, the setter's own bracket never reaches 0: no notice.
    ++fOrderChangeLock;
    try {
        SetOrderFields(Value);
    } catch (...) {
        --fOrderChangeLock;
        throw;
    }
    --fOrderChangeLock;
}

void TXCustomDBGrid::SetupCurrentOrder() {
    SetupOrderFields(CurrentDataSetOrder());
}

// ---------------------------------------------------------------- ordering the dataset

namespace {

// The grid as the ordering module sees it (xdb_change_order.h): its dataset, order text, key
// fields, marker options, position keeping and update lock.
class TGridOrderHost final : public IDataSetOrderHost {
public:
    explicit TGridOrderHost(TXCustomDBGrid& grid) : fGrid(grid) {}
    TDataSet* OrderDataSet() const override {
        TDataSource* source = fGrid.DataSource();
        return source ? source->DataSet() : nullptr;
    }
    std::string OrderFields() const override { return fGrid.OrderFields(); }
    std::string KeyFields() const override { return fGrid.KeyFields(); }
    bool AutoAscendOrder() const override { return fGrid.OptionsEx().Contains(dgAutoAscendOrder); }
    bool MarkerAscendOnly() const override { return fGrid.Options().Contains(dgMarkerAscendOnly); }
    void SetMarkerAscendOnly(bool Value) override {
        TXDBGridOptions options = fGrid.Options();
        if (Value)
            options.Include(dgMarkerAscendOnly);
        else
            options.Exclude(dgMarkerAscendOnly);
        fGrid.SetOptions(options);
    }
    void DisablePosition() override { fGrid.DisablePosition(); }
    void EnablePosition(bool UseCurrentRec) override { fGrid.EnablePosition(UseCurrentRec); }
    void BeginUpdate() override { fGrid.BeginUpdate(); }
    void EndUpdate() override { fGrid.EndUpdate(); }
    void SetupOrderFields(const std::string& Value) override { fGrid.SetupOrderFields(Value); }
    void ClearSelection() override { fGrid.ClearSelection(); }
    void OrderUpdated() override { fGrid.OrderUpdated(); }

private:
    TXCustomDBGrid& fGrid;
};

}  // namespace

bool TXCustomDBGrid::ChangeDataSetOrder(const std::string& AOrderFields) {
    // An empty argument stands for the order the markers show now.
    TGridOrderHost host(*this);
    return tv::ChangeDataSetOrder(host, AOrderFields.empty() ? OrderFields() : AOrderFields);
}

std::string TXCustomDBGrid::CurrentDataSetOrder() {
    TGridOrderHost host(*this);
    return tv::CurrentDataSetOrder(host);
}

void TXCustomDBGrid::OrderUpdated() {
    if (OnOrderUpdated) OnOrderUpdated(this);
}

void TXCustomDBGrid::UpdateOrder(bool CheckAutoUpdate) {
    if (ComponentState().Contains(csLoading)) return;
    if (CheckAutoUpdate) {
        if (fOptionsEx.Contains(dgLoadCurrentOrder)) {
            SetupCurrentOrder();
            return;
        }
        if (!fOptionsEx.Contains(dgAutoUpdateOrder)) return;
    }
    DoUpdateOrder();
}

void TXCustomDBGrid::DoUpdateOrder() {
    ChangeDataSetOrder({});
}

void TXCustomDBGrid::OrderOnActivation() {
    if (fOptionsEx.Contains(dgLoadCurrentOrder)) {
        SetupCurrentOrder();
    } else if (fOptionsEx.Contains(dgAutoUpdateOrder)) {
        const std::string order = fLastOrderFields;
        ChangeDataSetOrder(order);
        if (fColumns->State() == csDefault) SetupOrderFields(order);
    }
}

}  // namespace tv
