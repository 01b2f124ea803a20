// The data grid's record scroll bar as tables: what it shows for the data's state, and what each
// command on it asks of the data.

#include <gtest/gtest.h>

#include "controls/xdb_record_bar.h"

namespace tv {
namespace {

using K = TRecordBarKind;

TEST(RecordBar, InformationByKindCountAndPlace) {
    struct Case {
        const char* name;
        TRecordBarState state;
        TScrollInfo expected;
        int recordNumber;  // after the call
    };
    const TScrollInfo previous{1, 50, 10, 7};
    const Case cases[] = {
        // Forced sequence: the grid's own numbering; the ends correct it.
        {"forced, proportional",
         {K::ForcedSequence, true, 10, 50, 20, true, false, false},
         {1, 59, 10, 20},
         20},
        {"forced, plain thumb",
         {K::ForcedSequence, false, 10, 50, 20, true, false, false},
         {1, 50, 0, 20},
         20},
        {"forced at BOF", {K::ForcedSequence, false, 10, 50, 20, true, true, false}, {1, 50, 0, 1}, 1},
        {"forced at EOF", {K::ForcedSequence, false, 10, 50, 20, true, false, true}, {1, 50, 0, 50}, 50},
        {"forced, empty at BOF", {K::ForcedSequence, false, 10, 0, 5, true, true, true}, {1, 2, 0, 0}, 0},
        // Sequenced: the dataset's numbers.
        {"sequenced, proportional", {K::Sequenced, true, 6, 20, 12, true, false, false}, {1, 25, 6, 12}, 12},
        {"sequenced, plain thumb", {K::Sequenced, false, 6, 20, 12, true, false, false}, {1, 20, 0, 12}, 12},
        // One record: the range still spans two values.
        {"sequenced, one record", {K::Sequenced, false, 6, 1, 1, true, false, false}, {1, 2, 0, 1}, 1},
        // Inserting: the position stays where it was.
        {"sequenced, inserting", {K::Sequenced, false, 6, 20, 0, false, false, false}, {1, 20, 0, 7}, 0},
        // Unsequenced: five positions.
        {"unsequenced at BOF", {K::Unsequenced, false, 6, 0, 0, true, true, false}, {0, 4, 0, 0}, 0},
        {"unsequenced, middle", {K::Unsequenced, false, 6, 0, 0, true, false, false}, {0, 4, 0, 2}, 0},
        {"unsequenced at EOF", {K::Unsequenced, false, 6, 0, 0, true, false, true}, {0, 4, 0, 4}, 0},
        {"unsequenced, proportional at EOF",
         {K::Unsequenced, true, 6, 0, 0, true, false, true},
         {0, 5, 2, 5},
         0},
    };
    for (const Case& c : cases) {
        TRecordBarState state = c.state;
        EXPECT_EQ(RecordScrollInfo(state, previous), c.expected) << c.name;
        EXPECT_EQ(state.RecordNumber, c.recordNumber) << c.name;
    }
}

TEST(RecordBar, CommandsAskForMoves) {
    // The link buffers 8 records with the current one on row 2; 7 rows show; 100 records.
    struct Case {
        K kind;
        TScrollCode code;
        int pos;
        bool tracking;
        TRecordBarMove expected;
    };
    const Case cases[] = {
        {K::Sequenced, scLineUp, 0, false, {TRecordMove::By, -3}},
        {K::Sequenced, scLineDown, 0, false, {TRecordMove::By, 6}},
        {K::Sequenced, scPageUp, 0, false, {TRecordMove::By, -7}},
        {K::Sequenced, scPageDown, 0, false, {TRecordMove::By, 7}},
        {K::Sequenced, scTop, 0, false, {TRecordMove::First}},
        {K::Sequenced, scBottom, 0, false, {TRecordMove::Last}},
        {K::Sequenced, scEndScroll, 0, false, {}},
        {K::Sequenced, scTrack, 40, false, {}},
        {K::Sequenced, scTrack, 40, true, {TRecordMove::ToNumber, 40}},
        {K::Sequenced, scPosition, 40, false, {TRecordMove::ToNumber, 40}},
        {K::Sequenced, scPosition, 1, false, {TRecordMove::First}},
        {K::Sequenced, scPosition, 100, false, {TRecordMove::Last}},
        {K::ForcedSequence, scPosition, 0, false, {TRecordMove::First}},
        {K::ForcedSequence, scPosition, 99, false, {TRecordMove::ToNumber, 99}},
        // Five positions: the middle does nothing, one step from an end pages.
        {K::Unsequenced, scPosition, 0, false, {TRecordMove::First}},
        {K::Unsequenced, scPosition, 1, false, {TRecordMove::By, -7}},
        {K::Unsequenced, scPosition, 2, false, {}},
        {K::Unsequenced, scPosition, 3, false, {TRecordMove::By, 7}},
        {K::Unsequenced, scPosition, 4, false, {TRecordMove::Last}},
    };
    for (const Case& c : cases) {
        const TRecordBarMove move = RecordBarCommand(c.kind, c.code, c.pos, 2, 8, 7, 100, c.tracking);
        EXPECT_EQ(move.Move, c.expected.Move) << static_cast<int>(c.kind) << " " << c.code << " " << c.pos;
        EXPECT_EQ(move.Value, c.expected.Value) << static_cast<int>(c.kind) << " " << c.code << " " << c.pos;
    }
}

}  // namespace
}  // namespace tv
