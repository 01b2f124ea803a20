#pragma once
// For plug-in writers: the reference counting and interface queries of a plug-in instance, so that
// a plug-in class only implements the contract's methods:
//
//     class TMyGetter : public tv::plugin::TPluginObject<tv::plugin::IHYVisualPlugin,
//                                                      tv::plugin::Iquorvel_plugin, tv::plugin::Iquorvel_get>
//                                                      {
//         ...
//     };
//     TV_PLUGIN_MODULE({PLUGIN_NAME, &tv::plugin::Create<TMyGetter>})
//
// The first interface listed is the instance's identity. Part of the plug-in SDK: standard C++ only.

#include <type_traits>

#include "plugin_sdk.h"

namespace tv::plugin {

template <class First, class... Rest>
class TPluginObject : public First, public Rest... {
public:
    TPluginObject() = default;
    TPluginObject(const TPluginObject&) = delete;
    TPluginObject& operator=(const TPluginObject&) = delete;

    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        *obj = Find(iid);
        if (!*obj) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    int32_t AddRef() override { return ++refCount_; }
    int32_t Release() override {
        const int32_t left = --refCount_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~TPluginObject() = default;

private:
    void* Find(const TGUID& iid) {
        if (iid == IInterface::IID) return static_cast<IInterface*>(static_cast<First*>(this));
        void* found = nullptr;
        (void)((iid == First::IID && (found = static_cast<First*>(this))) ||
               ((iid == Rest::IID && (found = static_cast<Rest*>(this))) || ...));
        return found;
    }

    int32_t refCount_ = 0;
};

// A factory for TV_PLUGIN_MODULE: a new T (given the owner window when it takes one) with one
// reference for the caller.
template <class T>
IHYVisualPlugin* Create(QWidget* owner) {
    T* instance;
    if constexpr (std::is_constructible_v<T, QWidget*>)
        instance = new T(owner);
    else
        instance = new T();
    instance->AddRef();
    return instance;
}

}  // namespace tv::plugin
