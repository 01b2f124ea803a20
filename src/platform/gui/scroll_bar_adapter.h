#pragma once
// A scroll bar of a scroll area driven the way the platform drives one: the control sets minimum,
// maximum, page and position (the platform's scroll information), and hears the bar's actions as
// the platform's scroll commands (line up 0 ... end of scroll 8, as TScrollCode numbers them).
// The bar moves only when the control sets the information again, so what it shows is always
// what the control decided.
//
// With a page, positions run from the minimum to maximum - page + 1 and the bar can scroll when
// the page is at most maximum - minimum; without a page (0) it can scroll when maximum > minimum.
// A bar that cannot scroll is hidden, or shown disabled when DisableNoScroll is set. Positions are
// kept within the range.

#include <functional>
#include <memory>

#include "platform/gui/scroll_bar.h"

class QAbstractScrollArea;
class QObject;
class QScrollBar;

namespace tv {

struct TScrollInfo {
    int Min = 0;
    int Max = 0;
    int Page = 0;
    int Pos = 0;
    friend bool operator==(const TScrollInfo&, const TScrollInfo&) = default;
};

// What the toolkit's bar shows for some scroll information.
struct TScrollBarShape {
    bool Visible = false;
    bool Enabled = false;
    int Minimum = 0;
    int Maximum = 0;
    int PageStep = 0;
    int Value = 0;
    friend bool operator==(const TScrollBarShape&, const TScrollBarShape&) = default;
};

TScrollBarShape ScrollBarShapeOf(const TScrollInfo& info, bool disableNoScroll);

class TScrollBarAdapter {
public:
    // Hears every command with the thumb's position (for the thumb commands; else the position).
    using TCommandHandler = std::function<void(TScrollCode code, int pos)>;

    // Drives the horizontal or vertical bar of `area`, which keeps the bar.
    TScrollBarAdapter(QAbstractScrollArea* area, TScrollBarKind kind, TCommandHandler handler);
    ~TScrollBarAdapter();
    TScrollBarAdapter(const TScrollBarAdapter&) = delete;
    TScrollBarAdapter& operator=(const TScrollBarAdapter&) = delete;

    // Shows the information; returns whether the bar came or went (the client area changed).
    bool SetScrollInfo(const TScrollInfo& info);
    const TScrollInfo& ScrollInfo() const { return fInfo; }
    // Whether the bar takes room in the area now.
    bool Shown() const { return fShape.Visible; }
    // Takes the bar away whatever the information (the control keeps no bar on this side).
    bool SetHidden(bool hidden);
    bool DisableNoScroll() const { return fDisableNoScroll; }
    void SetDisableNoScroll(bool value);
    QScrollBar* Bar() const { return fBar; }

private:
    bool Apply();
    void Command(TScrollCode code, int pos);

    std::shared_ptr<char> fAlive = std::make_shared<char>();
    QAbstractScrollArea* fArea;
    QScrollBar* fBar;
    TScrollBarKind fKind;
    TCommandHandler fHandler;
    // The receiver of the bar's signals: they stop when it goes with the adapter.
    std::unique_ptr<QObject> fReceiver;
    TScrollInfo fInfo;
    TScrollBarShape fShape;
    bool fDisableNoScroll = false;
    bool fHidden = false;
};

}  // namespace tv
