// The border over a one-pixel window frame by fixed style: the grid's own window and its lists'
// windows draw the same edge pair.

#include <gtest/gtest.h>

#include "controls/xdb_grid.h"
#include "controls/xdb_grid_border.h"
#include "platform/gui/canvas.h"
#include "platform/gui/canvas_recorder.h"
#include "platform/gui/panel.h"

namespace tv {
namespace {

class BorderGrid : public TXDBGrid {
public:
    using TXDBGrid::PaintGridBorder;
};

// The edge kinds drawn top-left and bottom-right (0: none).
struct TEdgePair {
    uint32_t topLeft = 0;
    uint32_t bottomRight = 0;
    bool operator==(const TEdgePair&) const = default;
};

template <class Draw>
TEdgePair EdgesOf(Draw draw) {
    TCanvasRecorder recorder;
    TCanvas canvas;
    canvas.AttachRecorder(&recorder);
    draw(&canvas);
    canvas.AttachRecorder(nullptr);
    TEdgePair edges;
    for (const TCanvasRecord& r : recorder.Records()) {
        if (r.Op != TCanvasOp::Edge) continue;
        if (r.Flags & BF_TOPLEFT) edges.topLeft = static_cast<uint32_t>(r.Index);
        if (r.Flags & BF_BOTTOMRIGHT) edges.bottomRight = static_cast<uint32_t>(r.Index);
    }
    return edges;
}

TEST(GridBorder, TheWindowAndItsListsDrawTheEdgesOfTheFixedStyle) {
    const TEdgePair plain{};
    const TEdgePair gray{BDR_SUNKENINNER, BDR_RAISEDOUTER};
    const TEdgePair mild{BDR_SUNKENOUTER, BDR_RAISEDINNER};
    struct Case {
        TFixedStyle style;
        bool bothLines;
        TEdgePair edges;
    };
    const Case cases[] = {
        {fsDefault, true, plain}, {fsSoft, true, gray}, {fsNice, true, plain}, {fsFlat, true, plain},
        {fsGreat, true, gray},    {fsGray, true, gray}, {fsFine, true, mild},  {fsMild, true, mild},
        {fsGray, false, plain},   {fsMild, false, plain},
    };
    const TRect window = Rect(0, 0, 200, 100);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << int(c.style) << (c.bothLines ? "" : " one line"));
        BorderGrid grid;
        grid.SetFixedStyle(c.style);
        grid.SetCtl3D(false);
        grid.SetBorderStyle(bsSingle);
        TXDBGridOptions options = grid.Options();
        if (!c.bothLines) options.Exclude(dgColLines);
        grid.SetOptions(options);
        EXPECT_EQ(EdgesOf([&](TCanvas* canvas) { grid.PaintGridBorder(canvas, window); }), c.edges);
        EXPECT_EQ(EdgesOf([&](TCanvas* canvas) { DrawListBorder(canvas, window, grid.GetListBorder()); }), c.edges);
        // A 3D frame stays as it is.
        grid.SetCtl3D(true);
        EXPECT_EQ(EdgesOf([&](TCanvas* canvas) { grid.PaintGridBorder(canvas, window); }), plain);
    }
}

}  // namespace
}  // namespace tv
