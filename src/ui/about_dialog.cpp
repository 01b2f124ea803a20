#include "ui/about_dialog.h"

#include <memory>

#include "core/app_names.h"
#include "core/forms/event_pictures.h"
#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/color.h"
#include "platform/gui/key_codes.h"
#include "platform/rtl/ascii_case.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/dialog_service.h"
#include "platform/rtl/files.h"
#include "platform/rtl/format.h"
#include "platform/win/file_version.h"
#include "platform/win/process.h"
#include "platform/win/shell_service.h"
#include "ui/enviroment_info_dialog.h"

namespace tv {

namespace {

constexpr std::string_view kMailTo = "mailto:";
constexpr int kTextLeft = 104;

}  // namespace

const TClassInfo& TAboutDialog::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TAboutDialog>("TAboutDialog").Build();
    return info;
}

TAboutDialog::TAboutDialog(TComponent* AOwner) : TForm(AOwner) {
    SetName("AboutDialog");
    CreateComponents();
    FormCreate();
}

TLabel* TAboutDialog::NewLabel(const char* name, int top) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(this);
    label->SetBounds(kTextLeft, top, 350, 16);
    return label;
}

TButton* TAboutDialog::NewButton(const char* name, int left) {
    auto* button = new TButton(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetBounds(left, 190, 96, 25);
    return button;
}

void TAboutDialog::CreateComponents() {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(470);
    SetClientHeight(228);
    SetKeyPreview(true);
    SetShowHint(true);
    OnKeyDown = [this](TObject*, uint16_t& key, TShiftState shift) { FormKeyDown(key, shift); };
    OnKeyUp = [this](TObject*, uint16_t& key, TShiftState shift) { FormKeyUp(key, shift); };

    ActionList1 = new TActionList(this);
    ActionList1->SetName("ActionList1");
    auto action = [this](const char* name, const char* caption, void (TAboutDialog::*run)()) {
        auto* a = new TAction(this);
        a->SetName(name);
        a->SetCaption(caption);
        a->SetActionList(ActionList1);
        a->OnExecute = [this, run](TObject*) { (this->*run)(); };
        return a;
    };
    ShowEnvInfo = action("ShowEnvInfo", "&Information", &TAboutDialog::ShowEnvInfoExecute);
    ViewLicenseAgreement =
        action("ViewLicenseAgreement", "&Licensavtal", &TAboutDialog::ViewLicenseAgreementExecute);

    ImagePanel = new TPanel(this);
    ImagePanel->SetName("ImagePanel");
    ImagePanel->SetParent(this);
    ImagePanel->SetCaption("");
    ImagePanel->SetBevelOuter(bvLowered);
    ImagePanel->SetBounds(12, 16, 76, 76);
    ProgramIcon = new TImage(this);
    ProgramIcon->SetName("ProgramIcon");
    ProgramIcon->SetParent(ImagePanel);
    ProgramIcon->SetBounds(6, 6, 64, 64);
    TBitmap icon;
    DrawGlyph(icon, 64, clNavy, 'T', ColorToRGB(clBtnFace));
    ProgramIcon->Picture()->SetBitmap(&icon);

    AppL = NewLabel("AppL", 16);
    AppL->Font()->SetSize(12);
    AppL->Font()->SetStyle({fsBold});
    VerL = NewLabel("VerL", 42);
    VerL->SetCaption("Version x.x.x.x");
    Label2 = NewLabel("Label2", 68);
    Label2->SetCaption(std::string(kAboutDescription));
    CopyrightL = NewLabel("CopyrightL", 88);
    CopyrightL->SetCaption(Format(kAboutCopyright, {AppCompanyName()}));
    for (TLabel** link : {&wwwL, &EMailL}) {
        *link = NewLabel(link == &wwwL ? "wwwL" : "EMailL", link == &wwwL ? 120 : 140);
        (*link)->Font()->SetColor(clBlue);
        (*link)->Font()->SetStyle({fsUnderline});
        (*link)->SetCursor(crHandPoint);
        (*link)->OnClick = [this](TObject* sender) { wwwLClick(sender); };
    }

    LicAgreementBtn = NewButton("LicAgreementBtn", 12);
    LicAgreementBtn->SetAction(ViewLicenseAgreement);
    EnvInfoBtn = NewButton("EnvInfoBtn", 258);
    EnvInfoBtn->SetAction(ShowEnvInfo);
    CloseBtn = NewButton("CloseBtn", 362);
    CloseBtn->SetCaption("&Stäng");
    CloseBtn->SetModalResult(mrCancel);
    CloseBtn->SetCancel(true);
    CloseBtn->SetDefault(true);
}

void TAboutDialog::FormCreate() {
    const std::string program = Application().ExeName();
    SetCaption(Format(kAboutCaption, {Application().Title()}));
    AppL->SetCaption(Application().Title() + " ");
    AppL->SetHint(program);
    VerL->SetCaption(Format(kAboutVersion, {GetFileVersionString(program)}));
    wwwL->SetCaption(std::string(kAppMakerWebAddress));
    wwwL->SetHint(std::string(kAppMakerWebAddress));
    EMailL->SetCaption(std::string(kAppMakerEmailAddress));
    EMailL->SetHint(std::string(kMailTo) + std::string(kAppMakerEmailAddress));
    ViewLicenseAgreement->SetVisible(!LicenseAgreementFile().empty());
}

std::string TAboutDialog::LicenseAgreementFile() {
    const std::string folder = IncludeTrailingPathDelimiter(ProgramFolder());
    for (std::string_view name : kLicenseAgreementFiles)
        if (FileExists(folder + std::string(name))) return folder + std::string(name);
    return {};
}

void TAboutDialog::FormKeyDown(uint16_t& Key, TShiftState Shift) {
    if (!Shift.Contains(ssAlt) || Key < 'A' || Key > 'Z') return;
    FKeyBuffer += static_cast<char>(Key);
    if (SameTextAscii(FKeyBuffer, kCreditWord)) DialogService().ShowInformation(kCreditText, Caption());
}

void TAboutDialog::FormKeyUp(uint16_t& Key, TShiftState) {
    if (Key == VK_MENU) FKeyBuffer.clear();
}

void TAboutDialog::Open(const std::string& target, int showMode) {
    if (ShellExecuteAndWait("open", target, "", false, showMode, "") < 0) {
        TMessageBoxRequest request;
        request.Text = Format(kCannotOpen, {target});
        request.Caption = Caption();
        request.Icon = TMsgIcon::Error;
        DialogService().MessageBox(request);
    }
}

void TAboutDialog::wwwLClick(TObject* Sender) {
    auto* label = dynamic_cast<TLabel*>(Sender);
    if (!label) return;
    Open(label->Hint(), label == EMailL ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED);
}

void TAboutDialog::ViewLicenseAgreementExecute() {
    const std::string file = LicenseAgreementFile();
    if (!file.empty()) Open(file, SW_SHOWNORMAL);
}

void TAboutDialog::ShowEnvInfoExecute() {
    ShowEnvironmentInfo();
}

void ShowAboutDialog() {
    auto dialog = std::make_unique<TAboutDialog>(&Application());
    dialog->ShowModal();
}

}  // namespace tv
