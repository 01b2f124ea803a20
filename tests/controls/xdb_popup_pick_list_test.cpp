// The pop-up base and the pick list: a window of its own in screen coordinates, keys handed to
// the editor's logic first, the close-up event on release and on the desktop's close, the grid's
// list border, and the typed search on the fake clock.

#include <gtest/gtest.h>

#include <set>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "controls/xdb_grid.h"
#include "controls/xdb_popup_pick_list.h"
#include "grid_test_support.h"
#include "platform/gui/key_codes.h"

namespace tv {
namespace {

using test::GridTest;

// The editor's side: records what reaches it, consumes what it is told to.
struct TRecordingKeyTarget : IPopupKeyTarget {
    std::vector<uint16_t> downs;
    std::vector<char16_t> presses;
    uint16_t consumeKey = 0;
    char16_t consumeChar = 0;
    bool PopupKeyDown(uint16_t& Key, TShiftState) override {
        downs.push_back(Key);
        return Key != consumeKey;
    }
    bool PopupKeyPress(char16_t& Key) override {
        presses.push_back(Key);
        return Key != consumeChar;
    }
};

class PickListTest : public GridTest {
protected:
    PickListTest() {
        grid = AddGrid<TXDBGrid>(300, 200);
        list = new TXPopupPickList(&form);
        list->SetParent(&form);
        list->SetGrid(grid);
        list->Items()->SetText("Apple\nAbc\nAbd\nBanana\nbread\nCherry\n");
        list->OnCloseUp = [this](bool accept) { closeUps.push_back(accept); };
        list->SetBounds(200, 150, 120, 100);
        list->Show();
    }
    QWidget* Viewport() const { return static_cast<QAbstractScrollArea*>(list->Widget())->viewport(); }
    void Type(const char* text) { QTest::keyClicks(list->Widget(), QString::fromUtf8(text)); }
    std::string Chosen() const {
        return list->ItemIndex() < 0 ? std::string() : list->Items()->Strings(list->ItemIndex());
    }

    TXDBGrid* grid = nullptr;
    TXPopupPickList* list = nullptr;
    std::vector<bool> closeUps;
};

TEST_F(PickListTest, IsAWindowOfItsOwnAtScreenCoordinates) {
    QWidget* w = list->Widget();
    EXPECT_TRUE(w->isWindow());
    EXPECT_TRUE(w->windowFlags() & Qt::Popup);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->geometry(), QRect(200, 150, 120, 100));
    EXPECT_EQ(list->Parent(), &form);
    list->SetBounds(40, 500, 90, 60);
    EXPECT_EQ(w->geometry(), QRect(40, 500, 90, 60));
    list->Hide();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(PickListTest, TypedLettersChooseTheFirstItemThatBeginsWithThemUntilAPause) {
    struct Step {
        uint32_t pauseMs;
        const char* typed;
        const char* search;
        const char* chosen;
    };
    const Step steps[] = {
        {0, "ab", "ab", "Abc"},     {2000, "d", "abd", "Abd"},  // 2000 ms is not yet a pause
        {2001, "b", "b", "Banana"},  // after more than 2000 ms the letters start again
        {10, "r", "br", "bread"},   {10, "x", "brx", "bread"},  // nothing begins with it: the choice stays
        {3000, "C", "C", "Cherry"},
    };
    for (const Step& s : steps) {
        clock.Advance(s.pauseMs);
        Type(s.typed);
        EXPECT_EQ(list->SearchText(), s.search) << s.typed;
        EXPECT_EQ(Chosen(), s.chosen) << s.typed;
    }
    QTest::keyClick(list->Widget(), Qt::Key_Backspace);
    EXPECT_EQ(list->SearchText(), "");
    Type("bre");
    QTest::keyClick(list->Widget(), Qt::Key_Escape);
    EXPECT_EQ(list->SearchText(), "");
    EXPECT_TRUE(closeUps.empty());
}

TEST_F(PickListTest, KeepsAtMost32TypedCharacters) {
    Type("åååååååååååååååååååååååååååååååååååå");  // 36, two bytes each
    EXPECT_EQ(Utf8ToUtf16(list->SearchText()).size(), 32u);
}

TEST_F(PickListTest, HandsEveryKeyToTheEditorFirst) {
    TRecordingKeyTarget editor;
    list->SetKeyTarget(&editor);
    editor.consumeChar = u'a';
    Type("ab");
    EXPECT_EQ(editor.presses, (std::vector<char16_t>{u'a', u'b'}));
    EXPECT_EQ(list->SearchText(), "b");  // the consumed 'a' never reached the search
    editor.consumeKey = VK_DOWN;
    list->SetItemIndex(0);
    QTest::keyClick(list->Widget(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 0);
    editor.consumeKey = 0;
    QTest::keyClick(list->Widget(), Qt::Key_Down);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(editor.downs.back(), VK_DOWN);
    // Enter is the editor's, not the form's default button's.
    QTest::keyClick(list->Widget(), Qt::Key_Return);
    EXPECT_EQ(editor.downs.back(), VK_RETURN);
}

TEST_F(PickListTest, PointerChoosesAndReleaseClosesUp) {
    auto* view = static_cast<QAbstractItemView*>(list->Widget());
    const QRect third = view->visualRect(view->model()->index(2, 0));
    QTest::mouseMove(Viewport(), third.center());
    EXPECT_EQ(Chosen(), "Abd");
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(closeUps, std::vector<bool>{true});
    QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, QPoint(-5, 10));
    EXPECT_EQ(closeUps, (std::vector<bool>{true, false}));
    QTest::mouseRelease(Viewport(), Qt::RightButton, {}, third.center());
    EXPECT_EQ(closeUps.size(), 2u);
}

TEST_F(PickListTest, TheDesktopClosingItIsACancel) {
    list->Widget()->close();
    EXPECT_EQ(closeUps, std::vector<bool>{false});
    EXPECT_FALSE(list->Visible());
    EXPECT_FALSE(list->Widget()->isVisible());
}

TEST_F(PickListTest, WheelMovesTheTopItemByTheGridsRows) {
    list->Items()->Clear();
    for (int i = 0; i < 40; ++i) list->Items()->Add("Item " + std::to_string(i));
    grid->SetWheelScrollRows(4);
    auto turn = [this](int delta) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(list->Widget()->mapToGlobal(QPoint(10, 10))), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &wheel);
    };
    turn(-240);
    EXPECT_EQ(list->TopIndex(), 8);
    turn(120);
    EXPECT_EQ(list->TopIndex(), 4);
    turn(360);
    EXPECT_EQ(list->TopIndex(), 0);
}

// Owner-drawn, the list draws its rows as the grid does: the selected one in the grid's
// selection colours, a data line under each, the fixed line along the edge while not all fit.
TEST_F(PickListTest, DrawsItsRowsInTheGridsStyle) {
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->SetHeight(122);  // six rows of 20 within the border
    list->SetItemIndex(1);
    grid->SetSelectCellColor(clRed);
    grid->SetSelectRowColor(clNone);
    grid->SetHighlightText(clYellow);
    QWidget* window = list->Widget();
    ASSERT_TRUE(
        test::WaitUntil([window] { return window->windowHandle() && window->windowHandle()->isExposed(); }));
    auto paint = [this] {
        QApplication::processEvents();  // the list lays its items out late
        recorder.Clear();
        list->Canvas()->AttachRecorder(&recorder);
        Viewport()->repaint();
        list->Canvas()->AttachRecorder(nullptr);
        return recorder.Records();
    };
    auto texts = [](const std::vector<TCanvasRecord>& records, const std::string& text) {
        std::vector<TCanvasRecord> found;
        for (const TCanvasRecord& r : records)
            if (r.Op == TCanvasOp::Text && r.Text == text) found.push_back(r);
        return found;
    };
    std::vector<TCanvasRecord> records = paint();
    std::vector<TCanvasRecord> abc = texts(records, "Abc");
    ASSERT_EQ(abc.size(), 1u);
    EXPECT_EQ(abc[0].Color, clYellow);
    EXPECT_EQ(abc[0].Back, clRed);
    EXPECT_EQ(texts(records, "Apple").at(0).Back, list->Color());
    // The item is one pixel shorter than its row, over the data line.
    const TRect row = list->ItemRect(1);
    EXPECT_EQ(abc[0].Rect.Bottom, row.Bottom - 1);
    int dataLines = 0, edgeLines = 0;
    for (const TCanvasRecord& r : records) {
        if (r.Op != TCanvasOp::Line) continue;
        if (r.Color == grid->DefaultDataLineColor() && r.From.Y == r.To.Y) ++dataLines;
        if (r.Color == grid->FixedLineColor() && r.From.X == r.To.X) ++edgeLines;
    }
    EXPECT_GE(dataLines, 4);
    EXPECT_EQ(edgeLines, 0);
    // Without a select-row colour of none, the row colour with the list's font colour.
    grid->SetSelectRowColor(clAqua);
    abc = texts(paint(), "Abc");
    EXPECT_EQ(abc.at(0).Back, clAqua);
    EXPECT_EQ(abc.at(0).Color, list->Font()->Color());
    // More items than fit: the fixed line along the right edge.
    for (int i = 0; i < 10; ++i) list->Items()->Add("More " + std::to_string(i));
    // The edge lines' x: the right edge, or the left one in a mirrored grid's list.
    auto edges = [&] {
        std::set<int> xs;
        for (const TCanvasRecord& r : paint())
            if (r.Op == TCanvasOp::Line && r.Color == grid->FixedLineColor() && r.From.X == r.To.X) xs.insert(r.From.X);
        return xs;
    };
    const TRect item = list->ItemRect(0);
    EXPECT_EQ(edges(), std::set<int>{item.Right - 1});
    grid->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(edges(), std::set<int>{item.Left});
}

TEST(PopupListBorder, FollowsTheFixedStyleWithBothLineOptions) {
    struct Case {
        TListBorder border;
        TFixedStyle style;
        bool bothLines;
        TListBorder expected;
    };
    const Case cases[] = {
        {lbAuto, fsDefault, true, lbDefault}, {lbAuto, fsSoft, true, lbGray},
        {lbAuto, fsNice, true, lbDefault},    {lbAuto, fsFlat, true, lbDefault},
        {lbAuto, fsGreat, true, lbGray},      {lbAuto, fsGray, true, lbGray},
        {lbAuto, fsFine, true, lbMild},       {lbAuto, fsMild, true, lbMild},
        {lbAuto, fsMild, false, lbDefault},   {lbGray, fsDefault, false, lbGray},
        {lbMild, fsSoft, true, lbMild},
    };
    for (const Case& c : cases) {
        TXDBGrid grid;
        grid.SetListBorder(c.border);
        grid.SetFixedStyle(c.style);
        TXDBGridOptions options = grid.Options();
        if (!c.bothLines) options.Exclude(dgRowLines);
        grid.SetOptions(options);
        EXPECT_EQ(grid.GetListBorder(), c.expected) << int(c.border) << " " << int(c.style);
    }
}

}  // namespace
}  // namespace tv
