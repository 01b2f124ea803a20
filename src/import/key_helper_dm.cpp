#include "import/key_helper_dm.h"

#include "import/key_text.h"

namespace tv {

void RaiseKeyNotRegistered(std::string_view key) {
    std::string message(kKeyNotRegisteredBefore);
    message.append(key).append(kKeyNotRegisteredAfter);
    throw EImportError(std::move(message));
}

void TKeyHelperDM::AddKnownKey(TKnownKeyType key_type, std::string_view str, std::string_view optionStr) {
    std::pair<int, std::string> key{key_type, LowerKey(str)};
    if (auto it = index_.find(key); it != index_.end()) {
        records_[it->second].KEY_IN_TREE = true;
        return;
    }
    TKeyRecord& record = records_.emplace_back();
    record.KEY_TYPE = std::to_string(static_cast<int>(key_type));
    record.KEY_KEY_VALUE = key.second;
    record.KEY_IN_TREE = true;
    record.KEY_OPTION = std::string(optionStr);
    index_.emplace(std::move(key), records_.size() - 1);
}

void TKeyHelperDM::Clear() {
    records_.clear();
    index_.clear();
}

const TKeyRecord* TKeyHelperDM::Find(std::string_view aKey, TKnownKeyType key_type) const {
    auto it = index_.find(std::pair<int, std::string>{key_type, LowerKey(aKey)});
    return it == index_.end() ? nullptr : &records_[it->second];
}

const TKeyRecord& TKeyHelperDM::Get(std::string_view aKey, TKnownKeyType key_type) const {
    const TKeyRecord* record = Find(aKey, key_type);
    if (!record) RaiseKeyNotRegistered(aKey);
    return *record;
}

bool TKeyHelperDM::FindKnownKey(std::string_view aKey, TKnownKeyType key_type) const {
    return Find(aKey, key_type) != nullptr;
}

std::string TKeyHelperDM::GetOptionFor(std::string_view aKey, TKnownKeyType key_type) const {
    return Get(aKey, key_type).KEY_OPTION;
}

std::string TKeyHelperDM::GetVismaValue(std::string_view aKey, TKnownKeyType key_type) const {
    return Get(aKey, key_type).KEY_VALUE_IN_VISMA;
}

void TKeyHelperDM::SetKnowVismaKeyValue(std::string_view aKey, std::string_view aValue,
                                        TKnownKeyType key_type) {
    const_cast<TKeyRecord&>(Get(aKey, key_type)).KEY_VALUE_IN_VISMA = std::string(aValue);
}

}  // namespace tv
