#include "platform/gui/theme_services.h"

#include "platform/gui/canvas.h"
#include "platform/gui/canvas_recorder.h"
#include "platform/gui/qt_support.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

namespace tv {

namespace {

bool gThemesEnabled = false;

QStyle* Style() {
    EnsureQtApplication();
    return QApplication::style();
}

QStyle::State StateFlags(TThemedState state) {
    QStyle::State flags = QStyle::State_Enabled;
    switch (state) {
        case TThemedState::Normal:
            break;
        case TThemedState::Hot:
            flags |= QStyle::State_MouseOver;
            break;
        case TThemedState::Pressed:
            flags |= QStyle::State_Sunken | QStyle::State_MouseOver;
            break;
        case TThemedState::Disabled:
            flags &= ~QStyle::State(QStyle::State_Enabled);
            break;
    }
    return flags;
}

QStyle::State CheckFlags(TThemedCheck check) {
    switch (check) {
        case TThemedCheck::Checked:
            return QStyle::State_On;
        case TThemedCheck::Mixed:
            return QStyle::State_NoChange;
        case TThemedCheck::Unchecked:
            break;
    }
    return QStyle::State_Off;
}

// The arrow each arrow element shows.
QStyle::PrimitiveElement ArrowOf(TThemedElement element) {
    switch (element) {
        case TThemedElement::SpinUp:
        case TThemedElement::ScrollUp:
            return QStyle::PE_IndicatorArrowUp;
        case TThemedElement::SpinDown:
        case TThemedElement::ScrollDown:
            return QStyle::PE_IndicatorArrowDown;
        case TThemedElement::ScrollLeft:
            return QStyle::PE_IndicatorArrowLeft;
        default:
            return QStyle::PE_IndicatorArrowRight;
    }
}

// The rectangle, the state and the palette of the state: a disabled element draws in the
// palette's disabled colours.
void Prepare(QStyleOption& option, const QRect& rect, QStyle::State state) {
    option.rect = rect;
    option.state = state;
    option.palette = QApplication::palette();
    option.palette.setCurrentColorGroup(state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled);
}

void DrawWithStyle(QPainter& painter, const TThemedDetails& details, const QRect& rect) {
    QStyle* style = Style();
    const QStyle::State state = StateFlags(details.State);
    switch (details.Element) {
        case TThemedElement::HeaderItem: {
            QStyleOptionHeader option;
            Prepare(option, rect, state | QStyle::State_Raised | QStyle::State_Horizontal);
            style->drawControl(QStyle::CE_HeaderSection, &option, &painter);
            return;
        }
        case TThemedElement::PushButton: {
            QStyleOptionButton option;
            Prepare(option, rect, state | (details.State == TThemedState::Pressed ? QStyle::State_Sunken
                                                                          : QStyle::State_Raised));
            style->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter);
            return;
        }
        case TThemedElement::Tab: {
            QStyleOptionTab option;
            Prepare(option, rect, state | (details.State == TThemedState::Pressed ? QStyle::State_Selected
                                                                          : QStyle::State_None));
            style->drawControl(QStyle::CE_TabBarTabShape, &option, &painter);
            return;
        }
        case TThemedElement::ToolBar: {
            QStyleOptionToolBar option;
            Prepare(option, rect, state);
            style->drawControl(QStyle::CE_ToolBar, &option, &painter);
            return;
        }
        case TThemedElement::ToolButton: {
            QStyleOptionToolButton option;
            Prepare(option, rect, state |
                                      (details.State == TThemedState::Pressed ? QStyle::State_Sunken
                                                                              : QStyle::State_Raised));
            style->drawPrimitive(QStyle::PE_PanelButtonTool, &option, &painter);
            return;
        }
        case TThemedElement::CheckBox: {
            QStyleOptionButton option;
            Prepare(option, rect, state | CheckFlags(details.Check));
            style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
            return;
        }
        default: {
            // Arrow buttons: a button panel with its arrow.
            QStyleOptionButton panel;
            Prepare(panel, rect, state | (details.State == TThemedState::Pressed ? QStyle::State_Sunken
                                                                         : QStyle::State_Raised));
            style->drawPrimitive(QStyle::PE_PanelButtonBevel, &panel, &painter);
            QStyleOption arrow;
            Prepare(arrow, rect.adjusted(2, 2, -2, -2), state);
            arrow.palette.setColor(QPalette::ButtonText,
                                   details.State == TThemedState::Disabled ? QColor(160, 160, 160) : QColor(0, 0, 0));
            style->drawPrimitive(ArrowOf(details.Element), &arrow, &painter);
            return;
        }
    }
}

}  // namespace

bool ThemesEnabled() {
    return gThemesEnabled;
}

void SetThemesEnabled(bool enabled) {
    gThemesEnabled = enabled;
}

void DrawThemedElement(TCanvas& canvas, const TThemedDetails& details, const TRect& rect) {
    if (!gThemesEnabled) return;
    if (TCanvasRecorder* recorder = canvas.Recorder()) {
        TCanvasRecord r;
        r.Op = TCanvasOp::Themed;
        r.Rect = rect;
        r.Index = static_cast<int>(details.Element);
        r.Flags = static_cast<uint32_t>(details.State);
        r.Color = static_cast<TColor>(details.Check);
        recorder->Add(std::move(r), canvas);
        return;
    }
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    // Drawn into an image of the element's size first: some styles draw parts of an element (a
    // tab's shadow) past its rectangle and set clips of their own.
    QImage image(rect.Right - rect.Left, rect.Bottom - rect.Top, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        DrawWithStyle(painter, details, image.rect());
    }
    canvas.PaintWithToolkit([&](QPainter& painter) { painter.drawImage(rect.Left, rect.Top, image); });
}

int ThemedCheckBoxSize() {
    return Style()->pixelMetric(QStyle::PM_IndicatorWidth);
}

}  // namespace tv
