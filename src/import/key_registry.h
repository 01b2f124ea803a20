#pragma once
// A registry of the keys of one kind in the loaded file: the check pass registers every key of the
// kind, the import stores beside it the number the business system gave its record, and later kinds
// of the same file translate their references through it. Keys are stored in small letters and
// looked up without regard to case, whole keys only.

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tv {

// One registered key. The typed registry of TKeyHelperDM also fills KEY_TYPE.
struct TKeyRecord {
    std::string KEY_KEY_VALUE;       // the file's key in small letters
    bool KEY_IN_TREE = false;        // the key occurs in the loaded file
    bool KEY_IN_VISMA = false;       // never set: KEY_VALUE_IN_VISMA tells whether a record exists
    std::string KEY_VALUE_IN_VISMA;  // the business system's number, empty until found or written
    std::string KEY_OPTION;          // the item's option as the check stored it
    std::string KEY_TYPE;            // the key type's ordinal as text (typed registry only)
};

class TKeyRegistry {
public:
    explicit TKeyRegistry(std::string name) : name_(std::move(name)) {}
    TKeyRegistry(const TKeyRegistry&) = delete;
    TKeyRegistry& operator=(const TKeyRegistry&) = delete;

    const std::string& Name() const { return name_; }
    void Clear();
    // The check pass: the key trimmed; a key already there is marked in the tree (its option
    // stays), a new one is appended in small letters with the option given.
    TKeyRecord& Register(std::string_view key, std::string_view option);
    // The record of the key, letter case ignored; null when it is not registered.
    TKeyRecord* Locate(std::string_view key);
    const TKeyRecord* Locate(std::string_view key) const;

    // Records in the order registered; references stay valid until Clear.
    const std::deque<TKeyRecord>& Records() const { return records_; }
    size_t Count() const { return records_.size(); }

private:
    std::string name_;
    std::deque<TKeyRecord> records_;
    std::unordered_map<std::string, size_t> index_;  // small-letter key → record
};

}  // namespace tv
