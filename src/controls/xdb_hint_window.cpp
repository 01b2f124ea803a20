#include "controls/xdb_hint_window.h"

#include <QWidget>
#include <algorithm>

#include "controls/xdb_cell_text.h"
#include "platform/gui/canvas.h"
#include "platform/gui/font.h"
#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TXHintWindow::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TXHintWindow>("TXHintWindow").Build();
    return info;
}

TXHintWindow::TXHintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    QWidget* w = Widget();
    w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    SetColor(clInfoBk);
    SetVisible(false);
}

void TXHintWindow::UpdateWidgetVisibility() {
    if (Widget()) Widget()->setVisible(Visible());
}

std::vector<std::string> TXHintWindow::TextLines(const std::string& Text, int Width) {
    // A height no text reaches: every wrapped line counts.
    constexpr int kUnbounded = 1 << 28;
    return LayoutCellText(Canvas(), Width, kUnbounded, 0, 0, fFixedWidth, false, fAlignment, Text).Lines;
}

TRect TXHintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, const TXHintData* AData) {
    Canvas()->SetFont(Font());
    fAlignment = taLeftJustify;
    fFixedWidth = false;
    fRightToLeft = false;
    if (AData) {
        // Read right to left, the alignment stays as the grid mirrored it.
        fRightToLeft = AData->RightToLeft;
        if (AData->Font) {
            Canvas()->SetFont(AData->Font);
            SetFont(AData->Font);
        }
        fAlignment = AData->Alignment;
        fFixedWidth = AData->FixedWidth;
    }
    const int lineHeight = Canvas()->TextHeight("Wg");
    TRect r;
    if (fFixedWidth) {
        if (fAlignment == taCenter && MaxWidth % 2 == 0) ++MaxWidth;
        const std::vector<std::string> lines = TextLines(AHint, MaxWidth + 2);
        int widest = 0;
        for (const std::string& line : lines) widest = std::max(widest, Canvas()->TextWidth(line));
        r = Rect(0, 0, widest, lineHeight * static_cast<int>(lines.size()));
        // Text that reaches the width, or wraps, takes the whole width.
        if (MaxWidth >= r.Right || (MaxWidth + 2 >= r.Right && lines.size() > 1)) r.Right = MaxWidth;
    } else {
        const std::vector<std::string> lines = TextLines(AHint, MaxWidth);
        int widest = 0;
        for (const std::string& line : lines) widest = std::max(widest, Canvas()->TextWidth(line));
        r = Rect(0, 0, widest, lineHeight * static_cast<int>(lines.size()));
        if (fAlignment == taCenter && r.Right % 2 == 0) ++r.Right;
    }
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void TXHintWindow::ActivateHint(const TRect& Rect, const std::string& AHint) {
    fCaption = AHint;
    SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
    SetVisible(true);
    if (Widget()) Widget()->raise();
    Invalidate();
}

void TXHintWindow::ReleaseHandle() {
    SetVisible(false);
}

void TXHintWindow::Paint() {
    TCanvas* canvas = Canvas();
    TRect r = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(r);
    if (fAlignment == taLeftJustify)
        r.Left += 2;
    else if (fAlignment == taRightJustify)
        r.Right -= 2;
    else {
        r.Left += 1;
        r.Right -= 1;
    }
    r.Top += 2;
    canvas->SetFont(Font());
    canvas->Font()->SetColor(clInfoText);
    const int lineHeight = canvas->TextHeight("Wg");
    canvas->Brush()->SetStyle(bsClear);
    int y = r.Top;
    for (const std::string& line : TextLines(fCaption, r.Width())) {
        const int w = canvas->TextWidth(line);
        int x = r.Left;
        if (fAlignment == taRightJustify)
            x = r.Right - w;
        else if (fAlignment == taCenter)
            x = r.Left + (r.Width() - w) / 2;
        canvas->TextRect(r, x, y, line);
        y += lineHeight;
    }
}

}  // namespace tv
