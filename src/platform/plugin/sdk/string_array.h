#pragma once
// aStringArray: the ordered, growable array of strings that the plug-in contract passes (the files a
// getter fetched, a transformation's options). It belongs to whoever created it. Storage grows as
// the contract fixes it: by a quarter of its length above 64, by 16 from 9 to 64, by 4 up to 8.
// Part of the plug-in SDK: standard C++ only, nothing of the program.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tv::plugin {

// An index outside 0 to Count - 1: "Array index out of bounds (%d).".
class EStringArrayError : public std::out_of_range {
public:
    explicit EStringArrayError(int32_t index)
        : std::out_of_range("Array index out of bounds (" + std::to_string(index) + ").") {}
};

class aStringArray {
public:
    int32_t Count() const { return count_; }
    // The length of the storage: how many items fit before the next Add grows it.
    int32_t Capacity() const { return static_cast<int32_t>(storage_.size()); }

    const std::string& Items(int32_t index) const {
        Check(index);
        return storage_[static_cast<size_t>(index)];
    }
    void SetItems(int32_t index, std::string_view value) {
        Check(index);
        storage_[static_cast<size_t>(index)] = value;
    }

    // Appends and returns the new item's index.
    int32_t Add(std::string_view value) {
        if (count_ == Capacity()) Grow();
        storage_[static_cast<size_t>(count_)] = value;
        return count_++;
    }
    // Removes one item; the storage keeps its length.
    void Delete(int32_t index) {
        Check(index);
        auto first = storage_.begin() + index;
        std::move(first + 1, storage_.begin() + count_, first);
        storage_[static_cast<size_t>(--count_)].clear();
    }
    // Removes every item and the storage.
    void Clear() {
        storage_.clear();
        storage_.shrink_to_fit();
        count_ = 0;
    }
    // Sets both the count and the storage to n; new items are empty.
    void Resize(int32_t n) {
        if (n < 0) throw EStringArrayError(n);
        storage_.resize(static_cast<size_t>(n));
        storage_.shrink_to_fit();
        count_ = n;
    }
    // Becomes a copy of the source: cleared, resized to its count, every item copied.
    void Assign(const aStringArray& source) {
        if (&source == this) return;
        Clear();
        Resize(source.count_);
        std::copy(source.storage_.begin(), source.storage_.begin() + source.count_, storage_.begin());
    }

private:
    void Check(int32_t index) const {
        if (index < 0 || index >= count_) throw EStringArrayError(index);
    }
    void Grow() {
        const int32_t length = Capacity();
        const int32_t delta = length > 64 ? length / 4 : length > 8 ? 16 : 4;
        storage_.resize(static_cast<size_t>(length + delta));
    }

    std::vector<std::string> storage_;  // its size is the storage's length; items past count_ are empty
    int32_t count_ = 0;
};

}  // namespace tv::plugin
