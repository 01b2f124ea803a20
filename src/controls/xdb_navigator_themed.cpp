// The navigator's buttons drawn through the theme service: a push button, a toolbar button when
// flat, or the fine looks (a toolbar button always raised, with a border or an underline while
// hot); the glyph and caption on top, one pixel to the right while pressed (a flat one's caption
// then in the highlight-text colour).

#include "controls/xdb_navigator.h"
#include "platform/gui/brush.h"
#include "platform/gui/canvas.h"
#include "platform/gui/theme_services.h"

namespace tv {

void TXDBNavButton::PaintThemed() {
    TCanvas* c = Canvas();
    const TRect client = ClientRect();
    const bool enabled = Enabled();
    const bool pressed = Down();
    const bool hot = Hot();
    const TThemedState state = !enabled  ? TThemedState::Disabled
                               : pressed ? TThemedState::Pressed
                               : hot     ? TThemedState::Hot
                                         : TThemedState::Normal;
    // The background the button stands on.
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(client);
    const bool fine = fFine && fFineTheme != ftNoChange;
    if (fine)
        DrawThemedElement(*c, {TThemedElement::ToolButton, pressed ? TThemedState::Pressed : TThemedState::Hot},
                          client);
    else
        DrawThemedElement(*c, {Flat() ? TThemedElement::ToolButton : TThemedElement::PushButton, state}, client);
    if (fine && hot) {
        if (fFineTheme == ftBorder)
            DrawThemedElement(*c, {TThemedElement::PushButton, TThemedState::Hot},
                              Rect(client.Left - 1, client.Top, client.Right + 1, client.Bottom));
        else
            DrawThemedElement(*c, {TThemedElement::HeaderItem, TThemedState::Hot},
                              Rect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 1));
    }
    TRect content = Rect(client.Left + 2, client.Top + 2, client.Right - 2, client.Bottom - 2);
    if (pressed) {
        ++content.Left;
        ++content.Right;
    }
    // A flat button held down writes its caption in the highlight-text colour.
    DrawGlyphAndText(c, content, enabled, pressed && Flat() ? clHighlightText : clBtnText);
}

}  // namespace tv
