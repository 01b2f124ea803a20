#pragma once
// Hints and tool tips of the data grid: the record a hint query fills (what the hint says,
// where it shows, how long it stays, and in which window), the fit test that decides whether a
// cell's text needs a tool tip, and the hint manager that times the hint windows on the timer
// clock (pauses before a following hint, hide time-outs).

#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "controls/xdb_hint_window.h"
#include "platform/gui/rect.h"
#include "platform/rtl/alignment.h"

namespace tv {

class TTimer;
class TWinControl;

// A hide time-out that never ends.
inline constexpr int kHintNeverHides = std::numeric_limits<int>::max();

// One hint as a hint query decides it. Rectangles and the mouse are in the control's client
// coordinates; the hint position is on the screen.
struct THintInfo {
    std::string HintStr;
    // The area in which the hint stays valid: leaving it ends the hint.
    TRect CursorRect;
    TPoint CursorPos;
    TPoint HintPos;
    int HintMaxWidth = 0;
    // The hint shows in the grid's tool-tip window with the data below (a tool tip laid over a
    // cell), else as a plain hint below the mouse.
    bool ToolTipWindow = false;
    TXHintData HintData;
    int HideTimeout = 0;  // milliseconds; kHintNeverHides for none
};

// The horizontal text margin of a data cell for its alignment (left 2, right 3, centre 0) and of a
// total cell (left 3, right 4, centre 3).
int DataCellMargin(TAlignment Alignment);
int TotalCellMargin(TAlignment Alignment);

// Whether a tool tip of `HintWidth` x `HintHeight` is needed over a cell of `CellWidth` x
// `CellHeight`: the text with its margin is wider than the cell (centred text by more than one
// pixel), or taller than the cell with its row line.
bool ToolTipNeeded(TAlignment Alignment, int Margin, int HintWidth, int HintHeight, int CellWidth, int CellHeight,
                   int RowLineWidth);

// Times the hint windows of one control. The control's query runs when the toolkit asks for a
// tool tip, and again after the pause when the mouse moves from a shown hint to another place;
// a hint shows when the query answers 0 and hides after its time-out, when the mouse leaves its
// cursor rectangle or the control, and on keys, clicks and the wheel.
class TXHintManager {
public:
    // The query fills the hint for the mouse at a client point and answers 0 to show it.
    using TQuery = std::function<int(TPoint Pos, THintInfo& Info)>;
    // The pause before a following hint, given the default (the application's short pause).
    using TPauseQuery = std::function<int(int Pause)>;

    TXHintManager(TWinControl& Owner, TQuery Query, TPauseQuery PauseQuery);
    ~TXHintManager();

    // The toolkit asks for a tool tip with the mouse at `Pos`: a pause for a following hint is
    // left to run, else the query runs now.
    void ToolTipRequested(TPoint Pos);
    // The mouse moved: leaving the shown hint's cursor rectangle hides it and, after the pause,
    // asks for the hint of the new place.
    void MouseMoved(TPoint Pos);
    // Hides the hint and forgets any pause (the mouse left, a key, a click, the wheel).
    void Cancel();

    bool Showing() const;
    const std::string& ShownText() const { return fShown.HintStr; }
    const THintInfo& Shown() const { return fShown; }
    bool Pausing() const;
    TXHintWindow* Window() const { return fWindow.get(); }

private:
    void Query(TPoint Pos);
    void Show(const THintInfo& Info);
    void Hide();

    TWinControl& fOwner;
    TQuery fQuery;
    TPauseQuery fPauseQuery;
    std::unique_ptr<TXHintWindow> fWindow;
    std::unique_ptr<TTimer> fPauseTimer;
    std::unique_ptr<TTimer> fHideTimer;
    THintInfo fShown;
    TRect fValidRect;          // where the last answered query stays valid (empty: nowhere)
    TPoint fLastPos;
};

}  // namespace tv
