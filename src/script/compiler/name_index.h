#pragma once
// Finds the entries of one of the compiler's name tables by name without walking the table. The
// index keeps, for each name hash, the positions of the entries that carry it in table order, so a
// lookup applies the table's own rule for duplicates (the last declared wins, or the first) to the
// few entries of that hash. Entries are taken in lazily, at the first lookup after they were added;
// an entry renamed afterwards is taken in again under its new hash. A position may therefore stand
// under a hash its entry no longer has: lookups check the name of every candidate.

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tv::script {

class TNameIndex {
public:
    static constexpr int64_t kNone = -1;

    // Takes in the entries not yet taken in, up to `count`: `hashOf(i)` answers the name hash of
    // entry i (and may attach the entry's name to this index, so that a later rename reaches it).
    template <class HashOf>
    void Sync(size_t count, HashOf hashOf) {
        for (; fTaken < count; ++fTaken) Add(hashOf(static_cast<uint32_t>(fTaken)), static_cast<uint32_t>(fTaken));
    }

    // Files position `at` under `hash` (once; the positions of a hash stay in table order).
    void Add(uint32_t hash, uint32_t at) {
        std::vector<uint32_t>& b = fBuckets[hash];
        if (b.empty() || b.back() < at) {
            b.push_back(at);
            return;
        }
        const auto it = std::lower_bound(b.begin(), b.end(), at);
        if (*it != at) b.insert(it, at);
    }

    // The last (or first) position filed under `hash` whose entry `matches` accepts; kNone when none.
    template <class Match>
    int64_t Last(uint32_t hash, Match matches) const {
        const auto it = fBuckets.find(hash);
        if (it == fBuckets.end()) return kNone;
        for (auto at = it->second.rbegin(); at != it->second.rend(); ++at)
            if (matches(*at)) return *at;
        return kNone;
    }
    template <class Match>
    int64_t First(uint32_t hash, Match matches) const {
        const auto it = fBuckets.find(hash);
        if (it == fBuckets.end()) return kNone;
        for (uint32_t at : it->second)
            if (matches(at)) return at;
        return kNone;
    }

    void Clear() {
        fBuckets.clear();
        fTaken = 0;
    }

private:
    std::unordered_map<uint32_t, std::vector<uint32_t>> fBuckets;
    size_t fTaken = 0;
};

// What a named entry of an indexed table keeps to tell the index that it took another name. A name
// stands in two tables at most: a host routine's in the routines and, once a script uses it, in the
// procedures. A copy of a name belongs to another entry, so the link is never copied.
class TNameIndexLink {
public:
    TNameIndexLink() = default;
    TNameIndexLink(const TNameIndexLink&) {}
    TNameIndexLink& operator=(const TNameIndexLink&) { return *this; }

    // The entry stands at `at` in the table of `index` (its place there replaces an earlier one).
    void Attach(TNameIndex* index, uint32_t at) {
        for (Place& p : fPlaces)
            if (!p.Index || p.Index == index) {
                p = {index, at};
                return;
            }
        fPlaces[1] = {index, at};
    }
    void Renamed(uint32_t hash) const {
        for (const Place& p : fPlaces)
            if (p.Index) p.Index->Add(hash, p.At);
    }

private:
    struct Place {
        TNameIndex* Index = nullptr;
        uint32_t At = 0;
    };
    Place fPlaces[2];
};

}  // namespace tv::script
