// Cell text on the recording canvas (8 pixels a character, 16 a line): the lines a text breaks
// into, the "..." cut, and where each line is drawn for every alignment.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/xdb_cell_text.h"
#include "platform/gui/canvas.h"
#include "platform/gui/canvas_recorder.h"

namespace tv {
namespace {

class CellText : public ::testing::Test {
protected:
    CellText() { canvas.AttachRecorder(&recorder); }
    ~CellText() override { canvas.AttachRecorder(nullptr); }

    std::vector<TCanvasRecord> Write(const TRect& r, std::string_view text,
                                     TAlignment alignment = taLeftJustify, TVAlignment v = tvTopJustify,
                                     bool wrap = true, bool ellipsis = true) {
        recorder.Clear();
        WriteCellText(&canvas, r, 2, v, wrap, ellipsis, false, alignment, text, 2);
        return recorder.Of(TCanvasOp::Text);
    }
    static std::vector<std::string> Texts(const std::vector<TCanvasRecord>& records) {
        std::vector<std::string> texts;
        for (const TCanvasRecord& r : records) texts.push_back(r.Text);
        return texts;
    }

    TCanvasRecorder recorder;
    TCanvas canvas;
};

// One line fits a cell 20 high: (20 - 4 + 1) div 16 = 1; two fit one 36 high.
constexpr TRect kOneLine = Rect(10, 5, 90, 25);
constexpr TRect kTwoLines = Rect(10, 5, 90, 41);

TEST_F(CellText, AWideTextInAOneLineCellIsCutWithAnEllipsisNotWrapped) {
    // 78 pixels left of the margin: "Artikel" (56) and "..." (24) would be 80.
    auto texts = Texts(Write(kOneLine, "Artikel nummer ett"));
    EXPECT_EQ(texts, std::vector<std::string>{"Artike..."});
    // However narrow the cell, the first character stays.
    EXPECT_EQ(Texts(Write(Rect(0, 0, 12, 20), "Artikel")), std::vector<std::string>{"A..."});
    // Multi-byte characters are cut whole.
    EXPECT_EQ(Texts(Write(Rect(0, 0, 50, 20), "Åäöåäöåäö")), std::vector<std::string>{"Åäö..."});
    // A text that fits is left alone; without the ellipsis a wide one is only clipped.
    EXPECT_EQ(Texts(Write(kOneLine, "Kort")), std::vector<std::string>{"Kort"});
    auto clipped = Write(kOneLine, "Artikel nummer ett", taLeftJustify, tvTopJustify, false, false);
    ASSERT_EQ(clipped.size(), 1u);
    EXPECT_EQ(clipped[0].Text, "Artikel nummer ett");
    EXPECT_EQ(clipped[0].Clip, kOneLine);
}

TEST_F(CellText, LineEndsAndWrapping) {
    struct Case {
        const char* text;
        TRect rect;
        bool ellipsis;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // CR LF ends one line; three lines in a two-line cell show two.
        {"Ett\r\nTvå\r\nTre", kTwoLines, true, {"Ett", "Två"}},
        // CR, LF and CR CR: each ends a line of its own.
        {"A\rB", kTwoLines, true, {"A", "B"}},
        {"A\nB", kTwoLines, true, {"A", "B"}},
        {"A\r\rB", Rect(0, 0, 80, 60), true, {"A", "", "B"}},
        // Wrapped at the last blank before the line gets too wide; the blank goes.
        {"aaa bbb ccc", Rect(0, 0, 66, 60), true, {"aaa bbb", "ccc"}},
        // The overflowing character is a blank: the break falls on it.
        {"aaa aaaa bb", Rect(0, 0, 66, 60), true, {"aaa aaaa", "bb"}},
        // With the ellipsis the last line that fits is cut, not wrapped further.
        {"aa bb cc dd ee ff", Rect(0, 0, 42, 36), true, {"aa bb", "cc..."}},
        // Without it every line wraps (only the lines that fit are drawn).
        {"aa bb cc dd", Rect(0, 0, 42, 80), false, {"aa bb", "cc dd"}},
        // A line without a blank is never broken.
        {"Artikelnummer", Rect(0, 0, 42, 60), false, {"Artikelnummer"}},
        // Ideographs are break points; the break comes after them.
        {"\u6587\u5B57\u6587\u5B57\u6587\u5B57\u6587\u5B57",
         Rect(0, 0, 34, 60),
         false,
         {"\u6587\u5B57\u6587\u5B57", "\u6587\u5B57\u6587\u5B57"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Texts(Write(c.rect, c.text, taLeftJustify, tvTopJustify, true, c.ellipsis)), c.lines)
            << c.text;
}

TEST_F(CellText, EachLineIsPlacedByTheAlignments) {
    // "Abc" is 24 wide; the cell 80 x 36 from (10, 5) holds two lines of 16 with 4 to spare.
    struct Case {
        TAlignment h;
        TVAlignment v;
        int x;
        int y;
    };
    const Case cases[] = {
        {taLeftJustify, tvTopJustify, 10 + 2, 5 + 2},
        {taRightJustify, tvTopJustify, 90 - 24 - 2 - 1, 5 + 2},
        {taCenter, tvTopJustify, 10 + 80 / 2 - 24 / 2, 5 + 2},
        // One line of 16 in 36 - 4: 16 free, half of it above.
        {taLeftJustify, tvCenter, 12, 5 + 2 + 8},
        {taLeftJustify, tvBottomJustify, 12, 5 + 2 + 16},
    };
    for (const Case& c : cases) {
        auto texts = Write(kTwoLines, "Abc", c.h, c.v);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].From.X, c.x) << c.h << "/" << c.v;
        EXPECT_EQ(texts[0].From.Y, c.y) << c.h << "/" << c.v;
        EXPECT_EQ(texts[0].Clip, kTwoLines);
    }
    // The next line is one line height lower; a cell too low for a line draws from the top.
    auto two = Write(kTwoLines, "A\nB", taLeftJustify, tvCenter);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].From.Y, 7);
    EXPECT_EQ(two[1].From.Y, 23);
    auto low = Write(Rect(0, 0, 80, 10), "A", taLeftJustify, tvBottomJustify);
    ASSERT_EQ(low.size(), 1u);
    EXPECT_EQ(low[0].From.Y, 2);
}

}  // namespace
}  // namespace tv
