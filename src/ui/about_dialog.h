#pragma once
// The about box: the program's title and version, the maker's web and e-mail links, and buttons
// for the licence agreement (when one lies beside the program), the environment information and
// closing. A word typed while Alt is held shows a credit.

#include <string>
#include <string_view>

#include "platform/gui/action.h"
#include "platform/gui/button.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/label.h"
#include "platform/gui/panel.h"

namespace tv {

inline constexpr std::string_view kAboutCaption = "Om %s...";
inline constexpr std::string_view kAboutVersion = "Version %s";
inline constexpr std::string_view kAboutDescription =
    "Flyttar affärsdata mellan företagets databas och XML-filer.";
inline constexpr std::string_view kAboutCopyright = "Copyright © %s";
// The licence agreement beside the program: the first of these that exists.
inline constexpr std::string_view kLicenseAgreementFiles[] = {"Licensavtal.txt", "EULA.txt"};
inline constexpr std::string_view kCannotOpen = "Kunde inte öppna [%s]";
// The word typed with Alt held, and what it shows.
inline constexpr std::string_view kCreditWord = "nulk";
inline constexpr std::string_view kCreditText = "Tollvane byggdes med omsorg av Brismarks utvecklare. Tack!";

class TAboutDialog : public TForm {
    TV_CLASS(TAboutDialog, TForm)
public:
    // Made hidden, filled with what the program file says about itself.
    explicit TAboutDialog(TComponent* AOwner);

    void FormCreate();
    void FormKeyDown(uint16_t& Key, TShiftState Shift);
    void FormKeyUp(uint16_t& Key, TShiftState Shift);
    // Both link labels: opens the clicked label's target.
    void wwwLClick(TObject* Sender);
    void ViewLicenseAgreementExecute();
    void ShowEnvInfoExecute();

    // The licence agreement beside the program; empty when there is none.
    static std::string LicenseAgreementFile();

    TActionList* ActionList1 = nullptr;
    TAction* ShowEnvInfo = nullptr;
    TAction* ViewLicenseAgreement = nullptr;
    TPanel* ImagePanel = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* AppL = nullptr;
    TLabel* VerL = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* CopyrightL = nullptr;
    TLabel* wwwL = nullptr;
    TLabel* EMailL = nullptr;
    TButton* LicAgreementBtn = nullptr;
    TButton* EnvInfoBtn = nullptr;
    TButton* CloseBtn = nullptr;

private:
    void CreateComponents();
    TLabel* NewLabel(const char* name, int top);
    TButton* NewButton(const char* name, int left);
    // Hands `target` to the shell; says so when nothing could open it.
    void Open(const std::string& target, int showMode);

    // The letters typed since Alt went down.
    std::string FKeyBuffer;
};

// Shows the about box modally, owned by the application, and frees it.
void ShowAboutDialog();

}  // namespace tv
