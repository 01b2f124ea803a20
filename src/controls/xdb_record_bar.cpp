// The record scroll bar's information and commands.

#include "controls/xdb_record_bar.h"

#include <algorithm>

namespace tv {

TScrollInfo RecordScrollInfo(TRecordBarState& State, const TScrollInfo& Previous) {
    TScrollInfo info;
    if (State.Kind == TRecordBarKind::Unsequenced) {
        info.Min = 0;
        info.Page = State.Proportional ? 2 : 0;
        info.Max = State.Proportional ? 5 : 4;
        info.Pos = State.Bof ? 0 : State.Eof ? info.Max : 2;
        return info;
    }
    info.Min = 1;
    info.Page = State.Proportional ? State.VisibleRows : 0;
    info.Max = State.Proportional ? State.RecordCount + info.Page - 1 : State.RecordCount;
    info.Pos = Previous.Pos;
    if (State.Browsing) {
        if (State.Kind == TRecordBarKind::ForcedSequence) {
            if (State.Bof) State.RecordNumber = std::min(1, State.RecordCount);
            if (State.Eof) State.RecordNumber = State.RecordCount;
        }
        info.Pos = State.RecordNumber;
    }
    // A range of one value would hide the bar for a single record.
    if (info.Max <= info.Min) info.Max = info.Min + 1;
    return info;
}

TRecordBarMove RecordBarCommand(TRecordBarKind Kind, TScrollCode Code, int Pos, int ActiveRow,
                                int BufferedRows, int VisibleRows, int RecordCount, bool ThumbTracking) {
    switch (Code) {
        case scLineUp:
            // One record above the first one shown.
            return {TRecordMove::By, -(ActiveRow + 1)};
        case scLineDown:
            // One record below the last one shown.
            return {TRecordMove::By, BufferedRows - ActiveRow};
        case scPageUp:
            return {TRecordMove::By, -VisibleRows};
        case scPageDown:
            return {TRecordMove::By, VisibleRows};
        case scTop:
            return {TRecordMove::First};
        case scBottom:
            return {TRecordMove::Last};
        case scTrack:
            if (!ThumbTracking) return {};
            [[fallthrough]];
        case scPosition:
            if (Kind == TRecordBarKind::Unsequenced) {
                switch (Pos) {
                    case 0:
                        return {TRecordMove::First};
                    case 1:
                        return {TRecordMove::By, -VisibleRows};
                    case 3:
                        return {TRecordMove::By, VisibleRows};
                    case 4:
                        return {TRecordMove::Last};
                    default:
                        return {};
                }
            }
            if (Pos <= 1) return {TRecordMove::First};
            if (Pos < RecordCount) return {TRecordMove::ToNumber, Pos};
            return {TRecordMove::Last};
        default:
            return {};
    }
}

}  // namespace tv
