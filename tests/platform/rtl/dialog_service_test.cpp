#include "platform/rtl/dialog_service.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tv {
namespace {

TEST(DialogService, TheHeadlessDefaultAnswersAsTheCallerSaysAndReportsWhatItDidNotShow) {
    std::vector<std::string> reported;
    THeadlessDialogService headless([&](std::string_view caption, std::string_view text) {
        reported.push_back(std::string(caption) + ": " + std::string(text));
    });
    TMessageBoxRequest box{"Fel uppstod när script kördes.",
                           "Tollvane",
                           TMsgButtons::OkCancel,
                           TMsgIcon::Error,
                           0,
                           TMsgAnswer::Cancel};
    EXPECT_EQ(headless.MessageBox(box), TMsgAnswer::Cancel);
    EXPECT_FALSE(headless.AskYesNo("Kompilering av script misslyckades", "Fråga", false));
    EXPECT_TRUE(headless.AskYesNo("Fortsätt?", "Fråga", true));
    headless.ShowInformation("Klart", "Info");
    EXPECT_EQ(headless.OpenFile({"Öppna script", "/tmp", "Script (*.pas)|*.pas", ".pas"}), std::nullopt);
    EXPECT_EQ(headless.BrowseFolder("Välj mapp", "/tmp"), std::nullopt);
    EXPECT_EQ(reported,
              (std::vector<std::string>{"Tollvane: Fel uppstod när script kördes.",
                                        "Fråga: Kompilering av script misslyckades", "Fråga: Fortsätt?",
                                        "Info: Klart", "Öppna script: ", "Välj mapp: "}));
}

// The kind of fake a test installs: answers from a script of answers.
class TAnsweringDialogs : public THeadlessDialogService {
public:
    bool AskYesNo(std::string_view, std::string_view, bool) override { return answer; }
    bool answer = true;
};

TEST(DialogService, AnInstalledServiceAnswersUntilTheDefaultIsRestored) {
    EXPECT_EQ(&DialogService(), &HeadlessDialogService());
    TAnsweringDialogs fake;
    IDialogService* previous = SetDialogService(&fake);
    EXPECT_EQ(previous, &HeadlessDialogService());
    EXPECT_TRUE(DialogService().AskYesNo("q", "c", false));
    SetDialogService(nullptr);
    EXPECT_FALSE(DialogService().AskYesNo("q", "c", false));
    EXPECT_EQ(static_cast<int>(TMsgAnswer::Yes), 6);  // as the message-box results number them
    EXPECT_EQ(static_cast<int>(TMsgButtons::YesNo), 4);
}

}  // namespace
}  // namespace tv
