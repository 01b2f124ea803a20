#pragma once
// The data grid's vertical scroll bar counts records, not rows: what it shows for the data's
// state, and what a command on it means. Kept apart from the grid so that both read as tables.

#include "platform/gui/scroll_bar.h"
#include "platform/gui/scroll_bar_adapter.h"

namespace tv {

// How the bar knows a record's place: the grid's own numbering (dgForceSequence), the dataset's
// record numbers, or nothing (five positions: first, above the middle, middle, below, last).
enum class TRecordBarKind : uint8_t { ForcedSequence, Sequenced, Unsequenced };

struct TRecordBarState {
    TRecordBarKind Kind = TRecordBarKind::Sequenced;
    bool Proportional = true;  // ScrollProp.ThumbBar names the vertical bar: the thumb shows a page
    int VisibleRows = 1;       // data rows on screen
    int RecordCount = 0;
    int RecordNumber = 0;  // the current record's number (1-based)
    bool Browsing = true;  // browse or edit state: the number means something
    bool Bof = false;
    bool Eof = false;
};

// The bar's information. `Previous` gives the position while the number means nothing
// (inserting); with a forced sequence the number follows the ends (at BOF 1, at EOF the count),
// and `RecordNumber` is updated in place.
TScrollInfo RecordScrollInfo(TRecordBarState& State, const TScrollInfo& Previous);

// What a command on the bar asks of the data.
enum class TRecordMove : uint8_t { None, By, First, Last, ToNumber };
struct TRecordBarMove {
    TRecordMove Move = TRecordMove::None;
    int Value = 0;  // the distance (By) or the record number (ToNumber)
};
// `ActiveRow` and `BufferedRows` are the link's; `ThumbTracking` lets the thumb move the data
// while it is dragged.
TRecordBarMove RecordBarCommand(TRecordBarKind Kind, TScrollCode Code, int Pos, int ActiveRow,
                                int BufferedRows, int VisibleRows, int RecordCount, bool ThumbTracking);

}  // namespace tv
