// The settings window, offscreen with real clicks and keys: its page tree, one page shown at a
// time, OK writing what was typed and Cancel dropping it.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "automation/data_modules.h"
#include "automation/form_rule_maker.h"
#include "controls/db_pick_combo.h"
#include "controls/xdb_grid.h"
#include "core/forms/main_form_services.h"
#include "platform/gui/button.h"
#include "platform/gui/db_edit.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/tree_view.h"
#include "settings_fixture.h"
#include "ui/page_behaviours.h"
#include "ui/page_controls.h"

namespace tv {
namespace {

using test::ClickNode;
using test::SettingsFixture;

// A plain page whose caption is the row's.
TForm* PlainPage(const TSettingsPageRow& row, TComponent* owner, TMainDM&) {
    auto* page = new TForm(owner);
    page->SetCaption(std::string(row.Caption));
    return page;
}

// The program's page table with every page made plain, and a second page captioned "Import - Order".
std::vector<TSettingsPageRow> PlainRows() {
    std::vector<TSettingsPageRow> rows;
    for (TSettingsPageRow row : SettingsPageRows()) {
        row.Make = PlainPage;
        rows.push_back(row);
    }
    rows.push_back({"TFormDuplicate", "Import - Order", "Export", 5, PlainPage});
    return rows;
}

std::vector<std::string> Texts(TTreeNode* first) {
    std::vector<std::string> texts;
    for (TTreeNode* node = first; node; node = node->GetNextSibling()) texts.push_back(node->Text());
    return texts;
}

TForm* Shown(TFormSettings& window) {
    TForm* shown = nullptr;
    for (TForm* page : window.Forms())
        if (page->Visible()) {
            EXPECT_EQ(shown, nullptr) << "two pages show";
            shown = page;
        }
    return shown;
}

TEST(FormSettings, TheTreeHoldsThePagesUnderTheirParentsAndShowsOneAtATime) {
    SettingsFixture f;
    const auto rows = PlainRows();
    TFormSettings window(nullptr, *f.dm, rows);
    window.Show();
    EXPECT_EQ(window.Caption(), "Inställningar");
    EXPECT_EQ(window.ClientWidth(), 792);
    EXPECT_EQ(window.ClientHeight(), 573);

    TTreeNode* first = window.TreeView1->Items()->GetFirstNode();
    EXPECT_EQ(Texts(first), (std::vector<std::string>{"Grundinställningar", "Visma", "Export", "Import",
                                                      "Scripter", "Regelmakaren"}));
    TTreeNode* exportNode = window.FindNodeByText("Export");
    ASSERT_NE(exportNode, nullptr);
    EXPECT_EQ(exportNode->Data(), nullptr) << "a category shows no page";
    EXPECT_EQ(exportNode->StateIndex(), 1);
    EXPECT_EQ(exportNode->Count(), 11);
    TTreeNode* priceList = window.FindNodeByText("Export kundprislista");
    ASSERT_NE(priceList, nullptr);
    EXPECT_EQ(priceList->Parent()->Text(), "Export - Kunder");
    EXPECT_EQ(priceList->StateIndex(), 19);
    EXPECT_EQ(window.FindChildByText(window.FindNodeByText("Visma"), "Visma Tid inställningar")->StateIndex(),
              3);
    EXPECT_EQ(window.FindChildByText(exportNode, "Import - Order"), nullptr);

    // The second "Import - Order" is neither listed nor docked.
    ASSERT_EQ(window.Forms().size(), 34u);
    EXPECT_EQ(window.FindNodeByText("Import - Order")->Parent()->Text(), "Import");

    // It opens on the first page.
    ASSERT_NE(Shown(window), nullptr);
    EXPECT_EQ(Shown(window)->Caption(), "Grundinställningar");
    EXPECT_EQ(window.TreeView1->Selected(), first);

    ClickNode(window, "Export");
    EXPECT_EQ(Shown(window), nullptr) << "a category empties the page area";
    ClickNode(window, "Export kundprislista");
    ASSERT_NE(Shown(window), nullptr);
    EXPECT_EQ(Shown(window)->Caption(), "Export kundprislista");
    EXPECT_EQ(Shown(window)->Parent(), static_cast<TWinControl*>(window.ScrollBox1));
    ClickNode(window, "Import - Order");
    EXPECT_EQ(Shown(window), window.Forms()[24]);
}

TEST(FormSettings, FindNodeByTextIsExactAndDepthFirst) {
    SettingsFixture f;
    const auto rows = PlainRows();
    TFormSettings window(nullptr, *f.dm, rows);
    EXPECT_EQ(window.FindNodeByText("export"), nullptr) << "letter case counts";
    EXPECT_EQ(window.FindNodeByText("Export - "), nullptr);
    EXPECT_EQ(window.FindNodeByText("Regelmakaren")->Level(), 0);
    EXPECT_EQ(window.FindNodeByText("Export kundprislista")->Level(), 2);
    EXPECT_EQ(window.FindChildByText(window.FindNodeByText("Import"), "Export - Kunder"), nullptr);
}

TEST(FormSettings, BuildsTheGeneratedPagesOfTheProgramsTable) {
    SettingsFixture f;
    TFormSettings window(nullptr, *f.dm);
    // The rows that have a page: the import pages, each from its block, which agrees with the row.
    size_t made = 0, generated = 0;
    for (const TSettingsPageRow& row : SettingsPageRows()) {
        // The rule editor works on the plug-in host, which this fixture does not make.
        if (!row.Make || row.ClassName == "TFormRuleMaker") continue;
        ++made;
        const TSettingsPageDef* def = f.dm->Settings().Schema().FindPage(row.ClassName);
        if (!def) continue;
        ++generated;
        EXPECT_EQ(def->Caption, row.Caption);
        EXPECT_EQ(def->Parent, row.Parent);
        EXPECT_EQ(def->State, row.State) << row.ClassName;
        EXPECT_NE(window.FindNodeByText(row.Caption), nullptr) << row.Caption;
    }
    EXPECT_EQ(window.Forms().size(), made);
    EXPECT_GE(made, 17u);
    // Every block of the schema has its row, and every kind and behaviour it names is known.
    std::set<std::string> classes;
    for (const TSettingsPageRow& row : SettingsPageRows()) classes.insert(std::string(row.ClassName));
    for (const auto& page : f.dm->Settings().Schema().Pages) {
        EXPECT_TRUE(classes.count(page.ClassName)) << page.ClassName;
        for (const auto& group : page.Groups) {
            for (const auto& b : group.Behaviours) EXPECT_NE(FindPageBehaviour(b.Id), nullptr) << b.Id;
            for (const auto& control : group.Controls) {
                EXPECT_NE(FindPageControlKind(control.Kind), nullptr) << control.Kind;
                for (const auto& b : control.Behaviours) EXPECT_NE(FindPageBehaviour(b.Id), nullptr) << b.Id;
            }
        }
    }
    // Making the pages writes nothing: every bound table is as it was. Besides the tables of the
    // blocks, the pages bind three lists: the order page's copy of the rules, the standard page's
    // authentication modes and the time-reporting users. The "Scripter" page binds none.
    const auto bound = window.BoundTables();
    std::set<TDataSet*> blockTables;
    for (const auto& page : f.dm->Settings().Schema().Pages)
        for (const auto& group : page.Groups)
            if (!group.Table.empty()) blockTables.insert(&f.dm->Table(group.Table));
    EXPECT_EQ(bound.size(), blockTables.size() + 3);
    for (TDataSet* table : blockTables)
        EXPECT_NE(std::find(bound.begin(), bound.end(), table), bound.end()) << table->Name();
    for (TDataSet* table : bound) EXPECT_FALSE(table->IsEditing()) << table->Name();
}

TEST(FormSettings, TheRuleEditorIsThePageRegelmakarenOverThePluginHost) {
    SettingsFixture f;
    {
        TFormSettings window(nullptr, *f.dm);
        EXPECT_EQ(window.FindNodeByText("Regelmakaren"), nullptr) << "no plug-in host, no rule editor";
    }
    const std::shared_ptr<void> modules = CreateDataModules(*f.dm, {});
    TFormSettings window(nullptr, *f.dm);
    TTreeNode* node = window.FindNodeByText("Regelmakaren");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->Level(), 0);
    EXPECT_EQ(node->StateIndex(), 1);
    auto* page = static_cast<TForm*>(node->Data());
    ASSERT_NE(dynamic_cast<TFormRuleMaker*>(page), nullptr);
    EXPECT_EQ(page->Caption(), "Regelmakaren");
    EXPECT_EQ(static_cast<TFormRuleMaker*>(page)->XDBGrid2->DataSource(), &DMPlugins().DSRules());
}

// Runs `steps` once the window shows modally; they end it by a click or a key.
int RunModal(TMainDM& dm, std::function<void(TFormSettings&)> steps) {
    int result = -1;
    TFormSettings window(nullptr, dm);
    QTimer::singleShot(0, [&] {
        steps(window);
        if (window.Showing() && window.ModalResult == mrNone) window.ModalResult = mrAbort;
    });
    result = window.Execute();
    return result;
}

TEST(FormSettings, OkWritesAChoiceWhoseControlNeverLostTheFocus) {
    SettingsFixture f;
    ASSERT_EQ(f.Text("CDSImportOrderPrefs", "SEARCH_ORDER_CDX"), "10");
    const int result = RunModal(*f.dm, [](TFormSettings& w) {
        ClickNode(w, "Import - Order");
        TControl* combo = test::Page(w, "Import - Order")->FindControl("ComboCDX");
        ASSERT_TRUE(test::FocusOn(combo->Widget()));
        QTest::keyClick(combo->Widget(), Qt::Key_Down);
        EXPECT_EQ(static_cast<TDBPickCombo*>(combo)->Text(), "asOrderEjUtskrivenOrdernr");
        QTest::keyClick(combo->Widget(), Qt::Key_Return);  // the window's default button
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(f.dm->Table("CDSImportOrderPrefs").State(), dsBrowse) << "OK posts what it took";
    f.dm->saveSettings();
    EXPECT_NE(f.SettingsFile().find("SEARCH_ORDER_CDX=52"), std::string::npos) << f.SettingsFile();
}

TEST(FormSettings, AnEditDroppedWithCancelIsNotWrittenByALaterOk) {
    SettingsFixture f;
    const int cancelled = RunModal(*f.dm, [](TFormSettings& w) {
        ClickNode(w, "Import - Artiklar");
        auto* memo = test::Page(w, "Import - Artiklar")->ControlsFor("SEARCH_ARTICLE_SQL").front();
        ASSERT_TRUE(test::FocusOn(memo->Widget()));
        QTest::keyClicks(memo->Widget(), "select 42");
        QTest::mouseClick(w.CancelButton->Widget(), Qt::LeftButton);
    });
    EXPECT_EQ(cancelled, mrCancel);
    EXPECT_EQ(f.dm->Table("CDSImportArticlesPrefs").State(), dsBrowse);
    EXPECT_EQ(f.Text("CDSImportArticlesPrefs", "SEARCH_ARTICLE_SQL"), "");

    const int ok =
        RunModal(*f.dm, [](TFormSettings& w) { QTest::mouseClick(w.OkButton->Widget(), Qt::LeftButton); });
    EXPECT_EQ(ok, mrOk);
    f.dm->saveSettings();
    EXPECT_EQ(f.SettingsFile().find("select 42"), std::string::npos) << f.SettingsFile();
}

TEST(FormSettings, OkKeepsTheWindowOpenWhileATableRefusesWhatItTakes) {
    SettingsFixture f;
    TDataSet& table = f.dm->Table("CDSImportOrderPrefs");
    int posts = 0;
    table.BeforePost = [&](TDataSet*) {
        if (++posts == 1) throw Exception("Nej");
    };
    f.dialogs.QueueAnswer(TMsgAnswer::Ok);
    TControl* combo = nullptr;
    const int result = RunModal(*f.dm, [&](TFormSettings& w) {
        ClickNode(w, "Import - Order");
        combo = test::Page(w, "Import - Order")->FindControl("ComboCDX");
        ASSERT_TRUE(test::FocusOn(combo->Widget()));
        QTest::keyClick(combo->Widget(), Qt::Key_Down);
        QTest::keyClick(combo->Widget(), Qt::Key_Return);
        // The window answers OK once this step is over; the next step sees the answer.
        QTimer::singleShot(0, [&] {
            EXPECT_TRUE(w.Showing()) << "the window stays open on a refused post";
            EXPECT_EQ(f.dialogs.Requests().size(), 1u);
            if (!f.dialogs.Requests().empty()) {
                EXPECT_EQ(f.dialogs.Requests()[0].Text, "Nej.");
            }
            QTest::keyClick(combo->Widget(), Qt::Key_Return);
        });
    });
    table.BeforePost = nullptr;
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(f.Text("CDSImportOrderPrefs", "SEARCH_ORDER_CDX"), "52");
}

TEST(FormSettings, TheProgramsSettingsCommandShowsTheWindow) {
    SettingsFixture f;
    SetMainDM(f.dm.get());
    InstallSettingsWindow();
    ASSERT_TRUE(static_cast<bool>(MainFormServices().ShowSettings));
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == QString::fromUtf8("Inställningar"))
                for (QPushButton* b : w->findChildren<QPushButton*>())
                    if (b->text() == "&Cancel") QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(MainFormServices().ShowSettings(nullptr), mrCancel);
    MainFormServices().ShowSettings = nullptr;
    SetMainDM(nullptr);
}

}  // namespace
}  // namespace tv
