#include "platform/gui/edit.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "platform/gui/published_properties.h"
#include "platform/gui/qt_graphics.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"

namespace tv {

namespace {

// A memo counts a line break as two characters (CR LF); its widget as one.
int ToCrLfPosition(const QString& text, int qtPos) {
    qtPos = std::clamp(qtPos, 0, static_cast<int>(text.size()));
    return qtPos + static_cast<int>(text.left(qtPos).count(QLatin1Char('\n')));
}

int FromCrLfPosition(const QString& text, int pos) {
    int counted = 0;
    int i = 0;
    for (; i < text.size() && counted < pos; ++i) counted += text[i] == QLatin1Char('\n') ? 2 : 1;
    return i;
}

QString FromCrLf(const std::string& text) {
    QString q = ToQString(text);
    q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

std::string ToCrLf(QString q) {
    q.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return FromQString(q);
}

QString Cased(const QString& text, TEditCharCase c) {
    return c == ecUpperCase ? text.toUpper() : c == ecLowerCase ? text.toLower() : text;
}

}  // namespace

const TClassInfo& TCustomEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomEdit>("TCustomEdit").Build();
    return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",       "AutoSelect",  "AutoSize",       "CharCase",   "Color",        "Font",
        "HideSelection", "MaxLength",   "ParentColor",    "ParentFont", "PasswordChar", "ReadOnly",
        "Text",          "OnChange",    "OnClick",        "OnDblClick", "OnEnter",      "OnExit",
        "OnKeyDown",     "OnKeyPress",  "OnKeyUp",        "CTL3D",      "DragCursor",   "DragMode",
        "OEMConvert",    "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",   "OnEndDrag",
        "OnMouseDown",   "OnMouseMove", "OnMouseUp",      "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TEdit>("TEdit", kPublished);
    return info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomEdit(AOwner, NewWidget<QLineEdit>()) {
    auto* line = static_cast<QLineEdit*>(Widget());
    GuardedConnect(this, line, &QLineEdit::textChanged, [this](const QString&) { Change(); });
    GuardedConnect(this, line, &QLineEdit::textEdited, [this](const QString&) { ApplyCharCase(); });
    SetBounds(0, 0, 121, 21);
    ApplyFont();
}

TCustomEdit::TCustomEdit(TComponent* AOwner, QWidget* widget) : TWinControl(AOwner, widget) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

std::string TCustomEdit::GetText() const {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) return FromQString(line->text());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) return ToCrLf(memo->toPlainText());
    return TWinControl::GetText();
}

void TCustomEdit::SetTextValue(const std::string& value) {
    if (value == GetText()) return;
    if (auto* line = qobject_cast<QLineEdit*>(Widget()))
        line->setText(ToQString(value));
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget()))
        memo->setPlainText(FromCrLf(value));
    else
        TWinControl::SetTextValue(value);
}

void TCustomEdit::ApplyCharCase() {
    auto* line = qobject_cast<QLineEdit*>(Widget());
    if (!line || fCharCase == ecNormal) return;
    const QString cased = Cased(line->text(), fCharCase);
    if (cased == line->text()) return;
    const int cursor = line->cursorPosition();
    line->setText(cased);
    line->setCursorPosition(cursor);
    line->setModified(true);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    fCharCase = value;
    if (value != ecNormal) SetText(FromQString(Cased(ToQString(GetText()), value)));
}

void TCustomEdit::SelectAll() {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->selectAll();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->selectAll();
}

void TCustomEdit::CopyToClipboard() {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->copy();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->copy();
}

void TCustomEdit::CutToClipboard() {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->cut();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->cut();
}

void TCustomEdit::PasteFromClipboard() {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->paste();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->paste();
}

bool TCustomEdit::Modified() const {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) return line->isModified();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) return memo->document()->isModified();
    return false;
}

void TCustomEdit::SetModified(bool value) {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->setModified(value);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->document()->setModified(value);
}

int TCustomEdit::SelStart() const {
    if (auto* line = qobject_cast<QLineEdit*>(Widget()))
        return line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget()))
        return ToCrLfPosition(memo->toPlainText(), memo->textCursor().selectionStart());
    return 0;
}

void TCustomEdit::SetSelStart(int value) {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->setCursorPosition(std::max(value, 0));
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) {
        QTextCursor c = memo->textCursor();
        c.setPosition(FromCrLfPosition(memo->toPlainText(), std::max(value, 0)));
        memo->setTextCursor(c);
    }
}

int TCustomEdit::SelLength() const {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) return static_cast<int>(line->selectedText().size());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) {
        const QTextCursor c = memo->textCursor();
        const QString text = memo->toPlainText();
        return ToCrLfPosition(text, c.selectionEnd()) - ToCrLfPosition(text, c.selectionStart());
    }
    return 0;
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->setSelection(start, std::max(value, 0));
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) {
        const QString text = memo->toPlainText();
        QTextCursor c = memo->textCursor();
        c.setPosition(FromCrLfPosition(text, start));
        c.setPosition(FromCrLfPosition(text, start + std::max(value, 0)), QTextCursor::KeepAnchor);
        memo->setTextCursor(c);
    }
}

std::string TCustomEdit::SelText() const {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) return FromQString(line->selectedText());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) {
        QString s = memo->textCursor().selectedText();
        s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        return ToCrLf(s);
    }
    return {};
}

void TCustomEdit::SetSelText(const std::string& value) {
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->insert(ToQString(value));
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->insertPlainText(FromCrLf(value));
}

int TCustomEdit::GetSelTextBuf(char* Buffer, int BufSize) const {
    if (!Buffer || BufSize <= 0) return 0;
    const std::string ansi = Utf8ToCp1252(SelText());
    const int n = std::min(static_cast<int>(ansi.size()), BufSize - 1);
    std::copy_n(ansi.data(), n, Buffer);
    Buffer[n] = '\0';
    return n;
}

void TCustomEdit::SetSelTextBuf(const char* Buffer) {
    SetSelText(Buffer ? Cp1252ToUtf8(Buffer) : std::string());
}

void TCustomEdit::SetAutoSize(bool value) {
    fAutoSize = value;
    ApplyFont();
}

void TCustomEdit::SetMaxLength(int value) {
    fMaxLength = std::max(value, 0);
    if (auto* line = qobject_cast<QLineEdit*>(Widget()))
        line->setMaxLength(fMaxLength > 0 ? fMaxLength : 32767);
}

void TCustomEdit::SetPasswordChar(char value) {
    fPasswordChar = value;
    auto* line = qobject_cast<QLineEdit*>(Widget());
    if (!line) return;
    line->setEchoMode(value ? QLineEdit::Password : QLineEdit::Normal);
    // The hidden text shows as this character, not as the style's own.
    const char32_t shown = Cp1252ToUnicode(static_cast<unsigned char>(value));
    line->setStyleSheet(value ? QStringLiteral("QLineEdit { lineedit-password-character: %1 }")
                                    .arg(static_cast<unsigned>(shown))
                              : QString());
}

void TCustomEdit::SetReadOnly(bool value) {
    fReadOnly = value;
    if (auto* line = qobject_cast<QLineEdit*>(Widget())) line->setReadOnly(value);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(Widget())) memo->setReadOnly(value);
}

void TCustomEdit::DoEnter() {
    if (fAutoSelect && qobject_cast<QLineEdit*>(Widget())) SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::ApplyFont() {
    TWinControl::ApplyFont();
    // A one-line edit is as high as its font needs.
    if (fAutoSize && qobject_cast<QLineEdit*>(Widget()))
        SetHeight(QFontMetrics(ToQFont(*Font())).height() + 8);
}

}  // namespace tv
