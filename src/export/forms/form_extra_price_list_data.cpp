#include "export/forms/form_extra_price_list_data.h"

#include <algorithm>
#include <vector>

#include "platform/data/data_set.h"
#include "platform/data/data_source.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/group_box.h"
#include "platform/gui/label.h"
#include "platform/rtl/class_info.h"

namespace tv {
namespace {

constexpr int kClientWidth = 500;
constexpr int kClientHeight = 232;
constexpr int kLabelLeft = 12;
constexpr int kEditLeft = 280;
constexpr int kEditWidth = 200;

template <class C>
C* Make(TForm& form, TWinControl* parent, const char* name) {
    auto* c = new C(&form);
    c->SetName(name);
    c->SetParent(parent);
    return c;
}

// A caption and the edit bound to `field` on one line of a group.
TDBEdit* AddField(TForm& form, TGroupBox* group, TDataSource* source, const char* name, const char* caption,
                  const char* field, int top) {
    auto* label = Make<TLabel>(form, group, (std::string(name) + "Label").c_str());
    label->SetBounds(kLabelLeft, top + 3, kEditLeft - kLabelLeft - 4, 15);
    label->SetCaption(caption);
    auto* edit = Make<TDBEdit>(form, group, name);
    edit->SetBounds(kEditLeft, top, kEditWidth, 21);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

}  // namespace

const TClassInfo& TFormExtraPriceListData::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFormExtraPriceListData>("TFormExtraPriceListData").Build();
    return info;
}

TFormExtraPriceListData::TFormExtraPriceListData(TComponent* owner, TDataSet& data)
    : TForm(owner), fSource(new TDataSource(this)) {
    SetName("FormExtraPriceListData");
    SetCaption(std::string(kExtraPriceListDataCaption));
    SetPosition(poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    fSource->SetDataSet(&data);

    CustomerGroup = Make<TGroupBox>(*this, this, "CustomerGroup");
    CustomerGroup->SetCaption("Kund:");
    CustomerGroup->SetBounds(8, 8, kClientWidth - 16, 76);
    CustomerNumberEdit =
        AddField(*this, CustomerGroup, fSource, "CustomerNumberEdit", "Kundnr", "customernumber", 18);
    CustomerNameEdit =
        AddField(*this, CustomerGroup, fSource, "CustomerNameEdit", "Namn", "customername", 44);
    CustomerNumberEdit->SetReadOnly(true);
    CustomerNameEdit->SetReadOnly(true);

    NoteLabel = Make<TLabel>(*this, this, "NoteLabel");
    NoteLabel->SetBounds(12, 92, kClientWidth - 24, 15);
    NoteLabel->SetCaption("Mer uppgifter för prislista som inte finns i Administration");

    PriceListGroup = Make<TGroupBox>(*this, this, "PriceListGroup");
    PriceListGroup->SetBounds(8, 112, kClientWidth - 16, 76);
    SerialEdit = AddField(*this, PriceListGroup, fSource, "SerialEdit", "Prislista - Löpnr", "lopnr", 18);
    AgreementReferenceEdit = AddField(*this, PriceListGroup, fSource, "AgreementReferenceEdit",
                                      "Avtalsnummer / Referens till avtalsnummer", "agreementref", 44);

    OkButton = Make<TButton>(*this, this, "OkButton");
    OkButton->SetBounds(kClientWidth - 172, kClientHeight - 33, 75, 25);
    OkButton->SetCaption("&OK");
    OkButton->SetModalResult(mrOk);
    CancelButton = Make<TButton>(*this, this, "CancelButton");
    CancelButton->SetBounds(kClientWidth - 88, kClientHeight - 33, 75, 25);
    CancelButton->SetCaption("A&vbryt");
    CancelButton->SetModalResult(mrCancel);

    for (TDBEdit* edit : {CustomerNumberEdit, CustomerNameEdit, SerialEdit, AgreementReferenceEdit})
        edit->OnKeyPress = [this](TObject* sender, char16_t& key) { EditKeyPress(sender, key); };
    SetActiveControl(AgreementReferenceEdit);
}

TFormExtraPriceListData::~TFormExtraPriceListData() {
    // The edits let go of the data source before it goes.
    for (TDBEdit* edit : {CustomerNumberEdit, CustomerNameEdit, SerialEdit, AgreementReferenceEdit})
        edit->SetDataSource(nullptr);
}

void TFormExtraPriceListData::EditKeyPress(TObject* Sender, char16_t& Key) {
    if (Key != u'\r') return;
    Key = 0;
    const std::vector<TWinControl*> order = {CustomerNumberEdit, CustomerNameEdit, SerialEdit,
                                             AgreementReferenceEdit, OkButton};
    const auto at = std::find(order.begin(), order.end(), Sender);
    if (at != order.end() && at + 1 != order.end()) (*(at + 1))->SetFocus();
}

TModalResult TFormExtraPriceListData::Execute() {
    const TModalResult result = ShowModal();
    TDataSet& data = *fSource->DataSet();
    if (data.IsEditing()) {
        if (result == mrOk) {
            data.Post();
        } else {
            data.Cancel();
        }
    }
    return result;
}

bool TExtraPriceListDataDialog::Execute(TDataSet& data) {
    TFormExtraPriceListData form(fOwner, data);
    return form.Execute() == mrOk;
}

}  // namespace tv
