#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/gui/button.h"
#include "platform/gui/combo_box.h"
#include "platform/gui/form.h"
#include "platform/gui/group_box.h"
#include "platform/gui/gui_classes.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/label.h"
#include "platform/gui/list_box.h"
#include "platform/gui/memo.h"
#include "platform/gui/scroll_bar.h"
#include "platform/gui/scroll_box.h"
#include "platform/rtl/class_info.h"

namespace tv {
namespace {

// A shown form with a control of class C on it.
template <class C>
struct OnForm {
    OnForm() : form(std::make_unique<TForm>()) {
        form->SetBounds(0, 0, 400, 300);
        control = new C(form.get());
        control->SetParent(form.get());
        form->Show();
    }
    std::unique_ptr<TForm> form;
    C* control;
};

TEST(Edit, TypingFiresChangeWithTheNewText) {
    OnForm<TEdit> f;
    TEdit* edit = f.control;
    std::vector<std::string> seen;
    edit->OnChange = [&](TObject* sender) { seen.push_back(static_cast<TEdit*>(sender)->Text()); };
    edit->SetFocus();
    QTest::keyClicks(edit->Widget(), "Ok");
    EXPECT_EQ(seen, (std::vector<std::string>{"O", "Ok"}));
    EXPECT_TRUE(edit->Modified());
    edit->SetText("Åsa");  // the program's changes are changes too, and not the user's
    EXPECT_EQ(seen.back(), "Åsa");
    EXPECT_FALSE(edit->Modified());
}

TEST(Edit, FocusMovesFireExitThenEnterAndTabFollowsTabOrder) {
    OnForm<TEdit> f;
    TEdit* first = f.control;
    auto* second = new TEdit(f.form.get());
    second->SetParent(f.form.get());
    second->SetTop(40);
    second->SetFocus();
    ASSERT_TRUE(test::WaitUntil([&] { return second->Focused(); }));
    std::vector<std::string> log;
    first->OnEnter = [&](TObject*) { log.push_back("enter 1"); };
    first->OnExit = [&](TObject*) { log.push_back("exit 1"); };
    second->OnEnter = [&](TObject*) { log.push_back("enter 2"); };
    second->OnExit = [&](TObject*) { log.push_back("exit 2"); };
    first->SetFocus();
    EXPECT_TRUE(first->Focused());
    QTest::keyClick(first->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(second->Focused());
    EXPECT_EQ(f.form->ActiveControl(), second);
    EXPECT_EQ(log, (std::vector<std::string>{"exit 2", "enter 1", "exit 1", "enter 2"}));
}

TEST(Edit, SelectionAndCharCase) {
    OnForm<TEdit> f;
    TEdit* edit = f.control;
    edit->SetText("Hello world");
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelText(), "world");
    char buf[4];
    EXPECT_EQ(edit->GetSelTextBuf(buf, 4), 3);
    EXPECT_EQ(std::string(buf), "wor");
    edit->SetSelText("there");
    EXPECT_EQ(edit->Text(), "Hello there");
    edit->SelectAll();
    edit->ClearSelection();
    EXPECT_EQ(edit->Text(), "");
    edit->SetCharCase(ecUpperCase);
    edit->SetFocus();
    QTest::keyClicks(edit->Widget(), "abc");
    EXPECT_EQ(edit->Text(), "ABC");
    edit->SetMaxLength(4);
    QTest::keyClicks(edit->Widget(), "defg");
    EXPECT_EQ(edit->Text(), "ABCD");
}

TEST(Memo, LinesAreTheMemosOwnLive) {
    OnForm<TMemo> f;
    TMemo* memo = f.control;
    auto* editor = static_cast<QPlainTextEdit*>(memo->Widget());
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("first");
    lines->Add("second");
    EXPECT_EQ(editor->toPlainText().toStdString(), "first\nsecond\n");
    EXPECT_EQ(memo->Text(), "first\r\nsecond\r\n");
    EXPECT_EQ(lines->Count(), 2);
    lines->Insert(1, "middle");
    lines->SetStrings(0, "1st");
    lines->Delete(2);
    EXPECT_EQ(memo->Text(), "1st\r\nmiddle\r\n");
    // What the user types is what Lines reads.
    memo->SetText("typed");
    EXPECT_EQ(lines->Count(), 1);
    lines->Add("added");  // after a line without a break, the break comes first
    EXPECT_EQ(memo->Text(), "typed\r\nadded");
    lines->Delete(1);
    EXPECT_EQ(memo->Text(), "typed");
    EXPECT_THROW(lines->Strings(5), EStringListError);
    TStringList other;
    other.SetText("a\r\nb\r\n");
    memo->SetLines(&other);
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Strings(1), "b");
    lines->Clear();
    EXPECT_EQ(memo->Text(), "");
}

TEST(Memo, SelectionCountsLineBreaksAsTwoCharacters) {
    OnForm<TMemo> f;
    TMemo* memo = f.control;
    memo->SetText("ab\r\ncd");
    memo->SetSelStart(4);
    memo->SetSelLength(2);
    EXPECT_EQ(memo->SelText(), "cd");
    memo->SetSelStart(1);
    memo->SetSelLength(4);
    EXPECT_EQ(memo->SelText(), "b\r\nc");
    EXPECT_EQ(memo->SelStart(), 1);
    EXPECT_EQ(memo->SelLength(), 4);
}

TEST(Memo, EnterBreaksTheLineOrGoesToTheDefaultButton) {
    OnForm<TMemo> f;
    TMemo* memo = f.control;
    auto* ok = new TButton(f.form.get());
    ok->SetParent(f.form.get());
    ok->SetTop(150);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    memo->SetFocus();
    QTest::keyClick(memo->Widget(), Qt::Key_Return);
    EXPECT_EQ(memo->Lines()->Count(), 1);  // a line break
    EXPECT_EQ(clicks, 0);
    memo->SetWantReturns(false);
    QTest::keyClick(memo->Widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, 1);
}

TEST(ComboBox, ItemsAreLiveAndTheUsersChoiceClicksAndChanges) {
    OnForm<TComboBox> f;
    TComboBox* box = f.control;
    auto* widget = static_cast<QComboBox*>(box->Widget());
    TComponent tag;
    box->Items()->AddObject("Kunder", &tag);
    box->Items()->Add("Artiklar");
    EXPECT_EQ(widget->count(), 2);
    EXPECT_EQ(box->Items()->Objects(0), &tag);
    std::vector<std::string> log;
    box->OnClick = [&](TObject*) { log.push_back("click " + std::to_string(box->ItemIndex())); };
    box->OnChange = [&](TObject*) { log.push_back("change " + box->Text()); };
    box->SetItemIndex(1);  // the program: no events
    EXPECT_EQ(box->Text(), "Artiklar");
    EXPECT_TRUE(log.empty());
    widget->setCurrentIndex(0);
    emit widget->activated(0);  // the user chooses from the list
    EXPECT_EQ(log, (std::vector<std::string>{"click 0", "change Kunder"}));
    box->SetFocus();
    QTest::keyClicks(widget->lineEdit(), "x");
    EXPECT_EQ(log.back(), "change Kunderx");
    EXPECT_THROW(box->SetItemIndex(2), EListError);
    box->SetSorted(true);
    EXPECT_EQ(box->Items()->Strings(0), "Artiklar");
    box->Items()->Add("Leverantörer");
    EXPECT_EQ(box->Items()->IndexOf("leverantörer"), 2);
}

TEST(ComboBox, AListOnlyStyleChoosesByText) {
    OnForm<TComboBox> f;
    TComboBox* box = f.control;
    box->SetStyle(csDropDownList);
    box->Items()->SetCommaText("Alla,SQL,Intervall");
    box->SetText("sql");
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->Text(), "SQL");
    box->SetText("none");
    EXPECT_EQ(box->ItemIndex(), -1);
    int drops = 0;
    box->OnDropDown = [&](TObject*) { ++drops; };
    box->SetDroppedDown(true);
    EXPECT_EQ(drops, 1);
    box->SetDroppedDown(false);
}

TEST(ListBox, TheUsersChoiceClicksAndTheProgramsDoesNot) {
    OnForm<TListBox> f;
    TListBox* list = f.control;
    list->SetBounds(0, 0, 150, 150);
    list->Items()->SetCommaText("a,b,c");
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(list->SelCount(), -1);
    const TRect r = list->ItemRect(2);
    EXPECT_FALSE(r.IsEmpty());
    auto* viewport = static_cast<QListWidget*>(list->Widget())->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 2, r.Top + 2));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemAtPos(Point(r.Left + 2, r.Top + 2), true), 2);
    EXPECT_EQ(list->ItemAtPos(Point(2, 140), true), -1);
    EXPECT_EQ(list->ItemAtPos(Point(2, 140), false), 3);
    EXPECT_TRUE(list->Selected(2));
    EXPECT_THROW(list->Selected(3), EListError);
    list->SetMultiSelect(true);
    list->SetSelected(0, true);
    EXPECT_EQ(list->SelCount(), 2);
    list->Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST(ListBox, ADoubleClickOnAnItemOrBelowThemIsADblClick) {
    OnForm<TListBox> f;
    TListBox* list = f.control;
    list->SetBounds(0, 0, 150, 150);
    list->Items()->SetCommaText("a,b");
    std::vector<int> chosen;
    list->OnDblClick = [&](TObject*) { chosen.push_back(list->ItemIndex()); };
    auto* viewport = static_cast<QListWidget*>(list->Widget())->viewport();
    const TRect r = list->ItemRect(1);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + 2, r.Top + 2));
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(2, 140));
    EXPECT_EQ(chosen, (std::vector<int>{1, 1}));
}

TEST(Button, AClickSetsTheFormsModalResultAndEscapeClicksTheCancelButton) {
    TForm form;
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->SetCaption("&OK");
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetTop(40);
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    QTimer::singleShot(10, [&] { QTest::mouseClick(ok->Widget(), Qt::LeftButton); });
    EXPECT_EQ(form.ShowModal(), mrOk);
    QTimer::singleShot(10, [&] { QTest::keyClick(ok->Widget(), Qt::Key_Escape); });
    EXPECT_EQ(form.ShowModal(), mrCancel);
}

TEST(CheckBox, EveryChangeOfStateClicks) {
    OnForm<TCheckBox> f;
    TCheckBox* box = f.control;
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    QTest::mouseClick(box->Widget(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(box->Checked());
    box->SetChecked(false);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    box->SetState(cbGrayed);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_FALSE(box->Checked());
}

TEST(RadioButton, CheckingOneUnchecksItsSiblings) {
    TForm form;
    auto* a = new TRadioButton(&form);
    auto* b = new TRadioButton(&form);
    a->SetParent(&form);
    b->SetParent(&form);
    b->SetTop(30);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST(RadioGroup, ItemIndexFollowsAClick) {
    OnForm<TRadioGroup> f;
    TRadioGroup* group = f.control;
    group->SetBounds(10, 10, 200, 100);
    group->SetCaption("Filhantering");
    group->Items()->Add("Hela urvalet i samma fil");
    group->Items()->Add("En fil per post");
    std::vector<int> clicked;
    group->OnClick = [&](TObject*) { clicked.push_back(group->ItemIndex()); };
    const QList<QRadioButton*> buttons = group->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QTest::mouseClick(buttons[1], Qt::LeftButton, Qt::NoModifier, QPoint(10, buttons[1]->height() / 2));
    EXPECT_EQ(group->ItemIndex(), 1);
    group->SetItemIndex(0);
    EXPECT_TRUE(buttons[0]->isChecked());
    group->SetItemIndex(-1);
    EXPECT_FALSE(buttons[0]->isChecked());
    EXPECT_EQ(clicked, (std::vector<int>{1, 0, -1}));
    EXPECT_THROW(group->SetItemIndex(2), EListError);
    // The buttons fill the columns, top to bottom.
    group->Items()->Add("I batcher om # poster");
    group->SetColumns(2);
    const QList<QRadioButton*> three = group->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(three.size(), 3);
    EXPECT_EQ(three[0]->x(), three[1]->x());
    EXPECT_GT(three[2]->x(), three[0]->x());
}

TEST(GroupBox, AlignsInsideItsFrameBelowTheCaption) {
    OnForm<TGroupBox> f;
    TGroupBox* box = f.control;
    box->SetCaption("Urval");
    box->SetBounds(0, 0, 200, 100);
    auto* inner = new TCustomControl(f.form.get());
    inner->SetParent(box);
    inner->SetAlign(alClient);
    EXPECT_GT(inner->Top(), 0);
    EXPECT_GT(inner->Left(), 0);
    EXPECT_LT(inner->Left() + inner->Width(), 200);
    EXPECT_LT(inner->Top() + inner->Height(), 100);
}

TEST(Label, AutoSizeFollowsTheTextAndAcceleratorsAreHidden) {
    OnForm<TLabel> f;
    TLabel* label = f.control;
    label->SetCaption("&Arkiv");
    EXPECT_EQ(static_cast<QLabel*>(label->Widget())->text().toStdString(), "Arkiv");
    const int w = label->Width();
    EXPECT_GT(w, 0);
    label->SetCaption("&Arkiv && mer");
    EXPECT_EQ(static_cast<QLabel*>(label->Widget())->text().toStdString(), "Arkiv & mer");
    EXPECT_GT(label->Width(), w);
    label->SetShowAccelChar(false);
    EXPECT_EQ(static_cast<QLabel*>(label->Widget())->text().toStdString(), "&Arkiv && mer");
    label->Font()->SetSize(16);
    EXPECT_GT(label->Height(), 20);
    EXPECT_GT(label->Canvas()->TextWidth("x"), 0);
}

TEST(ScrollBar, ChangeFollowsEveryMoveAndScrollMayRedirectTheUser) {
    OnForm<TScrollBar> f;
    TScrollBar* bar = f.control;
    std::vector<int> changes;
    bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
    bar->SetParams(50, 0, 200);
    bar->SetPosition(50);
    bar->SetMax(40);  // the position follows the range
    EXPECT_EQ(changes, (std::vector<int>{50, 40}));
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
    std::vector<TScrollCode> codes;
    bar->OnScroll = [&](TObject*, TScrollCode code, int32_t& pos) {
        codes.push_back(code);
        if (code == scLineUp) pos = 0;
    };
    static_cast<QScrollBar*>(bar->Widget())->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(codes, std::vector<TScrollCode>{scLineUp});
    EXPECT_EQ(bar->Position(), 0);
}

TEST(ScrollBox, ScrollsTheControlsInsideItsFrame) {
    OnForm<TScrollBox> f;
    TScrollBox* box = f.control;
    box->SetBounds(0, 0, 100, 80);
    auto* far = new TCustomControl(f.form.get());
    far->SetParent(box);
    far->SetBounds(0, 200, 20, 20);
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_LT(box->ClientHeight(), 80);
    EXPECT_GT(far->Widget()->y(), 200);  // inside the frame
    box->SetBorderStyle(bsNone);
    EXPECT_EQ(far->Widget()->y(), 200);
}

TEST(StdCtrls, PublishWhatTheScriptsReach) {
    RegisterGuiClasses();
    struct Case {
        const char* cls;
        std::vector<std::string> published;
    } cases[] = {
        {"TGroupBox",
         {"Anchors",     "Caption",     "Color",          "Font",       "ParentColor", "ParentFont",
          "OnClick",     "OnDblClick",  "OnEnter",        "OnExit",     "CTL3D",       "DragCursor",
          "DragMode",    "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",  "OnEndDrag",
          "OnMouseDown", "OnMouseMove", "OnMouseUp",      "OnStartDrag"}},
        {"TLabel", {"Alignment",   "Anchors",     "AutoSize",       "Caption",       "Color",
                    "DragCursor",  "DragMode",    "FocusControl",   "Font",          "Layout",
                    "ParentColor", "ParentFont",  "ParentShowHint", "ShowAccelChar", "Transparent",
                    "WordWrap",    "OnClick",     "OnDblClick",     "OnDragDrop",    "OnDragOver",
                    "OnEndDrag",   "OnMouseDown", "OnMouseMove",    "OnMouseUp",     "OnStartDrag"}},
        {"TEdit",
         {"Anchors",       "AutoSelect",  "AutoSize",       "CharCase",   "Color",        "Font",
          "HideSelection", "MaxLength",   "ParentColor",    "ParentFont", "PasswordChar", "ReadOnly",
          "Text",          "OnChange",    "OnClick",        "OnDblClick", "OnEnter",      "OnExit",
          "OnKeyDown",     "OnKeyPress",  "OnKeyUp",        "CTL3D",      "DragCursor",   "DragMode",
          "OEMConvert",    "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",   "OnEndDrag",
          "OnMouseDown",   "OnMouseMove", "OnMouseUp",      "OnStartDrag"}},
        {"TMemo", {"Anchors",     "Alignment",   "Color",          "Font",       "HideSelection", "MaxLength",
                   "ParentColor", "ParentFont",  "ReadOnly",       "ScrollBars", "WantReturns",   "WantTabs",
                   "WordWrap",    "OnChange",    "OnClick",        "OnDblClick", "OnEnter",       "OnExit",
                   "OnKeyDown",   "OnKeyPress",  "OnKeyUp",        "CTL3D",      "DragCursor",    "DragMode",
                   "OEMConvert",  "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",    "OnEndDrag",
                   "OnMouseDown", "OnMouseMove", "OnMouseUp",      "OnStartDrag"}},
        {"TComboBox",
         {"Style",          "Anchors",    "Color",      "DropDownCount", "Font",       "MaxLength",
          "ParentColor",    "ParentFont", "Sorted",     "Text",          "OnChange",   "OnClick",
          "OnDblClick",     "OnDropDown", "OnEnter",    "OnExit",        "OnKeyDown",  "OnKeyPress",
          "OnKeyUp",        "CTL3D",      "DragMode",   "DragCursor",    "ItemHeight", "ParentCtl3D",
          "ParentShowHint", "OnDragDrop", "OnDragOver", "OnDrawItem",    "OnEndDrag",  "OnMeasureItem",
          "OnStartDrag"}},
        {"TButton", {"Anchors",        "Cancel",      "Caption",     "Default",   "Font",       "ModalResult",
                     "ParentFont",     "OnClick",     "OnEnter",     "OnExit",    "DragCursor", "DragMode",
                     "ParentShowHint", "OnDragDrop",  "OnDragOver",  "OnEndDrag", "OnKeyDown",  "OnKeyPress",
                     "OnKeyUp",        "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnStartDrag"}},
        {"TCheckBox",
         {"Alignment",   "AllowGrayed", "Anchors",    "Caption",    "Checked",     "Color",
          "Font",        "ParentColor", "ParentFont", "State",      "OnClick",     "OnEnter",
          "OnExit",      "CTL3D",       "DragCursor", "DragMode",   "ParentCtl3D", "ParentShowHint",
          "OnDragDrop",  "OnDragOver",  "OnEndDrag",  "OnKeyDown",  "OnKeyPress",  "OnKeyUp",
          "OnMouseDown", "OnMouseMove", "OnMouseUp",  "OnStartDrag"}},
        {"TRadioButton",
         {"Alignment",   "Anchors",    "Caption",    "Checked",     "Color",          "Font",
          "ParentColor", "ParentFont", "OnClick",    "OnDblClick",  "OnEnter",        "OnExit",
          "CTL3D",       "DragCursor", "DragMode",   "ParentCtl3D", "ParentShowHint", "OnDragDrop",
          "OnDragOver",  "OnEndDrag",  "OnKeyDown",  "OnKeyPress",  "OnKeyUp",        "OnMouseDown",
          "OnMouseMove", "OnMouseUp",  "OnStartDrag"}},
        {"TListBox",
         {"Anchors",     "Color",          "Font",           "MultiSelect", "ParentColor", "ParentFont",
          "Sorted",      "Style",          "OnClick",        "OnDblClick",  "OnEnter",     "OnExit",
          "OnKeyDown",   "OnKeyPress",     "OnKeyUp",        "Columns",     "CTL3D",       "DragCursor",
          "DragMode",    "ExtendedSelect", "IntegralHeight", "ItemHeight",  "ParentCtl3D", "ParentShowHint",
          "TabWidth",    "OnDragDrop",     "OnDragOver",     "OnDrawItem",  "OnEndDrag",   "OnMeasureItem",
          "OnMouseDown", "OnMouseMove",    "OnMouseUp",      "OnStartDrag"}},
        {"TScrollBar",
         {"Anchors",    "Max",        "Min",        "Position",  "OnChange",    "OnEnter",
          "OnExit",     "CTL3D",      "DragCursor", "DragMode",  "ParentCtl3D", "ParentShowHint",
          "OnDragDrop", "OnDragOver", "OnEndDrag",  "OnKeyDown", "OnKeyPress",  "OnKeyUp",
          "OnScroll",   "OnStartDrag"}},
        {"TScrollBox",
         {"Anchors",     "Constraints", "BorderStyle", "Color",          "Font",        "AutoScroll",
          "ParentColor", "ParentFont",  "OnClick",     "OnDblClick",     "OnEnter",     "OnExit",
          "OnResize",    "DragCursor",  "DragMode",    "ParentShowHint", "CTL3D",       "ParentCtl3D",
          "OnDragDrop",  "OnDragOver",  "OnEndDrag",   "OnMouseDown",    "OnMouseMove", "OnMouseUp"}},
        {"TCustomGroupBox", {}},
        {"TCustomLabel", {}},
        {"TCustomEdit", {}},
        {"TCustomMemo", {}},
        {"TCustomComboBox", {}},
        {"TButtonControl", {}},
        {"TCustomCheckBox", {}},
        {"TCustomListBox", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        for (const TPropInfo& p : FindClass(c.cls).OwnProperties()) names.push_back(p.Name);
        EXPECT_EQ(names, c.published) << c.cls;
    }
    // An owner-draw event takes a rectangle by value: a record of four integers.
    const TPropInfo* draw = FindClass("TListBox").FindProperty("OnDrawItem");
    ASSERT_NE(draw, nullptr);
    const TTypeInfo* rect = draw->PropType->Signature->Params[2].Type;
    EXPECT_EQ(rect->Kind, TTypeKind::Record);
    EXPECT_EQ(rect->Fields.size(), 4u);
    EXPECT_EQ(rect->DataSize(), 16);
}

}  // namespace
}  // namespace tv
