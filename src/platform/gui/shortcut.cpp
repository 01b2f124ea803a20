#include "platform/gui/shortcut.h"

#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QWidget>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/qt_support.h"

namespace tv {

namespace {

QKeySequence ToKeySequence(TShortCut s) {
    const int key = QtKeyFromVirtualKey(static_cast<uint16_t>(s & 0xFF));
    if (key == 0) return {};
    int mods = 0;
    if (s & scShift) mods |= Qt::SHIFT;
    if (s & scCtrl) mods |= Qt::CTRL;
    if (s & scAlt) mods |= Qt::ALT;
    return QKeySequence(key | mods);
}

}  // namespace

std::string ShortCutToText(TShortCut s) {
    const int key = QtKeyFromVirtualKey(static_cast<uint16_t>(s & 0xFF));
    if (key == 0) return {};
    std::string text;
    if (s & scShift) text += "Shift+";
    if (s & scCtrl) text += "Ctrl+";
    if (s & scAlt) text += "Alt+";
    return text + FromQString(QKeySequence(key).toString(QKeySequence::PortableText));
}

struct TShortCutBinding::TImpl {
    QPointer<QShortcut> shortcut;  // a part of the form's widget, which may go first
    bool enabled = true;
};

TShortCutBinding::TShortCutBinding() : fImpl(std::make_unique<TImpl>()) {}

TShortCutBinding::~TShortCutBinding() {
    delete fImpl->shortcut.data();
}

void TShortCutBinding::Bind(TComponent* owner, TShortCut shortCut, std::function<void()> run) {
    delete fImpl->shortcut.data();
    fImpl->shortcut = nullptr;
    if (shortCut == 0) return;
    TForm* form = nullptr;
    for (TComponent* c = owner; c && !form; c = c->Owner()) form = dynamic_cast<TForm*>(c);
    if (!form || !form->Widget()) return;
    const QKeySequence keys = ToKeySequence(shortCut);
    if (keys.isEmpty()) return;
    auto* s = new QShortcut(keys, form->Widget());
    s->setContext(Qt::WindowShortcut);
    s->setEnabled(fImpl->enabled);
    QObject::connect(s, &QShortcut::activated, s, [run = std::move(run)] {
        try {
            run();
        } catch (...) {
            HandleGuiException(nullptr);
        }
    });
    fImpl->shortcut = s;
}

void TShortCutBinding::SetEnabled(bool enabled) {
    fImpl->enabled = enabled;
    if (fImpl->shortcut) fImpl->shortcut->setEnabled(enabled);
}

bool TShortCutBinding::Bound() const {
    return fImpl->shortcut != nullptr;
}

}  // namespace tv
