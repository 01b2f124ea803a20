#pragma once
// How the host holds a plug-in instance and its interfaces. The module manager creates the
// instance; every TPluginRef to it (the instance itself, or an interface obtained with As) shares
// one record that holds the instance's references. The instance is released when the last
// TPluginRef goes, when ReleaseInstance is called, or when its module is unloaded; after that every
// remaining TPluginRef to it is empty and raises on use, so no host code ever calls into an instance
// that is gone or a module that is unmapped.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/plugin/sdk/plugin_sdk.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/interface.h"

namespace tv {

TV_DECLARE_EXCEPTION(EModuleManagerError, Exception);

inline constexpr std::string_view kInterfaceNotSupported = "Interface not supported";
inline constexpr std::string_view kNoPluginInstance =
    "No plug-in instance (none created, or already released)";

namespace detail {

// The references the host holds on one plug-in instance: its identity and each interface queried.
class TPluginInstance {
public:
    explicit TPluginInstance(plugin::IHYVisualPlugin* identity) : identity_(identity) {}
    ~TPluginInstance() { Release(); }
    TPluginInstance(const TPluginInstance&) = delete;
    TPluginInstance& operator=(const TPluginInstance&) = delete;

    bool Alive() const { return identity_ != nullptr; }
    plugin::IHYVisualPlugin* Identity() const { return identity_; }

    // The interface of that GUID, queried once and held until the instance is released; nil when the
    // instance does not answer it. Raises EModuleManagerError once the instance is released.
    void* Query(const plugin::TGUID& iid, plugin::IInterface* (*asBase)(void*));

    // Drops every reference the host holds. Returns the references the instance still has (0: it is
    // gone); -1 when it had been released before.
    int32_t Release();

private:
    struct TQueried {
        plugin::TGUID Iid;
        void* Found;               // as QueryInterface gave it: the interface asked for
        plugin::IInterface* Base;  // the same, seen as its base, for the release
    };
    plugin::IHYVisualPlugin* identity_;
    std::vector<TQueried> queried_;
};

}  // namespace detail

template <class T>
class TPluginRef {
public:
    TPluginRef() = default;

    // The interface, or nil when there is none or the instance has been released.
    T* get() const { return instance_ && instance_->Alive() ? intf_ : nullptr; }
    explicit operator bool() const { return get() != nullptr; }
    T* operator->() const {
        if (!get()) throw EModuleManagerError(std::string(kNoPluginInstance));
        return intf_;
    }
    void reset() {
        instance_.reset();
        intf_ = nullptr;
    }

    // The instance's interface U; raises EIntfCastError ("Interface not supported") when the instance
    // does not answer it.
    template <class U>
    TPluginRef<U> As() const {
        TPluginRef<U> result = TryAs<U>();
        if (!result) throw EIntfCastError(std::string(kInterfaceNotSupported));
        return result;
    }
    // The same, empty when the instance does not answer U.
    template <class U>
    TPluginRef<U> TryAs() const {
        if (!get()) throw EModuleManagerError(std::string(kNoPluginInstance));
        void* p = instance_->Query(U::IID, [](void* q) -> plugin::IInterface* { return static_cast<U*>(q); });
        return p ? TPluginRef<U>(instance_, static_cast<U*>(p)) : TPluginRef<U>();
    }

private:
    template <class>
    friend class TPluginRef;
    friend class THYModuleManager;

    TPluginRef(std::shared_ptr<detail::TPluginInstance> instance, T* intf)
        : instance_(std::move(instance)), intf_(intf) {}

    std::shared_ptr<detail::TPluginInstance> instance_;
    T* intf_ = nullptr;
};

}  // namespace tv
