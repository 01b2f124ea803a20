#include "platform/gui/action_bar.h"

#include <QAction>
#include <QToolBar>

#include "platform/gui/widget_bridge.h"
#include "platform/rtl/class_info.h"

namespace tv {

struct TActionBar::TItem : IActionClient {
    TActionBar* bar = nullptr;
    TCustomAction* action = nullptr;
    std::string caption;
    QAction* qtAction = nullptr;  // a part of the bar's widget

    void ActionChanged(TCustomAction& a) override {
        qtAction->setText(ToQString(caption.empty() ? a.Caption() : caption));
        qtAction->setEnabled(a.Enabled());
        qtAction->setVisible(a.Visible());
        qtAction->setCheckable(a.Checked());
        qtAction->setChecked(a.Checked());
        qtAction->setToolTip(ToQString(GetShortHint(a.Hint())));
    }
    void ActionGone(TCustomAction& a) override {
        if (action != &a) return;
        action = nullptr;
        qtAction->setVisible(false);
    }
};

const TClassInfo& TActionBar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TActionBar>("TActionBar").Build();
    return info;
}

TActionBar::TActionBar(TComponent* AOwner) : TWinControl(AOwner, NewWidget<QToolBar>()) {
    auto* bar = static_cast<QToolBar*>(Widget());
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setMovable(false);
    SetBounds(0, 0, 150, bar->sizeHint().height());
    SetAlign(alTop);
}

TActionBar::~TActionBar() {
    BeginDestroy();
    for (auto& item : fItems)
        if (item->action) item->action->RemoveClient(item.get());
}

void TActionBar::AddAction(TCustomAction* Action, const std::string& Caption) {
    if (!Action) return;
    auto item = std::make_unique<TItem>();
    item->bar = this;
    item->action = Action;
    item->caption = Caption;
    item->qtAction = static_cast<QToolBar*>(Widget())->addAction(QString());
    TItem* raw = item.get();
    GuardedConnect(this, item->qtAction, &QAction::triggered, [raw](bool) {
        if (raw->action) raw->action->Execute();
    });
    Action->AddClient(raw);
    raw->ActionChanged(*Action);
    fItems.push_back(std::move(item));
    FitHeight();
}

void TActionBar::AddSeparator() {
    auto item = std::make_unique<TItem>();
    item->bar = this;
    item->qtAction = static_cast<QToolBar*>(Widget())->addSeparator();
    fItems.push_back(std::move(item));
    FitHeight();
}

void TActionBar::FitHeight() {
    // As high as its buttons need.
    SetHeight(std::max(Height(), Widget()->sizeHint().height()));
}

const TActionBar::TItem& TActionBar::Item(int Index) const {
    if (Index < 0 || Index >= ItemCount()) ListIndexError(Index);
    return *fItems[Index];
}

std::string TActionBar::ItemCaption(int Index) const {
    return FromQString(Item(Index).qtAction->text());
}

bool TActionBar::ItemEnabled(int Index) const {
    return Item(Index).qtAction->isEnabled();
}

bool TActionBar::ItemVisible(int Index) const {
    return Item(Index).qtAction->isVisible();
}

void TActionBar::ClickItem(int Index) {
    Item(Index).qtAction->trigger();
}

}  // namespace tv
