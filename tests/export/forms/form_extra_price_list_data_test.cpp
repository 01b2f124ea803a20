#include "export/forms/form_extra_price_list_data.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/data/client_data_set.h"
#include "platform/data/field.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/group_box.h"
#include "platform/gui/label.h"
#include "tests/platform/gui_data/data_form_fixture.h"
#include "tests/support/screenshot.h"

namespace tv {
namespace {

// The customer price-list table with one customer's row, as the export shows it.
std::unique_ptr<TClientDataSet> PricelistData() {
    auto data = std::make_unique<TClientDataSet>();
    data->FieldDefs().Add("customernumber", TFieldType::ftString, 30);
    data->FieldDefs().Add("customername", TFieldType::ftString, 60);
    data->FieldDefs().Add("lopnr", TFieldType::ftLargeint);
    data->FieldDefs().Add("agreementref", TFieldType::ftString, 30);
    data->CreateDataSet();
    data->Append();
    data->FieldByName("customernumber").SetAsString("7350000000011");
    data->FieldByName("customername").SetAsString("Åsa Öberg AB");
    data->FieldByName("lopnr").SetAsLargeInt(7300009000002);
    data->FieldByName("agreementref").SetAsString("AVT-1");
    data->Post();
    return data;
}

// Shows the form modally and runs `steps` in it; they end it with a click or a key.
TModalResult RunModal(TFormExtraPriceListData& form, std::function<void()> steps) {
    QTimer::singleShot(0, [&] {
        steps();
        if (form.Showing() && form.ModalResult == mrNone) form.ModalResult = mrAbort;
    });
    return form.Execute();
}

void TypeInto(TDBEdit* edit, const char* text) {
    ASSERT_TRUE(test::FocusOn(edit->Widget()));
    edit->SelectAll();
    QTest::keyClicks(edit->Widget(), text);
}

TEST(FormExtraPriceListData, ShowsTheRowWithTheAgreementReferenceFocusedFirst) {
    auto data = PricelistData();
    TFormExtraPriceListData form(nullptr, *data);
    form.Show();
    EXPECT_EQ(form.Caption(), "Skicka prislista");
    EXPECT_EQ(form.CustomerGroup->Caption(), "Kund:");
    EXPECT_EQ(form.CustomerNumberEdit->Text(), "7350000000011");
    EXPECT_EQ(form.CustomerNameEdit->Text(), "Åsa Öberg AB");
    EXPECT_EQ(form.SerialEdit->Text(), "7300009000002");
    EXPECT_EQ(form.AgreementReferenceEdit->Text(), "AVT-1");
    EXPECT_EQ(form.NoteLabel->Caption(), "Mer uppgifter för prislista som inte finns i Administration");
    EXPECT_EQ(form.OkButton->Caption(), "&OK");
    EXPECT_EQ(form.CancelButton->Caption(), "A&vbryt");
    EXPECT_EQ(form.ActiveControl(), form.AgreementReferenceEdit);
    // The customer is shown, not changed.
    ASSERT_TRUE(test::FocusOn(form.CustomerNameEdit->Widget()));
    QTest::keyClicks(form.CustomerNameEdit->Widget(), "x");
    EXPECT_EQ(data->State(), dsBrowse);
    test::SaveScreenshot(form, "extra_price_list_data");
}

TEST(FormExtraPriceListData, EnterMovesOnToTheNextControl) {
    auto data = PricelistData();
    TFormExtraPriceListData form(nullptr, *data);
    form.Show();
    ASSERT_TRUE(test::FocusOn(form.SerialEdit->Widget()));
    QTest::keyClick(form.SerialEdit->Widget(), Qt::Key_Return);
    EXPECT_TRUE(form.AgreementReferenceEdit->Focused());
    QTest::keyClick(form.AgreementReferenceEdit->Widget(), Qt::Key_Return);
    EXPECT_TRUE(form.OkButton->Focused());
    EXPECT_EQ(form.ModalResult, mrNone);
}

TEST(FormExtraPriceListData, OkWritesWhatWasTypedIntoTheRowAndCancelDropsIt) {
    auto data = PricelistData();
    {
        TFormExtraPriceListData form(nullptr, *data);
        const TModalResult result = RunModal(form, [&] {
            TypeInto(form.AgreementReferenceEdit, "AVT-9");
            TypeInto(form.SerialEdit, "42");
            QTest::mouseClick(form.OkButton->Widget(), Qt::LeftButton);
        });
        EXPECT_EQ(result, mrOk);
    }
    EXPECT_EQ(data->State(), dsBrowse);
    EXPECT_EQ(data->FieldByName("agreementref").AsString(), "AVT-9");
    EXPECT_EQ(data->FieldByName("lopnr").AsLargeInt(), 42);

    TFormExtraPriceListData form(nullptr, *data);
    const TModalResult result = RunModal(form, [&] {
        TypeInto(form.AgreementReferenceEdit, "ANNAT");
        QTest::mouseClick(form.CancelButton->Widget(), Qt::LeftButton);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(data->State(), dsBrowse);
    EXPECT_EQ(data->FieldByName("agreementref").AsString(), "AVT-9");
}

}  // namespace
}  // namespace tv
