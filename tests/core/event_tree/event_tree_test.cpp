// The event tree: where items and lines go, how errors and warnings mark items, what each level
// logs, when messages are pumped, and that no second job starts from inside a report.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/event_tree.h"
#include "core/job_guard.h"
#include "tests/support/captured_log.h"

namespace tv {
namespace {

// The tree as lines: two blanks per level, "[state]", "*" for an item, the text, and "<file>".
void Render(const std::vector<std::unique_ptr<TEventNode>>& nodes, int depth, std::vector<std::string>& out) {
    for (const auto& n : nodes) {
        std::string line = std::string(2 * depth, ' ') + "[" + std::to_string(n->State) + "]" +
                           (n->IsItem ? "*" : " ") + n->Text;
        if (!n->FileName.empty()) line += " <" + n->FileName + ">";
        out.push_back(line);
        Render(n->Children, depth + 1, out);
    }
}
std::vector<std::string> Render(const TEventTree& tree) {
    std::vector<std::string> out;
    Render(tree.Items(), 0, out);
    return out;
}

struct TreeCase {
    const char* rule;
    std::function<void(TEventTree&)> reports;
    std::vector<std::string> tree;
    bool errors = false;
    bool warnings = false;
};

const TreeCase kTreeCases[] = {
    {"nesting items hold what follows until closed",
     [](TEventTree& t) {
         t.addEventItem("Start ", false);
         t.addEventItem("a.xml", true);
         t.reportError("Kund 1", elInfo);
         t.addEventItem("Arkiverar [a.xml]", true);
         t.reportError("Arkiverade fil", elExcessive);
         t.CloseNestedEventItem();
         t.CloseNestedEventItem();
         t.addEventItem("Avslutad", false);
     },
     {"[1]*Start ", "[1]*a.xml", "  [1] Kund 1", "  [1]*Arkiverar [a.xml]", "    [8] Arkiverade fil",
      "[1]*Avslutad"}},
    {"a plain item is followed by its sibling; closing it leaves the nesting item",
     [](TEventTree& t) {
         t.addEventItem("Fil", true);
         t.addEventItem("b", false);
         t.addEventItem("c", false);
         t.reportError("under c", elResult);
         t.CloseNestedEventItem();
         t.addEventItem("d", false);
     },
     {"[1]*Fil", "  [1]*b", "  [1]*c", "    [4] under c", "[1]*d"}},
    {"only the first error extends the item's text",
     [](TEventTree& t) {
         t.addEventItem("Kund", true);
         t.reportError("fel 1", elError);
         t.reportError("fel 2", elError);
         t.reportError("varning", elWarning);
     },
     {"[2]*Kund - fel 1", "  [2] fel 1", "  [2] fel 2", "  [3] varning"},
     true,
     true},
    {"a warning extends the text; a later error does too and wins",
     [](TEventTree& t) {
         t.addEventItem("Order", true);
         t.reportError("varning", elWarning);
         t.reportError("fel", elError);
     },
     {"[2]*Order - varning - fel", "  [3] varning", "  [2] fel"},
     true,
     true},
    {"errors mark every ancestor; a warning in a sibling keeps the error",
     [](TEventTree& t) {
         t.addEventItem("Fil", true);
         t.addEventItem("Kund 1", true);
         t.reportError("fel", elError);
         t.CloseNestedEventItem();
         t.addEventItem("Kund 2", true);
         t.reportError("varning", elWarning);
     },
     {"[2]*Fil", "  [2]*Kund 1 - fel", "    [2] fel", "  [3]*Kund 2 - varning", "    [3] varning"},
     true,
     true},
    {"an error before any item stands at the top and marks nothing",
     [](TEventTree& t) { t.reportError("tidigt fel", elError); },
     {"[2] tidigt fel"},
     true},
    {"after Clear a report stands at the top",
     [](TEventTree& t) {
         t.addEventItem("Gammal", true);
         t.reportError("varning", elWarning);
         t.Clear();
         t.reportError("ny", elInfo);
     },
     {"[1] ny"}},
    {"an order message marks the items without showing the markers",
     [](TEventTree& t) {
         t.addEventItem("Best", true);
         t.addEventItem("Rad", true);
         t.logOrderMessage("avvikelse", elWarning);
     },
     {"[3]*Best", "  [3]*Rad - avvikelse", "    [3] avvikelse"}},
    {"a file line carries its file; other levels neither log nor mark",
     [](TEventTree& t) {
         t.addEventItem("Export", true);
         t.reportFilename("Skriver fil : [k.xml]", elInfo, "/w/export/k.xml");
         t.reportError("okänd nivå", 5);
     },
     {"[1]*Export", "  [1] Skriver fil : [k.xml] </w/export/k.xml>", "  [5] okänd nivå"}},
    {"the root item stands at the top and lines still go under the current item",
     [](TEventTree& t) {
         t.addEventItem("Start ", true);
         t.setRootItem("Regel");
         t.reportError("rad", elInfo);
         t.setRootItem("");
     },
     {"[1]*Start ", "  [1] rad", "[1]*Regel"}},
    {"MarkFinished sets the current item back to state 1",
     [](TEventTree& t) {
         t.addEventItem("Kund", true);
         t.reportError("fel", elError);
         t.MarkFinished();
     },
     {"[1]*Kund - fel", "  [2] fel"},
     true},
};

TEST(EventTree, ReportSequencesGiveTheExpectedTree) {
    for (const auto& c : kTreeCases) {
        TEventTree tree([] {});
        c.reports(tree);
        EXPECT_EQ(Render(tree), c.tree) << c.rule;
        EXPECT_EQ(tree.ErrorsShown(), c.errors) << c.rule;
        EXPECT_EQ(tree.WarningsShown(), c.warnings) << c.rule;
    }
}

TEST(EventTree, EachLevelIsLoggedAsItsRowSaysAndResultsNever) {
    test::CapturedLog log;
    TEventTree tree([] {});
    tree.addEventItem("Start ", false);
    tree.reportError("info", elInfo);
    tree.reportError("fel", elError);
    tree.reportError("varning", elWarning);
    tree.reportError("resultat", elResult);
    tree.reportError("detalj", elExcessive);
    tree.reportError("debug", elDebug);
    tree.reportFilename("Skriver fil", elError, "/f.xml");
    tree.logOrderMessage("order", elError);
    tree.setRootItem("Rot");
    EXPECT_EQ(log.Text(),
              "INFO Start \n"
              "INFO info\n"
              "ERROR  fel\n"
              "WARN  varning\n"
              "DEBUG  detalj\n"
              "DEBUG debug\n"
              "DEBUG   Skriver fil\n"
              "INFO Rot\n");
}

TEST(EventTree, MessagesArePumpedAfterEachReportButNotAfterTheQuietOperations) {
    int pumps = 0;
    TEventTree tree([&] { ++pumps; });
    struct Op {
        const char* name;
        std::function<void()> run;
        int pumps;
    };
    const Op ops[] = {
        {"addEventItem", [&] { tree.addEventItem("a", true); }, 1},
        {"reportError", [&] { tree.reportError("e", elResult); }, 1},
        {"reportFilename", [&] { tree.reportFilename("f", elInfo, "/f"); }, 1},
        {"logOrderMessage", [&] { tree.logOrderMessage("o", elInfo); }, 1},
        {"setEventCount", [&] { tree.setEventCount(3); }, 1},
        {"nextEvent", [&] { tree.nextEvent("Steg", 5); }, 1},
        {"setRootItem", [&] { tree.setRootItem("r"); }, 1},
        {"setRootItem empty", [&] { tree.setRootItem(""); }, 0},
        {"StepProgress", [&] { tree.StepProgress(); }, 0},
        {"CloseNestedEventItem", [&] { tree.CloseNestedEventItem(); }, 0},
        {"Complete", [&] { tree.Complete(); }, 0},
        {"MarkFinished", [&] { tree.MarkFinished(); }, 0},
        {"setMessage", [&] { tree.setMessage("m"); }, 0},
        {"Clear", [&] { tree.Clear(); }, 1},
    };
    for (const auto& op : ops) {
        pumps = 0;
        op.run();
        EXPECT_EQ(pumps, op.pumps) << op.name;
    }
}

TEST(EventTree, TheStepDisplayAndTheButtons) {
    TEventTree tree([] {});
    EXPECT_EQ(tree.StepCaption(), "Ansluter till Visma Administration");
    EXPECT_FALSE(tree.CloseEnabled());
    EXPECT_FALSE(tree.CancelEnabled());
    tree.setEventCount(2);
    tree.StepProgress();
    tree.StepProgress();
    tree.StepProgress();
    EXPECT_EQ(tree.ProgressPosition(), 2);
    EXPECT_EQ(tree.ProgressMax(), 2);
    tree.nextEvent("Ansluter till Visma", 0);
    EXPECT_EQ(tree.StepCaption(), "Ansluter till Visma");
    tree.Complete();
    EXPECT_TRUE(tree.CloseEnabled());
    EXPECT_FALSE(tree.CancelEnabled()) << "nothing enables the cancel button";
    tree.Clear();
    EXPECT_EQ(tree.ProgressPosition(), 0);
}

TEST(EventTree, AViewHearsOfEveryChange) {
    struct View : IEventTreeView {
        std::vector<std::string> heard;
        void NodeAdded(const TEventNode& n) override { heard.push_back("add " + n.Text); }
        void NodeChanged(const TEventNode& n) override { heard.push_back("change " + n.Text); }
        void TreeCleared() override { heard.push_back("clear"); }
        void StatusChanged() override { heard.push_back("status"); }
    } view;
    TEventTree tree([] {});
    tree.SetView(&view);
    tree.addEventItem("Fil", true);
    tree.addEventItem("Kund", true);
    tree.reportError("fel", elError);
    tree.Clear();
    EXPECT_EQ(view.heard, (std::vector<std::string>{"add Fil", "add Kund", "add fel", "status",
                                                    "change Kund - fel", "change Fil", "clear", "status"}));
}

// One warning per record under one item: the item's text takes the first warnings and then stays
// as it is, so that a report never copies an ever longer text; every line is still added, and the
// view hears of the item only while it changes. An error still extends the text once.
TEST(EventTree, ManyWarningsUnderOneItemKeepItsTextBounded) {
    struct View : IEventTreeView {
        int changes = 0;
        void NodeAdded(const TEventNode&) override {}
        void NodeChanged(const TEventNode&) override { ++changes; }
        void TreeCleared() override {}
        void StatusChanged() override {}
    } view;
    TEventTree tree([] {});
    tree.SetView(&view);
    tree.addEventItem("Fil", true);
    tree.addEventItem("kunder.xml", true);
    constexpr int kWarnings = 20000;
    for (int i = 0; i < kWarnings; ++i)
        tree.reportError("Kund " + std::to_string(i) + " saknar namn", elWarning);
    const TEventNode& item = *tree.CurrentItem();
    EXPECT_TRUE(item.Text.starts_with("kunder.xml - Kund 0 saknar namn - Kund 1 saknar namn - "))
        << item.Text;
    EXPECT_LE(item.Text.size(), kMaxMarkedItemText + 40);
    EXPECT_EQ(item.State, elWarning);
    EXPECT_EQ(item.Children.size(), static_cast<size_t>(kWarnings));
    EXPECT_LT(view.changes, 100);

    tree.reportError("Filen är trasig", elError);
    EXPECT_TRUE(item.Text.ends_with(" - Filen är trasig")) << item.Text;
    EXPECT_EQ(item.State, elError);
    EXPECT_EQ(tree.Items()[0]->State, elError);
}

TEST(JobGuard, ASecondJobAskedForFromInsideAReportIsRefused) {
    std::vector<bool> busyHeard;
    JobGuard().OnBusyChanged = [&](bool busy) { busyHeard.push_back(busy); };
    std::vector<bool> secondAcquired;
    // A click or a handed-over command that arrives while a report pumps messages.
    TEventTree tree([&] {
        TJobGuard::TScope second(JobGuard());
        secondAcquired.push_back(second.Acquired());
    });
    {
        TJobGuard::TScope job(JobGuard());
        ASSERT_TRUE(job.Acquired());
        EXPECT_TRUE(JobGuard().Busy());
        tree.addEventItem("Start ", false);
        tree.reportError("Kund 1", elInfo);
    }
    EXPECT_FALSE(JobGuard().Busy());
    EXPECT_EQ(secondAcquired, (std::vector<bool>{false, false}));
    EXPECT_EQ(busyHeard, (std::vector<bool>{true, false})) << "the refused requests change nothing";
    TJobGuard::TScope next(JobGuard());
    EXPECT_TRUE(next.Acquired()) << "after the job the next one may start";
    JobGuard().OnBusyChanged = nullptr;
}

}  // namespace
}  // namespace tv
