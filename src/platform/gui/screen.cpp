#include "platform/gui/screen.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/gui/font.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
TScreen* gScreen = nullptr;

QRect PrimaryGeometry(bool available) {
    EnsureQtApplication();
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return QRect(0, 0, 1024, 768);
    return available ? s->availableGeometry() : s->geometry();
}
}  // namespace

const TClassInfo& TScreen::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TScreen>("TScreen").Build();
    return info;
}

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
    if (!gScreen) gScreen = this;
}

TScreen::~TScreen() {
    if (fCursor != crDefault) QApplication::restoreOverrideCursor();
    if (gScreen == this) gScreen = nullptr;
}

TScreen& Screen() {
    if (!gScreen) new TScreen();  // the process's screen lives to the end
    return *gScreen;
}

int TScreen::Width() const {
    return PrimaryGeometry(false).width();
}

int TScreen::Height() const {
    return PrimaryGeometry(false).height();
}

TRect TScreen::WorkAreaRect() const {
    return FromQRect(PrimaryGeometry(true));
}

int TScreen::PixelsPerInch() const {
    return kScreenPixelsPerInch;
}

void TScreen::SetCursor(TCursor value) {
    if (value == fCursor) return;
    EnsureQtApplication();
    if (fCursor != crDefault) QApplication::restoreOverrideCursor();
    fCursor = value;
    if (value != crDefault) QApplication::setOverrideCursor(QCursor(CursorShapeOf(value)));
}

TForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount()) ListIndexError(Index);
    return fForms[Index];
}

void TScreen::RemoveForm(TForm* form) {
    std::erase(fForms, form);
}

TForm* TScreen::ActiveForm() const {
    QWidget* active = QApplication::activeWindow();
    for (TForm* f : fForms)
        if (f->Widget() && f->Widget() == active) return f;
    return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
    TForm* f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

}  // namespace tv
