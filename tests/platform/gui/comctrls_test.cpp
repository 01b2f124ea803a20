#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/bit_btn.h"
#include "platform/gui/dock_tab_set.h"
#include "platform/gui/form.h"
#include "platform/gui/image.h"
#include "platform/gui/image_list.h"
#include "platform/gui/list_view.h"
#include "platform/gui/page_control.h"
#include "platform/gui/panel.h"
#include "platform/gui/progress_bar.h"
#include "platform/gui/splitter.h"
#include "platform/gui/status_bar.h"
#include "platform/gui/tree_view.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

std::unique_ptr<TForm> Form(int w = 400, int h = 300) {
    auto form = std::make_unique<TForm>();
    form->SetBounds(0, 0, w, h);
    return form;
}

TEST(Panel, AlignsWithinItsBevelsAndDrawsThem) {
    auto form = Form();
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 100, 60);
    panel->SetColor(clWhite);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    auto* inner = new TPanel(form.get());
    inner->SetParent(panel);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 96, 56));  // outer bevel 1, border 2, inner bevel 1
    inner->Hide();
    auto image = test::Render(*panel);
    test::ExpectPixels(image->Canvas(), {{0, 0, ColorToRGB(clBtnHighlight)},  // raised: light at the top
                                         {99, 59, ColorToRGB(clBtnShadow)},
                                         {1, 1, clWhite},
                                         {3, 3, ColorToRGB(clBtnShadow)},  // lowered inside: dark at the top
                                         {50, 30, clWhite}});
}

TEST(Image, ShowsItsPictureStretchedOrCentred) {
    auto form = Form();
    form->SetColor(clWhite);
    auto* image = new TImage(form.get());
    image->SetParent(form.get());
    image->SetBounds(0, 0, 40, 20);
    TBitmap red;
    red.SetSize(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    image->Picture()->SetBitmap(&red);
    auto plain = test::Render(*form);
    test::ExpectPixels(plain->Canvas(), {{9, 9, clRed}, {10, 5, clWhite}});
    image->SetStretch(true);
    auto stretched = test::Render(*form);
    test::ExpectPixels(stretched->Canvas(), {{39, 19, clRed}});
    image->SetProportional(true);
    image->SetCenter(true);
    auto centred = test::Render(*form);
    test::ExpectPixels(centred->Canvas(),
                       {{9, 10, clWhite}, {10, 0, clRed}, {29, 19, clRed}, {30, 10, clWhite}});
    image->SetStretch(false);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
}

// A shown form with a panel aligned left (owned by `leftOwner`, else by the form) and a splitter
// beside it.
struct TSplitterWindow {
    explicit TSplitterWindow(TComponent* leftOwner = nullptr) : form(Form(400, 200)) {
        form->Show();
        left = new TPanel(leftOwner ? leftOwner : form.get());
        left->SetParent(form.get());
        left->SetWidth(100);
        left->SetAlign(alLeft);
        splitter = new TSplitter(form.get());
        splitter->SetParent(form.get());
        splitter->SetLeft(150);
        splitter->SetAlign(alLeft);
        splitter->OnMoved = [this](TObject*) { ++moved; };
    }
    // Presses the left button on the splitter, moves the mouse `dx` to the right and lets go.
    void Drag(int dx, const std::function<void()>& whilePressed = {}) {
        QWidget* w = splitter->Widget();
        QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(1, 50));
        if (whilePressed) whilePressed();
        const QPointF to(1 + dx, 50);
        QMouseEvent move(QEvent::MouseMove, to, w->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, to.toPoint());
    }
    std::unique_ptr<TForm> form;
    TPanel* left;
    TSplitter* splitter;
    int moved = 0;
};

TEST(Splitter, DraggingResizesTheControlBeforeIt) {
    TSplitterWindow w;
    auto* client = new TPanel(w.form.get());
    client->SetParent(w.form.get());
    client->SetAlign(alClient);
    EXPECT_EQ(w.splitter->Left(), 100);
    w.Drag(40);
    EXPECT_EQ(w.left->Width(), 140);
    EXPECT_EQ(w.splitter->Left(), 140);
    EXPECT_EQ(client->Left(), 143);
    EXPECT_EQ(w.moved, 1);
}

TEST(Splitter, AControlFreedDuringADragIsLetGo) {
    TComponent elsewhere;  // the resized control belongs to another owner
    TSplitterWindow w(&elsewhere);
    w.Drag(40, [&] { delete w.left; });
    EXPECT_EQ(w.moved, 0);
    EXPECT_EQ(w.splitter->Left(), 0);
}

TEST(BitBtn, ShowsAPngGlyphBesideItsCaption) {
    test::TempDir dir;
    TBitmap glyph;
    glyph.SetSize(48, 16);  // a strip of three glyphs
    glyph.SaveToFile(dir.Path("import.png"));
    auto form = Form();
    auto* button = new TBitBtn(form.get());
    button->SetParent(form.get());
    button->SetCaption("Import");
    button->Glyph()->LoadFromFile(dir.Path("import.png"));
    button->SetNumGlyphs(3);
    auto* tool = static_cast<QToolButton*>(button->Widget());
    EXPECT_FALSE(tool->icon().isNull());
    EXPECT_EQ(tool->iconSize(), QSize(16, 16));
    EXPECT_EQ(tool->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    button->SetLayout(blGlyphTop);
    EXPECT_EQ(tool->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    QTest::mouseClick(tool, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(SpeedButton, ButtonsOfAGroupStayDownOneAtATime) {
    auto form = Form();
    auto* a = new TSpeedButton(form.get());
    auto* b = new TSpeedButton(form.get());
    for (TSpeedButton* s : {a, b}) {
        s->SetParent(form.get());
        s->SetGroupIndex(1);
    }
    b->SetLeft(30);
    a->Click();
    EXPECT_TRUE(a->Down());
    b->Click();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->Click();  // stays down: the group may not be all up
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    b->Click();
    EXPECT_FALSE(b->Down());
}

TEST(PageControl, AHiddenSheetHidesItsPageAndTheUsersChoiceIsTold) {
    auto form = Form();
    auto* pages = new TPageControl(form.get());
    pages->SetParent(form.get());
    pages->SetAlign(alClient);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"Allmänt", "Visma Tid", "SQL"}) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
        sheets.push_back(sheet);
    }
    form->Show();
    auto* tabs = static_cast<QTabWidget*>(pages->Widget());
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(tabs->tabText(1).toStdString(), "Visma Tid");
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Widget()->isVisible());
    EXPECT_GT(sheets[0]->Width(), 0);  // the tabs give the page its size
    pages->SetActivePage(sheets[1]);
    sheets[1]->SetTabVisible(false);
    EXPECT_FALSE(sheets[1]->Widget()->isVisible());
    EXPECT_NE(pages->ActivePage(), sheets[1]);
    EXPECT_EQ(sheets[1]->TabIndex(), -1);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    sheets[1]->SetTabVisible(true);
    // The user picks a tab: OnChanging may refuse it.
    bool allow = false;
    int changes = 0;
    pages->OnChanging = [&](TObject*, bool& ok) { ok = allow; };
    pages->OnChange = [&](TObject*) { ++changes; };
    pages->SetActivePage(sheets[0]);
    tabs->tabBar()->setCurrentIndex(2);  // as a click on the tab does
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    allow = true;
    tabs->tabBar()->setCurrentIndex(2);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(changes, 1);
    sheets[2]->SetPageIndex(0);
    EXPECT_EQ(pages->Pages(0), sheets[2]);
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    delete sheets[0];
    EXPECT_EQ(pages->PageCount(), 2);
}

TEST(TreeView, NodesCarryTheirTextStateImageAndData) {
    auto form = Form();
    auto* tree = new TTreeView(form.get());
    tree->SetParent(form.get());
    tree->SetAlign(alClient);
    auto* states = new TImageList(form.get());
    TBitmap strip;
    strip.SetSize(16 * 10, 16);
    states->Add(&strip, nullptr);
    tree->SetStateImages(states);
    int record = 42;
    TTreeNodes* nodes = tree->Items();
    TTreeNode* start = nodes->Add(nullptr, "Start ");
    TTreeNode* file = nodes->Add(start, "order.xml");
    TTreeNode* line = nodes->AddChildObject(file, "Order 1001 importerad", &record);
    line->SetStateIndex(4);
    file->SetStateIndex(2);
    EXPECT_EQ(line->Data(), &record);
    EXPECT_EQ(line->StateIndex(), 4);
    EXPECT_EQ(line->Parent(), file);
    EXPECT_EQ(line->Level(), 1);
    EXPECT_EQ(file->Index(), 1);
    EXPECT_EQ(nodes->Count(), 3);
    EXPECT_EQ(nodes->Item(2), line);
    EXPECT_EQ(line->AbsoluteIndex(), 2);
    EXPECT_EQ(start->GetNext(), file);
    EXPECT_EQ(file->GetNext(), line);
    EXPECT_EQ(line->GetNext(), nullptr);
    EXPECT_FALSE(static_cast<QTreeWidget*>(tree->Widget())->topLevelItem(1)->child(0)->icon(0).isNull());
    line->SetText("Order 1001 - fel");
    EXPECT_EQ(line->Text(), "Order 1001 - fel");
    // A text the view's width cuts short shows whole in the node's tool tip.
    auto* shown = static_cast<QTreeWidget*>(tree->Widget())->topLevelItem(1);
    EXPECT_EQ(shown->toolTip(0), "order.xml");
    EXPECT_EQ(shown->child(0)->toolTip(0), "Order 1001 - fel");
    // Choosing a node tells OnChange; OnChanging may refuse.
    std::vector<std::string> changed;
    tree->OnChange = [&](TObject*, TTreeNode* n) { changed.push_back(n ? n->Text() : "-"); };
    line->SetSelected(true);
    tree->OnChanging = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
    start->SetSelected(true);
    EXPECT_EQ(tree->Selected(), line);
    EXPECT_EQ(changed, std::vector<std::string>{"Order 1001 - fel"});
    tree->OnChanging = nullptr;
    // Freeing a node frees the ones under it, each told to OnDeletion.
    std::vector<std::string> deleted;
    tree->OnDeletion = [&](TObject*, TTreeNode* n) { deleted.push_back(n->Text()); };
    file->Delete();
    EXPECT_EQ(deleted, (std::vector<std::string>{"Order 1001 - fel", "order.xml"}));
    EXPECT_EQ(nodes->Count(), 1);
    EXPECT_THROW(nodes->Item(1), EListError);
    nodes->AddChild(start, "x");
    start->Expand(true);
    EXPECT_TRUE(start->Expanded());
    nodes->Clear();
    EXPECT_EQ(nodes->Count(), 0);
    EXPECT_EQ(tree->Selected(), nullptr);
}

TEST(ListView, RowsShowTheirCaptionAndSubItemsUnderTheColumns) {
    auto form = Form();
    auto* list = new TListView(form.get());
    list->SetParent(form.get());
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    auto* tree = static_cast<QTreeWidget*>(list->Widget());
    TListItems* items = list->Items();
    // Sub-items given before their columns exist show once the columns come.
    TListItem* first = items->Add();
    first->SetCaption("Prefs Folder");
    first->SubItems()->Add("/var/lib/tollvane");
    first->SubItems()->Add("kept");
    for (const char* caption : {"Info", "Värde"}) list->Columns()->Add()->SetCaption(caption);
    list->Columns()->Items(1)->SetWidth(300);
    EXPECT_EQ(tree->headerItem()->text(1).toStdString(), "Värde");
    EXPECT_EQ(tree->header()->sectionSize(1), 300);
    EXPECT_EQ(tree->topLevelItem(0)->text(1).toStdString(), "/var/lib/tollvane");
    EXPECT_EQ(tree->topLevelItem(0)->toolTip(1).toStdString(), "/var/lib/tollvane")
        << "whole, when cut short";
    EXPECT_EQ(first->SubItems()->Count(), 2) << "a sub-item beyond the columns is kept";

    items->BeginUpdate();
    TListItem* last = items->Add();
    last->SetCaption("Remote Session");
    TListItem* middle = items->Insert(1);
    middle->SetCaption("Help File");
    items->EndUpdate();
    last->SubItems()->Add("False");
    last->SubItems()->SetStrings(0, "True");
    EXPECT_EQ(tree->topLevelItem(2)->text(1).toStdString(), "True");
    EXPECT_EQ(items->Count(), 3);
    EXPECT_EQ(items->Item(1), middle);
    EXPECT_EQ(last->Index(), 2);
    EXPECT_THROW(items->Item(3), EListError);

    // The row under the mouse is chosen by a click and found by its place.
    form->Show();
    const TRect r = last->DisplayRect();
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_EQ(list->GetItemAt(r.Left + 2, r.Top + 2), last);
    EXPECT_EQ(list->Selected(), nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(r.Left + 2, r.Top + 2));
    EXPECT_EQ(list->Selected(), last);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->SetSelected(nullptr);
    EXPECT_EQ(list->ItemIndex(), -1);

    items->Delete(1);
    EXPECT_EQ(items->Count(), 2);
    EXPECT_EQ(last->Index(), 1);
    items->Clear();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST(ProgressBar, StepsWithinItsRange) {
    auto form = Form();
    auto* bar = new TProgressBar(form.get());
    bar->SetParent(form.get());
    bar->SetMax(4);
    bar->SetStep(1);
    for (int i = 0; i < 4; ++i) bar->StepIt();
    EXPECT_EQ(bar->Position(), 4);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 0);  // past the end it starts again
    bar->StepBy(10);
    EXPECT_EQ(bar->Position(), 4);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(static_cast<QProgressBar*>(bar->Widget())->maximum(), 4);
    // At the ends of the integers: a step past the largest one is past Max.
    constexpr int kMax = std::numeric_limits<int>::max();
    bar->SetMax(kMax);
    bar->SetPosition(kMax - 1);
    bar->SetStep(10);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 0);
    bar->StepBy(kMax);
    bar->StepBy(kMax);
    EXPECT_EQ(bar->Position(), kMax);
    bar->StepBy(std::numeric_limits<int>::min());
    EXPECT_EQ(bar->Position(), 0);
}

TEST(StatusBar, PanelsSitSideBySideAtTheBottom) {
    auto form = Form(300, 200);
    auto* bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    EXPECT_EQ(bar->Top() + bar->Height(), 200);
    EXPECT_EQ(bar->Width(), 300);
    TStatusPanel* first = bar->Panels()->Add();
    first->SetWidth(50);
    first->SetText("1:1");
    bar->Panels()->Add()->SetWidth(100);
    EXPECT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Panels()->Items(1)->Width(), 100);
    auto image = test::Render(*bar);
    // Each panel is lowered: dark at its top left, light at its bottom right; two pixels apart.
    test::ExpectPixels(image->Canvas(), {{0, 2, ColorToRGB(clBtnShadow)},
                                         {47, 5, ColorToRGB(clBtnHighlight)},
                                         {48, 5, ColorToRGB(clBtnFace)},
                                         {50, 2, ColorToRGB(clBtnShadow)}});
}

TEST(DockTabSet, ADockedWindowShowsBesideTheTabsAndCollapses) {
    auto main = Form(600, 400);
    auto* tabs = new TDockTabSet(main.get());
    tabs->SetParent(main.get());
    auto* rest = new TPanel(main.get());
    rest->SetParent(main.get());
    rest->SetAlign(alClient);
    auto* scripts = new TForm(main.get());
    scripts->SetCaption("Script");
    scripts->ManualDock(tabs);
    main->Show();
    EXPECT_FALSE(tabs->Expanded());
    const int collapsed = tabs->Width();
    EXPECT_GT(collapsed, 0);
    scripts->Show();  // showing a docked window expands to it
    EXPECT_EQ(tabs->ShownClient(), scripts);
    EXPECT_EQ(tabs->Width(), collapsed + tabs->DockWidth());
    EXPECT_EQ(rest->Left(), tabs->Width());
    EXPECT_EQ(scripts->Left(), collapsed);
    EXPECT_EQ(scripts->Width(), tabs->DockWidth());
    tabs->Collapse();
    EXPECT_FALSE(scripts->Visible());
    EXPECT_EQ(tabs->Width(), collapsed);
    // A click on the tab shows it again; a second click collapses.
    auto* bar = tabs->Widget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    const QPoint tab = bar->tabRect(0).center();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, tab);
    EXPECT_TRUE(scripts->Visible());
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, tab);
    EXPECT_FALSE(tabs->Expanded());
    scripts->ManualFloat(Bounds(10, 10, 100, 100));
    EXPECT_EQ(tabs->DockClientCount(), 0);
    EXPECT_EQ(tabs->Width(), 0);
}

}  // namespace
}  // namespace tv
