#include "platform/gui/memo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/gui/application.h"
#include "platform/gui/key_codes.h"
#include "platform/gui/published_properties.h"
#include "platform/gui/qt_support.h"
#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {

// The memo's lines, read from and written to its document: block N is line N. A last empty block
// (the text ends in a line break) is no line.
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(QPlainTextEdit* editor) : fEditor(editor) {}

    void Clear() override { fEditor->clear(); }

    void Delete(int index) override {
        CheckIndex(index, GetCount() - 1);
        QTextDocument* doc = fEditor->document();
        QTextCursor c(doc->findBlockByNumber(index));
        const QTextBlock next = c.block().next();
        if (next.isValid()) {
            c.setPosition(next.position(), QTextCursor::KeepAnchor);
        } else {
            // The last line takes the line break before it along.
            c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            if (index > 0) {
                const int end = c.position();
                c.setPosition(c.block().previous().position() + c.block().previous().length() - 1);
                c.setPosition(end, QTextCursor::KeepAnchor);
            }
        }
        c.removeSelectedText();
    }

    void Insert(int index, std::string_view s) override {
        const int count = GetCount();
        CheckIndex(index, count);
        QTextDocument* doc = fEditor->document();
        const QString line = ToQString(s);
        if (index < count) {
            QTextCursor(doc->findBlockByNumber(index)).insertText(line + QLatin1Char('\n'));
            return;
        }
        QTextCursor c(doc);
        c.movePosition(QTextCursor::End);
        // After a line that has no line break yet, the break comes first; otherwise the new line
        // ends with one.
        if (c.block().length() > 1)
            c.insertText(QLatin1Char('\n') + line);
        else
            c.insertText(line + QLatin1Char('\n'));
    }

protected:
    std::string Get(int index) const override {
        CheckIndex(index, GetCount() - 1);
        return FromQString(fEditor->document()->findBlockByNumber(index).text());
    }

    int GetCount() const override {
        const QTextDocument* doc = fEditor->document();
        const int blocks = doc->blockCount();
        return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
    }

    void Put(int index, std::string_view s) override {
        CheckIndex(index, GetCount() - 1);
        QTextCursor c(fEditor->document()->findBlockByNumber(index));
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.insertText(ToQString(s));
    }

    std::string GetTextStr() const override {
        QString text = fEditor->toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return FromQString(text);
    }

    void SetTextStr(std::string_view text) override {
        QString q = ToQString(text);
        q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        fEditor->setPlainText(q);
    }

    void SetUpdateState(bool updating) override { fEditor->setUpdatesEnabled(!updating); }

private:
    static void CheckIndex(int index, int max) {
        if (index < 0 || index > max) Error(kListIndexError, index);
    }
    QPlainTextEdit* fEditor;
};

}  // namespace

const TClassInfo& TCustomMemo::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomMemo>("TCustomMemo").Build();
    return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
    // The published properties, as scripts see them.
    static constexpr std::string_view kPublished[] = {
        "Anchors",     "Alignment",   "Color",          "Font",       "HideSelection", "MaxLength",
        "ParentColor", "ParentFont",  "ReadOnly",       "ScrollBars", "WantReturns",   "WantTabs",
        "WordWrap",    "OnChange",    "OnClick",        "OnDblClick", "OnEnter",       "OnExit",
        "OnKeyDown",   "OnKeyPress",  "OnKeyUp",        "CTL3D",      "DragCursor",    "DragMode",
        "OEMConvert",  "ParentCtl3D", "ParentShowHint", "OnDragDrop", "OnDragOver",    "OnEndDrag",
        "OnMouseDown", "OnMouseMove", "OnMouseUp",      "OnStartDrag"};
    static const TClassInfo info = PublishedClass<TMemo>("TMemo", kPublished);
    return info;
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner, NewWidget<QPlainTextEdit>()) {
    auto* editor = static_cast<QPlainTextEdit*>(Widget());
    fLines = std::make_unique<TMemoStrings>(editor);
    GuardedConnect(this, editor, &QPlainTextEdit::textChanged, [this] { Change(); });
    SetAutoSize(false);
    SetWantTabs(false);
    SetWordWrap(true);
    SetScrollBars(ssNone);
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() {
    BeginDestroy();
    if (auto* editor = qobject_cast<QPlainTextEdit*>(Widget()))
        QObject::disconnect(editor, nullptr, nullptr, nullptr);
}

void TCustomMemo::SetAlignment(TAlignment value) {
    fAlignment = value;
    auto* editor = static_cast<QPlainTextEdit*>(Widget());
    QTextOption option = editor->document()->defaultTextOption();
    option.setAlignment(value == taCenter         ? Qt::AlignHCenter
                        : value == taRightJustify ? Qt::AlignRight
                                                  : Qt::AlignLeft);
    editor->document()->setDefaultTextOption(option);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    fScrollBars = value;
    auto* editor = static_cast<QPlainTextEdit*>(Widget());
    const bool h = value == ssHorizontal || value == ssBoth;
    const bool v = value == ssVertical || value == ssBoth;
    editor->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TCustomMemo::SetWantTabs(bool value) {
    fWantTabs = value;
    static_cast<QPlainTextEdit*>(Widget())->setTabChangesFocus(!value);
}

void TCustomMemo::SetWordWrap(bool value) {
    fWordWrap = value;
    static_cast<QPlainTextEdit*>(Widget())->setLineWrapMode(value ? QPlainTextEdit::WidgetWidth
                                                                  : QPlainTextEdit::NoWrap);
}

bool TCustomMemo::WantsKey(uint16_t Key) const {
    return (Key == VK_RETURN && fWantReturns) || (Key == VK_TAB && fWantTabs);
}

}  // namespace tv
