// The event window under the offscreen platform shows the tree of its model: texts, state pictures
// and nesting, the markers and buttons, and the file manager for a line that carries a file.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/forms/progress_form.h"
#include "tests/support/recording_shell.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

// The shown tree as lines: two blanks per level, "[state index]" and the text.
std::vector<std::string> Shown(TTreeView& view) {
    std::vector<std::string> out;
    for (TTreeNode* n = view.Items()->GetFirstNode(); n; n = n->GetNext())
        out.push_back(std::string(2 * n->Level(), ' ') + "[" + std::to_string(n->StateIndex()) + "] " +
                      n->Text());
    return out;
}

// The model's tree in the same form.
std::vector<std::string> Modelled(const TEventTree& tree) {
    std::vector<std::string> out;
    std::function<void(const std::vector<std::unique_ptr<TEventNode>>&, int)> walk = [&](const auto& nodes,
                                                                                         int d) {
        for (const auto& n : nodes) {
            out.push_back(std::string(2 * d, ' ') + "[" + std::to_string(n->State) + "] " + n->Text);
            walk(n->Children, d + 1);
        }
    };
    walk(tree.Items(), 0);
    return out;
}

void AJob(TEventTree& t) {
    t.addEventItem("Start ", false);
    t.nextEvent("Ansluter till Visma", 0);
    t.setEventCount(3);
    t.StepProgress();
    t.addEventItem("kunder.xml", true);
    t.reportError("Kund 1", elResult);
    t.addEventItem("Kund 2", true);
    t.reportError("Kunde inte hitta", elError);
    t.CloseNestedEventItem();
    t.reportError("dröjer", elWarning);
    t.CloseNestedEventItem();
    t.addEventItem("Avslutad", false);
    t.Complete();
}

TEST(ProgressForm, TheWindowShowsTheTreeItsModelHolds) {
    TEventTree model([] {});
    model.addEventItem("före fönstret", true);
    TProgressForm form(nullptr, model);
    EXPECT_EQ(form.Caption(), "Händelseförlopp");
    EXPECT_EQ(Shown(*form.Statustree), Modelled(model)) << "what the model held before the window was made";

    model.Clear();
    AJob(model);
    EXPECT_EQ(Shown(*form.Statustree), Modelled(model));
    EXPECT_EQ(Shown(*form.Statustree),
              (std::vector<std::string>{"[1] Start ", "[2] kunder.xml", "  [4] Kund 1",
                                        "  [2] Kund 2 - Kunde inte hitta", "    [2] Kunde inte hitta",
                                        "  [3] dröjer", "[1] Avslutad"}));
    EXPECT_EQ(form.Label2->Caption(), "Ansluter till Visma");
    EXPECT_EQ(form.ProgressBar1->Max(), 3);
    EXPECT_EQ(form.ProgressBar1->Position(), 1);
    EXPECT_TRUE(form.LabelErrors->Visible());
    EXPECT_EQ(form.LabelErrors->Caption(), "Det finns fel");
    EXPECT_TRUE(form.WarningLabel->Visible());
    EXPECT_TRUE(form.CloseButton->Enabled());
    EXPECT_FALSE(form.btnCancel->Enabled());
    EXPECT_EQ(form.btnCancel->Caption(), "Avbryt");

    model.Clear();
    EXPECT_TRUE(Shown(*form.Statustree).empty());
    EXPECT_FALSE(form.LabelErrors->Visible());
    EXPECT_FALSE(form.WarningLabel->Visible());
}

TEST(ProgressForm, ADoubleClickOnAWrittenFileShowsItInTheFileManager) {
    test::RecordingShell shell;
    test::TempDir dir;
    std::string written = dir.Write("export/kunder.xml", "<quorvel/>");
    TEventTree model([] {});
    TProgressForm form(nullptr, model);
    model.reportFilename("Skriver fil : [kunder.xml]", elInfo, written);
    model.reportFilename("Skriver fil : [borta.xml]", elInfo, dir.Path("borta.xml"));
    model.reportError("utan fil", elInfo);
    for (int i = 0; i < 3; ++i) {
        form.Statustree->SetSelected(form.Statustree->Items()->Item(i));
        form.StatustreeDblClick(form.Statustree);
    }
    EXPECT_EQ(shell.shown, std::vector<std::string>{written}) << "only a file that exists";
}

TEST(ProgressForm, ClosingTellsTheMainWindowAndCancelSetsTheFlag) {
    TEventTree model([] {});
    TProgressForm form(nullptr, model);
    int closed = 0, cancelled = 0;
    form.OnClosed = [&] { ++closed; };
    form.OnCancel = [&] { ++cancelled; };
    form.Show();
    form.CloseButtonClick(&form);
    form.btnCancelClick(&form);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(cancelled, 1);
    EXPECT_FALSE(form.Visible());
}

}  // namespace
}  // namespace tv
