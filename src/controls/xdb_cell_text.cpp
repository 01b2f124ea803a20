// Multi-line cell text with word wrap at blanks and ideographs and the "..." cut, and clipped
// glyphs.

#include "controls/xdb_cell_text.h"

#include <algorithm>

#include "platform/gui/canvas.h"
#include "platform/gui/image_list.h"

namespace tv {
namespace {

constexpr std::string_view kEllipsis = "...";

// Length in bytes of the UTF-8 character starting with `lead`.
size_t CharLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

char32_t CodePointAt(std::string_view s, size_t i, size_t len) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (i + len > s.size()) return b(0);
    switch (len) {
        case 2:
            return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        case 3:
            return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        case 4:
            return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
        default:
            return b(0);
    }
}

// The ideographs a line may break after.
bool IsIdeograph(char32_t c) {
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// The text's own lines: CR, LF and CR LF each end one.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.emplace_back(text.substr(start));
    return lines;
}

// Breaks one line into the pieces that fit `avail` pixels, at most `budget` breaks. A line
// without a blank or an ideograph before the overflowing character is never broken.
void WrapLine(TCanvas* canvas, std::string_view line, int avail, int& budget, std::vector<std::string>& out) {
    size_t start = 0;
    while (budget > 0) {
        size_t candidate = std::string_view::npos;
        bool candidateIsBlank = false;
        bool broken = false;
        for (size_t i = start; i < line.size();) {
            const size_t len = CharLength(static_cast<unsigned char>(line[i]));
            const char32_t c = CodePointAt(line, i, len);
            const bool blank = c == ' ';
            if (candidate != std::string_view::npos &&
                canvas->TextWidth(line.substr(start, i + len - start)) > avail) {
                if (blank) {
                    out.emplace_back(line.substr(start, i - start));
                    start = i + 1;
                } else if (candidateIsBlank) {
                    out.emplace_back(line.substr(start, candidate - start));
                    start = candidate + 1;
                } else {
                    const size_t after = candidate + CharLength(static_cast<unsigned char>(line[candidate]));
                    out.emplace_back(line.substr(start, after - start));
                    start = after;
                }
                broken = true;
                break;
            }
            if (blank || IsIdeograph(c)) {
                candidate = i;
                candidateIsBlank = blank;
            }
            i += len;
        }
        if (!broken) break;
        --budget;
    }
    out.emplace_back(line.substr(start));
}

// The line cut so that it fits with "..." appended; at least one character stays.
std::string CutWithEllipsis(TCanvas* canvas, const std::string& line, int avail) {
    if (canvas->TextWidth(line) <= avail) return line;
    size_t keep = CharLength(static_cast<unsigned char>(line[0]));
    for (size_t i = keep; i < line.size();) {
        const size_t len = CharLength(static_cast<unsigned char>(line[i]));
        std::string trial = line.substr(0, i + len);
        trial += kEllipsis;
        if (canvas->TextWidth(trial) > avail) break;
        i += len;
        keep = i;
    }
    return line.substr(0, keep) + std::string(kEllipsis);
}

int AvailableWidth(int width, int DX, TAlignment alignment) {
    switch (alignment) {
        case taLeftJustify:
            return width - DX;
        case taRightJustify:
            return width - (DX + 1);
        default:
            return width;
    }
}

}  // namespace

TCellTextLayout LayoutCellText(TCanvas* Canvas, int Width, int Height, int DX, int DY, bool WordWrap,
                               bool Ellipsis, TAlignment Alignment, std::string_view Text) {
    TCellTextLayout layout;
    const int lineHeight = std::max(1, Canvas->TextHeight("Wg"));
    layout.LinesFit = (Height - 2 * DY + 1) / lineHeight;
    if (layout.LinesFit <= 0) {
        layout.LinesFit = 1;
        layout.FromTop = true;
    }
    std::vector<std::string> lines = SplitLines(Text);
    if (!WordWrap) {
        layout.Lines = std::move(lines);
        return layout;
    }
    const int avail = AvailableWidth(Width, DX, Alignment);
    // With the ellipsis the last line that fits is cut, not wrapped.
    int budget = Ellipsis ? layout.LinesFit - 1 : static_cast<int>(Text.size()) + 1;
    for (const std::string& line : lines) {
        if (budget <= 0 && Ellipsis) {
            layout.Lines.push_back(line);
            continue;
        }
        WrapLine(Canvas, line, avail, budget, layout.Lines);
        if (Ellipsis && budget > 0) --budget;
    }
    return layout;
}

void WriteCellText(TCanvas* Canvas, const TRect& Rect, int DX, TVAlignment VAlignment, bool WordWrap,
                   bool Ellipsis, bool RightToLeft, TAlignment Alignment, std::string_view Text, int DY) {
    // Text that reads right to left on a right-to-left canvas stands at the other side of its cell.
    if (RightToLeft && Canvas->RightToLeft() && Alignment != taCenter)
        Alignment = Alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    const int width = Rect.Width();
    const int height = Rect.Height();
    const TCellTextLayout layout =
        LayoutCellText(Canvas, width, height, DX, DY, WordWrap, Ellipsis, Alignment, Text);
    const int lineHeight = std::max(1, Canvas->TextHeight("Wg"));
    const int drawn = std::min(static_cast<int>(layout.Lines.size()), layout.LinesFit);
    int y = Rect.Top + DY;
    if (!layout.FromTop) {
        const int free = std::max(0, height - 2 * DY - drawn * lineHeight);
        if (VAlignment == tvCenter)
            y += free / 2;
        else if (VAlignment == tvBottomJustify)
            y += free;
    }
    const int avail = AvailableWidth(width, DX, Alignment);
    const TBrushStyle brushStyle = Canvas->Brush()->Style();
    // The cell's background is painted already: each line goes over it, clipped to the cell.
    Canvas->Brush()->SetStyle(bsClear);
    for (int i = 0; i < drawn; ++i, y += lineHeight) {
        const std::string line = Ellipsis && !layout.Lines[i].empty()
                                     ? CutWithEllipsis(Canvas, layout.Lines[i], avail)
                                     : layout.Lines[i];
        const int w = Canvas->TextWidth(line);
        int x = Rect.Left + DX;
        if (Alignment == taRightJustify)
            x = Rect.Right - w - DX - 1;
        else if (Alignment == taCenter)
            x = Rect.Left + width / 2 - w / 2;
        Canvas->TextRect(Rect, x, y, line);
    }
    Canvas->Brush()->SetStyle(brushStyle);
}

void DrawGlyph(TImageList* ImageList, TCanvas* Canvas, const TRect& Rect, bool CopyBackground, bool NoMirror,
               int Index, int Y, int X) {
    (void)CopyBackground;
    if (!ImageList || Index < 0 || Index >= ImageList->Count()) return;
    const auto clip = Canvas->SavedClip();
    Canvas->IntersectClipRect(Rect);
    ImageList->Draw(Canvas, X, Y, Index, true, Canvas->RightToLeft() && NoMirror);
    Canvas->RestoreClip(clip);
}

}  // namespace tv
