#include "platform/plugin/plugin_ref.h"

namespace tv::detail {

void* TPluginInstance::Query(const plugin::TGUID& iid, plugin::IInterface* (*asBase)(void*)) {
    if (!identity_) throw EModuleManagerError(std::string(kNoPluginInstance));
    if (iid == plugin::IHYVisualPlugin::IID) return identity_;
    for (const TQueried& q : queried_)
        if (q.Iid == iid) return q.Found;
    void* found = nullptr;
    if (identity_->QueryInterface(iid, &found) != plugin::S_OK || !found) return nullptr;
    // Kept as the base of the interface asked for, so that its reference goes back the same way.
    queried_.push_back({iid, found, asBase(found)});
    return found;
}

int32_t TPluginInstance::Release() {
    if (!identity_) return -1;
    // Cleared first: a plug-in that calls back into the host while it is destroyed finds it released.
    plugin::IHYVisualPlugin* identity = std::exchange(identity_, nullptr);
    auto queried = std::move(queried_);
    queried_.clear();
    for (auto it = queried.rbegin(); it != queried.rend(); ++it) it->Base->Release();
    return identity->Release();
}

}  // namespace tv::detail
