#include "platform/gui/lookup_rows_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWheelEvent>

#include "platform/gui/application.h"
#include "platform/gui/qt_support.h"

namespace tv {

TLookupRowsView::TLookupRowsView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QScrollBar* bar = verticalScrollBar();
    QObject::connect(bar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove) return;
        ScrollAction(action);
        verticalScrollBar()->setSliderPosition(BarPosition());
    });
    QObject::connect(bar, &QAbstractSlider::sliderReleased, this, [this] {
        switch (verticalScrollBar()->sliderPosition()) {
            case 0:
                ScrollAction(QAbstractSlider::SliderToMinimum);
                break;
            case 1:
                ScrollAction(QAbstractSlider::SliderPageStepSub);
                break;
            case 3:
                ScrollAction(QAbstractSlider::SliderPageStepAdd);
                break;
            case 4:
                ScrollAction(QAbstractSlider::SliderToMaximum);
                break;
            default:
                break;
        }
        UpdateScrollBar();
    });
}

void TLookupRowsView::SetList(TLookupList* list) {
    fList = list;
    if (fList) fList->SetRowCount(RowsThatFit());
    ListDataChanged();
}

int TLookupRowsView::RowHeight() const {
    return std::max(fontMetrics().height(), 1);
}

int TLookupRowsView::RowsThatFit() const {
    return std::max(1, viewport()->height() / RowHeight());
}

int TLookupRowsView::HeightForRows(int rows) const {
    return std::clamp(rows, 1, 100) * RowHeight() + 2 * frameWidth();
}

void TLookupRowsView::KeyValueChanged() {
    if (fList && fList->ListActive() && !fLockPosition && !fList->FindKeyRecord()) fList->First();
    viewport()->update();
}

void TLookupRowsView::ListDataChanged() {
    UpdateScrollBar();
    viewport()->update();
}

int TLookupRowsView::BarPosition() const {
    const TDataSet* list = fList ? fList->ListDataSet() : nullptr;
    if (!list || list->Bof()) return 0;
    return list->Eof() ? 4 : 2;
}

void TLookupRowsView::UpdateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const bool full = fList && fList->ListActive() && fList->RecordCount() >= fList->RowCount() &&
                      fList->ListDataSet()->RecordCount() > fList->RowCount();
    if (!full) {
        bar->setRange(0, 0);
        return;
    }
    bar->setRange(0, 4);
    bar->setPageStep(1);
    bar->setValue(BarPosition());
}

void TLookupRowsView::ScrollAction(int action) {
    if (!fList || !fList->ListActive()) return;
    fList->ClearSearch();
    const int index = fList->CurrentRow();
    const int count = fList->RecordCount();
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            fList->MoveBy(-index - 1);
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            fList->MoveBy(count - index);
            break;
        case QAbstractSlider::SliderPageStepSub:
            fList->MoveBy(-index - count + 1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            fList->MoveBy(count - index + count - 2);
            break;
        case QAbstractSlider::SliderToMinimum:
            fList->First();
            break;
        case QAbstractSlider::SliderToMaximum:
            fList->Last();
            break;
        default:
            break;
    }
}

int TLookupRowsView::RowAt(int y) const {
    const int rows = fList ? std::max(fList->RecordCount(), 1) : 1;
    return std::clamp(y / RowHeight(), 0, rows - 1);
}

void TLookupRowsView::ChooseRow(int row) {
    if (!fList || row < 0 || row >= fList->RecordCount()) return;
    const Variant key = fList->RowKey(row);
    fLockPosition = true;
    try {
        fList->ChooseKeyValue(key);
    } catch (...) {
        fLockPosition = false;
        throw;
    }
    fLockPosition = false;
}

void TLookupRowsView::ChooseCurrent() {
    ChooseRow(fList->CurrentRow());
}

bool TLookupRowsView::HandleKey(int qtKey) {
    if (!fList || !fList->CanEditValue()) return false;
    const int page = std::max(fList->RowCount() - 1, 1);
    int delta = 0;
    switch (qtKey) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            delta = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            delta = 1;
            break;
        case Qt::Key_PageUp:
            delta = -page;
            break;
        case Qt::Key_PageDown:
            delta = page;
            break;
        case Qt::Key_Home:
        case Qt::Key_End:
            break;
        default:
            return false;
    }
    fList->ClearSearch();
    if (qtKey == Qt::Key_Home) {
        fList->First();
    } else if (qtKey == Qt::Key_End) {
        fList->Last();
    } else if (const int keyRow = fList->KeyRow(); keyRow >= 0) {
        fList->MoveBy(keyRow - fList->CurrentRow());
        fList->MoveBy(delta);
    } else {
        KeyValueChanged();
    }
    ChooseCurrent();
    return true;
}

void TLookupRowsView::keyPressEvent(QKeyEvent* e) {
    try {
        if (HandleKey(e->key())) return e->accept();
        const QString text = e->text();
        if (fList && text.size() == 1 && fList->TypeAheadSearch(text[0].unicode())) return e->accept();
    } catch (...) {
        HandleGuiException(fSender);
        return e->accept();
    }
    QAbstractScrollArea::keyPressEvent(e);
}

void TLookupRowsView::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !fList) return QAbstractScrollArea::mousePressEvent(e);
    fList->ClearSearch();
    if (!fDropDown) setFocus(Qt::MouseFocusReason);
    if (!fList->CanEditValue()) return;
    fTracking = true;
    try {
        ChooseRow(RowAt(e->position().toPoint().y()));
    } catch (...) {
        fTracking = false;
        HandleGuiException(fSender);
    }
}

void TLookupRowsView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && fList && fList->CanEditValue() &&
        RowAt(e->position().toPoint().y()) == fList->KeyRow()) {
        if (OnDoubleClick) OnDoubleClick();
        return;
    }
    mousePressEvent(e);
}

void TLookupRowsView::mouseMoveEvent(QMouseEvent* e) {
    // A drop-down also follows a press that began on its combo.
    if (!fList || !(fTracking || (fDropDown && (e->buttons() & Qt::LeftButton)))) return;
    const QPoint p = e->position().toPoint();
    if (!viewport()->rect().contains(p) || !fList->CanEditValue()) return;
    try {
        ChooseRow(RowAt(p.y()));
    } catch (...) {
        fTracking = false;
        HandleGuiException(fSender);
    }
}

void TLookupRowsView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    const bool inside = viewport()->rect().contains(p);
    try {
        if (fTracking && inside) ChooseRow(RowAt(p.y()));
    } catch (...) {
        HandleGuiException(fSender);
    }
    fTracking = false;
    if (fDropDown && OnRelease) OnRelease(inside);
}

void TLookupRowsView::wheelEvent(QWheelEvent* e) {
    const int steps = e->angleDelta().y() / 120;
    for (int i = 0; i < std::abs(steps); ++i)
        ScrollAction(steps > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    e->accept();
}

void TLookupRowsView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    if (fList) fList->SetRowCount(RowsThatFit());
}

void TLookupRowsView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QPalette& pal = palette();
    const QRect area = viewport()->rect();
    p.fillRect(area, pal.color(QPalette::Base));
    if (!fList || !fList->ListActive()) return;

    const int h = RowHeight();
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const auto& fields = fList->ListFields();
    const int rows = fList->RecordCount();
    const int keyRow = fList->KeyRow();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    for (int row = 0; row < rows; ++row) {
        const QRect line(0, row * h, area.width(), h);
        const bool selected = row == keyRow;
        p.fillRect(line, pal.color(group, selected ? QPalette::Highlight : QPalette::Base));
        int x = 0;
        for (size_t i = 0; i < fields.size(); ++i) {
            const bool last = i + 1 == fields.size();
            const int width = last ? std::max(area.width() - x, 0) : std::max(fields[i]->DisplayWidth(), 1) * zero + 4;
            const QRect cell(x, line.top(), width, h);
            const Qt::Alignment align = fields[i]->Alignment() == taRightJustify ? Qt::AlignRight
                                        : fields[i]->Alignment() == taCenter     ? Qt::AlignHCenter
                                                                                 : Qt::AlignLeft;
            p.setPen(pal.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
            p.drawText(cell.adjusted(2, 0, -3, 0), Qt::AlignVCenter | align | Qt::TextSingleLine,
                       ToQString(fList->RowText(row, fields[i])));
            if (!last) {
                p.setPen(pal.color(group, QPalette::Dark));
                p.drawLine(cell.right(), cell.top(), cell.right(), cell.bottom());
            }
            x += width;
        }
    }
    if ((hasFocus() || fDropDown) && rows > 0) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(0, std::max(keyRow, 0) * h, area.width(), h);
        focus.backgroundColor = pal.color(group, keyRow >= 0 ? QPalette::Highlight : QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

}  // namespace tv
