#pragma once
// The engine's list semantics where they can be observed: an index out of range reads as the empty
// item and is ignored by writes and deletes, IndexOf searches from the last item, Remove deletes the
// first equal item. TPSStringList is the same list over owned single-byte strings.

#include <cstdint>
#include <string>
#include <vector>

namespace tv::script {

template <class T>
class TPSList {
public:
    uint32_t Count() const { return static_cast<uint32_t>(items_.size()); }
    // Appends and returns the new index.
    uint32_t Add(T item) {
        items_.push_back(std::move(item));
        return Count() - 1;
    }
    void AddBlock(const T* items, uint32_t count) { items_.insert(items_.end(), items, items + count); }
    void Delete(uint32_t index) {
        if (index < items_.size()) items_.erase(items_.begin() + index);
    }
    void DeleteLast() {
        if (!items_.empty()) items_.pop_back();
    }
    void Remove(const T& item) {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == item) {
                items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
    }
    int32_t IndexOf(const T& item) const {
        for (size_t i = items_.size(); i-- > 0;)
            if (items_[i] == item) return static_cast<int32_t>(i);
        return -1;
    }
    T GetItem(uint32_t index) const { return index < items_.size() ? items_[index] : T{}; }
    void SetItem(uint32_t index, T item) {
        if (index < items_.size()) items_[index] = std::move(item);
    }
    void Clear() { items_.clear(); }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<T> items_;
};

using TPSStringList = TPSList<std::string>;

}  // namespace tv::script
