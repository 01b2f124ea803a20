// The buffer window of TDataSet and everything that moves the cursor: first, last, MoveBy,
// record numbers, bookmarks and Resync.

#include "platform/data/data_set.h"
#include "platform/data/data_source.h"

#include <algorithm>

namespace tv {

using namespace data_detail;

size_t TDataSet::ExtendedSize() const {
    return view_.size() + (insertPos_ >= 0 ? 1 : 0);
}

Record* TDataSet::ExtendedRecord(size_t pos) const {
    if (insertPos_ >= 0) {
        const auto inserted = static_cast<size_t>(insertPos_);
        if (pos == inserted) return nullptr;
        if (pos > inserted) --pos;
    }
    return pos < view_.size() ? view_[pos] : nullptr;
}

Record* TDataSet::SlotRecord(int slot) const {
    if (slot < 0 || slot >= bufCount_) return nullptr;
    return ExtendedRecord(bufFirst_ + static_cast<size_t>(slot));
}

void TDataSet::ClearBuffers() {
    bufFirst_ = 0;
    bufCount_ = 0;
    activeSlot_ = 0;
    bof_ = eof_ = true;
}

void TDataSet::FillBuffer(size_t pos, int priors) {
    const size_t n = ExtendedSize();
    if (n == 0) return ClearBuffers();
    pos = std::min(pos, n - 1);
    const auto size = static_cast<size_t>(bufSize_);
    size_t before = std::min({static_cast<size_t>(std::max(priors, 0)), pos, size - 1});
    const size_t after = std::min(size - 1 - before, n - pos - 1);
    // Records after the current one come first; what room is left goes to records before it.
    const size_t filled = before + 1 + after;
    if (filled < size) before += std::min(size - filled, pos - before);
    bufFirst_ = pos - before;
    activeSlot_ = static_cast<int>(before);
    bufCount_ = static_cast<int>(before + 1 + after);
    bof_ = eof_ = false;
}

void TDataSet::PlaceRecord(const Record* target, bool exact, bool center) {
    const int priors = center ? (bufSize_ - 1) / 2 : activeSlot_;
    bool found = false;
    size_t pos = target ? ViewPosition(target, &found) : 0;
    if (!found) {
        if (exact) DatabaseError(kRecordNotFound);
        if (view_.empty()) return ClearBuffers();
        pos = std::min(pos, view_.size() - 1);
    }
    FillBuffer(pos, priors);
}

void TDataSet::MoveCursorTo(size_t pos, bool center) {
    FillBuffer(pos, center ? (bufSize_ - 1) / 2 : activeSlot_);
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::SetBufferSize(int size) {
    size = std::max(1, size);
    if (size == bufSize_) return;
    const bool activeWasEdit = IsEditing() && activeSlot_ == editSlot_;
    bufSize_ = size;
    if (!Active() || bufCount_ == 0) return;
    const bool bof = bof_, eof = eof_;
    FillBuffer(bufFirst_ + static_cast<size_t>(activeSlot_), std::min(activeSlot_, size - 1));
    bof_ = bof;
    eof_ = eof;
    if (activeWasEdit) editSlot_ = activeSlot_;
    for (TDataSource* source : dataSources_)
        for (TDataLink* link : source->links_)
            if (link->Active()) link->UpdateRange();
}

void TDataSet::UpdateBufferCount() {
    int size = 1;
    for (TDataSource* source : dataSources_)
        for (TDataLink* link : source->links_) size = std::max(size, link->BufferCount());
    SetBufferSize(size);
}

void TDataSet::PlaceOnFirstSilently() {
    if (view_.empty())
        ClearBuffers();
    else
        FillBuffer(0, 0);
    bof_ = true;
    eof_ = view_.empty();
}

void TDataSet::PlaceOnFirst() {
    PlaceOnFirstSilently();
    DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::First() {
    CheckBrowseMode();
    DoBeforeScroll();
    PlaceOnFirst();
    DoAfterScroll();
}

void TDataSet::Last() {
    CheckBrowseMode();
    DoBeforeScroll();
    if (view_.empty())
        ClearBuffers();
    else
        FillBuffer(view_.size() - 1, bufSize_ - 1);
    eof_ = true;
    bof_ = view_.empty();
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterScroll();
}

int TDataSet::MoveBy(int distance) {
    CheckBrowseMode();
    DoBeforeScroll();
    if ((distance <= 0 || eof_) && (distance >= 0 || bof_)) return 0;
    bof_ = eof_ = false;
    const size_t oldFirst = bufFirst_;
    const size_t current = bufFirst_ + static_cast<size_t>(activeSlot_);
    const auto size = static_cast<size_t>(bufSize_);
    auto count = static_cast<size_t>(bufCount_);
    size_t target;
    if (distance > 0) {
        target = std::min(current + static_cast<size_t>(distance), view_.size() - 1);
        if (target - current < static_cast<size_t>(distance)) eof_ = true;
        if (target >= bufFirst_ + count) {
            // Past the window's end: it grows while there is room, then slides.
            const size_t beyond = target - (bufFirst_ + count - 1);
            const size_t grow = std::min(size - count, beyond);
            count += grow;
            bufFirst_ += beyond - grow;
        }
    } else {
        const auto back = static_cast<size_t>(-static_cast<long long>(distance));
        target = current >= back ? current - back : 0;
        if (current - target < back) bof_ = true;
        if (target < bufFirst_) {
            const size_t beyond = bufFirst_ - target;
            count = std::min(size, count + beyond);
            bufFirst_ = target;
        }
    }
    bufCount_ = static_cast<int>(count);
    activeSlot_ = static_cast<int>(target - bufFirst_);
    DataEvent(TDataEvent::deDataSetScroll,
              static_cast<std::intptr_t>(oldFirst) - static_cast<std::intptr_t>(bufFirst_));
    DoAfterScroll();
    return static_cast<int>(static_cast<long long>(target) - static_cast<long long>(current));
}

int TDataSet::RecNo() const {
    if (!Active() || bufCount_ == 0) return 0;
    return static_cast<int>(bufFirst_) + activeSlot_ + 1;
}

void TDataSet::SetRecNo(int recNo) {
    CheckBrowseMode();
    if (view_.empty()) return;
    recNo = std::clamp(recNo, 1, static_cast<int>(view_.size()));
    if (recNo == RecNo()) return;
    DoBeforeScroll();
    MoveCursorTo(static_cast<size_t>(recNo - 1), true);
    DoAfterScroll();
}

int TDataSet::RecordCount() const {
    CheckActive();
    return static_cast<int>(ExtendedSize());
}

// ---------------------------------------------------------------- bookmarks

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || bufCount_ == 0) return {};
    const Record* record =
        state_ == TDataSetState::dsEdit && activeSlot_ == editSlot_ ? editRecord_ : CurrentRecord();
    return {record ? record->id : 0};
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
    if (!Active() || bookmark.IsEmpty()) return false;
    auto it = byId_.find(bookmark.id);
    return it != byId_.end() && InView(it->second);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    CheckBrowseMode();
    DoBeforeScroll();
    if (!BookmarkValid(bookmark)) DatabaseError(kRecordNotFound);
    PlaceRecord(byId_.at(bookmark.id), true, true);
    DataEvent(TDataEvent::deDataSetChange);
    DoAfterScroll();
}

void TDataSet::GotoBookmarkWithoutResync(const TBookmark& bookmark) {
    CheckBrowseMode();
    if (!BookmarkValid(bookmark)) DatabaseError(kRecordNotFound);
    cursorOverride_ = byId_.at(bookmark.id);
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const {
    if (a.id == b.id) return 0;
    if (a.IsEmpty()) return -1;
    if (b.IsEmpty()) return 1;
    auto ia = byId_.find(a.id), ib = byId_.find(b.id);
    if (ia == byId_.end() || ib == byId_.end()) return a.id < b.id ? -1 : 1;
    const int c = CompareRecords(ia->second, ib->second);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TDataSet::Resync(TResyncMode mode) {
    CheckActive();
    if (IsEditing()) {
        cursorOverride_ = nullptr;
        DataEvent(TDataEvent::deDataSetChange);
        return;
    }
    const Record* target = cursorOverride_ ? cursorOverride_ : CurrentRecord();
    cursorOverride_ = nullptr;
    if (!target && (mode & rmExact)) DatabaseError(kRecordNotFound);
    PlaceRecord(target, (mode & rmExact) != 0, (mode & rmCenter) != 0);
    DataEvent(TDataEvent::deDataSetChange);
}

}  // namespace tv
