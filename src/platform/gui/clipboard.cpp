#include "platform/gui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/gui/qt_support.h"

namespace tv {

namespace {

QClipboard& DesktopClipboard() {
    EnsureQtApplication();
    return *QGuiApplication::clipboard();
}

}  // namespace

std::string TClipboard::AsText() const {
    return FromQString(DesktopClipboard().text());
}

void TClipboard::SetAsText(const std::string& value) {
    DesktopClipboard().setText(ToQString(value));
}

bool TClipboard::HasText() const {
    const QMimeData* data = DesktopClipboard().mimeData();
    return data && data->hasText();
}

void TClipboard::Clear() {
    DesktopClipboard().clear();
}

TClipboard& Clipboard() {
    static TClipboard clipboard;
    return clipboard;
}

}  // namespace tv
