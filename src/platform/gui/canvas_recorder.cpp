#include "platform/gui/canvas_recorder.h"

#include "platform/gui/canvas.h"

namespace tv {

int TCanvasRecorder::TextWidth(std::string_view utf8) const {
    int characters = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++characters;  // continuation bytes belong to the character before
    return characters * fCharWidth;
}

void TCanvasRecorder::Add(TCanvasRecord record, const TCanvas& canvas) {
    record.Clip = canvas.ClipRect();
    if (record.Op == TCanvasOp::Text && (record.Flags & kTextClipped)) record.Clip = CommonRect(record.Clip, record.Rect);
    fRecords.push_back(std::move(record));
}

std::vector<TCanvasRecord> TCanvasRecorder::Of(TCanvasOp op) const {
    std::vector<TCanvasRecord> found;
    for (const TCanvasRecord& r : fRecords)
        if (r.Op == op) found.push_back(r);
    return found;
}

const TCanvasRecord* TCanvasRecorder::FindText(std::string_view text) const {
    for (const TCanvasRecord& r : fRecords)
        if (r.Op == TCanvasOp::Text && r.Text == text) return &r;
    return nullptr;
}

TColor TCanvasRecorder::FillColorAt(TPoint p) const {
    for (auto it = fRecords.rbegin(); it != fRecords.rend(); ++it) {
        const TCanvasRecord& r = *it;
        if (!r.Rect.Contains(p) || !r.Clip.Contains(p)) continue;
        switch (r.Op) {
            case TCanvasOp::Fill:
                return r.Color;
            case TCanvasOp::Rectangle:
                if (r.Color != clNone) return r.Color;
                break;
            case TCanvasOp::Text:
                if (r.Back != clNone) return r.Back;
                break;
            case TCanvasOp::Gradient:
                return r.Index ? GradientColorAt(r.Color, r.Back, p.Y - r.Rect.Top, r.Rect.Height())
                               : GradientColorAt(r.Color, r.Back, p.X - r.Rect.Left, r.Rect.Width());
            default:
                break;
        }
    }
    return clNone;
}

}  // namespace tv
