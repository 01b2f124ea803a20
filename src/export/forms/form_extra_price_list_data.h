#pragma once
// The dialog "Skicka prislista": before a customer price list is written with extra data, the
// operator sees the customer's row of the customer price-list table (CDSExportCustomerPricelistData)
// and may change its running number and agreement reference. TExtraPriceListDataDialog puts it
// behind the export engine's question.

#include <string_view>

#include "export/extra_price_list_data.h"
#include "platform/gui/form.h"

namespace tv {

class TButton;
class TDBEdit;
class TDataSet;
class TDataSource;
class TGroupBox;
class TLabel;

inline constexpr std::string_view kExtraPriceListDataCaption = "Skicka prislista";

class TFormExtraPriceListData : public TForm {
    TV_CLASS(TFormExtraPriceListData, TForm)
public:
    // The form over the current row of `data`, which must outlive it.
    TFormExtraPriceListData(TComponent* owner, TDataSet& data);
    ~TFormExtraPriceListData() override;

    // Shows the form modally; OK posts what was typed into the row, anything else drops it.
    TModalResult Execute();

    TGroupBox* CustomerGroup = nullptr;
    TDBEdit* CustomerNumberEdit = nullptr;
    TDBEdit* CustomerNameEdit = nullptr;
    TLabel* NoteLabel = nullptr;
    TGroupBox* PriceListGroup = nullptr;
    TDBEdit* SerialEdit = nullptr;
    TDBEdit* AgreementReferenceEdit = nullptr;
    TButton* OkButton = nullptr;
    TButton* CancelButton = nullptr;

private:
    // Enter in an edit moves the focus on to the next control, as Tab does.
    void EditKeyPress(TObject* Sender, char16_t& Key);

    TDataSource* fSource;
};

// The engine's question answered by the form, owned by `owner` (the main window, or none).
class TExtraPriceListDataDialog : public IExtraPriceListData {
public:
    explicit TExtraPriceListDataDialog(TComponent* owner = nullptr) : fOwner(owner) {}
    bool Execute(TDataSet& data) override;

private:
    TComponent* fOwner;
};

}  // namespace tv
