#include "import/key_registry.h"

#include "import/key_text.h"

namespace tv {

void TKeyRegistry::Clear() {
    records_.clear();
    index_.clear();
}

TKeyRecord& TKeyRegistry::Register(std::string_view key, std::string_view option) {
    std::string lower = LowerKey(TrimView(key));
    if (auto it = index_.find(lower); it != index_.end()) {
        TKeyRecord& record = records_[it->second];
        record.KEY_IN_TREE = true;
        return record;
    }
    TKeyRecord& record = records_.emplace_back();
    record.KEY_KEY_VALUE = lower;
    record.KEY_IN_TREE = true;
    record.KEY_OPTION = std::string(option);
    index_.emplace(std::move(lower), records_.size() - 1);
    return record;
}

TKeyRecord* TKeyRegistry::Locate(std::string_view key) {
    auto it = index_.find(LowerKey(key));
    return it == index_.end() ? nullptr : &records_[it->second];
}

const TKeyRecord* TKeyRegistry::Locate(std::string_view key) const {
    return const_cast<TKeyRegistry*>(this)->Locate(key);
}

}  // namespace tv
