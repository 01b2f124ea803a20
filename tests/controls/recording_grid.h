#pragma once
// A base grid for tests: it records what the base grid asks of it (each cell drawn, with the
// canvas's clip at that moment; the notifications; the column drag checks; its private messages),
// and keeps a text per cell for the editor's hooks.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/gui/grid.h"

namespace tv::test {

class TRecordingGrid : public TCustomGrid {
public:
    explicit TRecordingGrid(TComponent* AOwner = nullptr) : TCustomGrid(AOwner) {}

    struct TDrawnCell {
        int Col;
        int Row;
        TRect Rect;
        TGridDrawState State;
        TRect Clip;
    };
    std::vector<TDrawnCell> Drawn;
    int ColWidthsChanges = 0;
    int RowHeightsChanges = 0;
    int TopLeftChanges = 0;
    std::vector<std::pair<int, int>> Moves;  // ColumnMoved(from, to)
    std::vector<std::string> DragLog;        // "begin 2 2", "check 2 4", "end 2 4"
    bool AllowDrag = true;
    std::vector<uint32_t> Messages;
    std::vector<TGridScrollDirections> TimedScrolls;

    // The editor's hooks: a text per cell, the characters accepted, whether changes are allowed.
    std::map<std::pair<int, int>, std::string> Texts;
    std::vector<std::string> EditTexts;  // every SetEditText, in order
    bool DigitsOnly = false;
    bool Modifiable = true;
    int EditLimit = 0;

    std::string TextOf(int c, int r) const {
        auto it = Texts.find({c, r});
        return it == Texts.end() ? std::string() : it->second;
    }
    // The hooks tests call as the data grid would.
    using TCustomGrid::CalcSizingState;
    using TCustomGrid::PostGridMessage;

    // Right to left: the grid stands mirrored.
    void SetRightToLeft(bool value) {
        fRightToLeft = value;
        DirectionChanged();
    }
    bool UseRightToLeftAlignment() const override { return fRightToLeft; }

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
        Drawn.push_back({ACol, ARow, ARect, AState, Canvas()->ClipRect()});
        TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    void ColWidthsChanged() override { ++ColWidthsChanges; }
    void RowHeightsChanged() override { ++RowHeightsChanges; }
    void TopLeftChanged() override { ++TopLeftChanges; }
    void ColumnMoved(int FromIndex, int ToIndex) override { Moves.emplace_back(FromIndex, ToIndex); }
    bool BeginColumnDrag(int& Origin, int& Destination, TPoint) override {
        DragLog.push_back("begin " + std::to_string(Origin) + " " + std::to_string(Destination));
        return AllowDrag;
    }
    bool CheckColumnDrag(int& Origin, int& Destination, TPoint) override {
        DragLog.push_back("check " + std::to_string(Origin) + " " + std::to_string(Destination));
        return true;
    }
    bool EndColumnDrag(int& Origin, int& Destination, TPoint) override {
        DragLog.push_back("end " + std::to_string(Origin) + " " + std::to_string(Destination));
        return true;
    }
    void GridMessage(uint32_t Msg) override { Messages.push_back(Msg); }
    void TimedScroll(TGridScrollDirections Direction) override {
        TimedScrolls.push_back(Direction);
        TCustomGrid::TimedScroll(Direction);
    }
    std::string GetEditText(int ACol, int ARow) override { return TextOf(ACol, ARow); }
    void SetEditText(int ACol, int ARow, const std::string& Value) override {
        EditTexts.push_back(Value);
        Texts[{ACol, ARow}] = Value;
    }
    bool CanEditAcceptKey(char16_t Key) override { return !DigitsOnly || (Key >= u'0' && Key <= u'9'); }
    bool CanEditModify() override { return Modifiable; }
    int GetEditLimit() override { return EditLimit; }

private:
    bool fRightToLeft = false;
};

}  // namespace tv::test
