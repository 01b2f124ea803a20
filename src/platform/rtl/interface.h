#pragma once
// Reference-counted interfaces with identity queries by GUID, the minimal model variants and the
// script engine need for interface values; TInterfacedObject counts references and frees itself
// when the last one goes.

#include <cstdint>
#include <cstring>

#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

struct TGUID {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};
    friend bool operator==(const TGUID& a, const TGUID& b) { return std::memcmp(&a, &b, sizeof(TGUID)) == 0; }
};

inline constexpr int32_t S_OK = 0;
inline constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002u);

// An interface cast that the object does not answer: "Interface not supported".
TV_DECLARE_EXCEPTION(EIntfCastError, Exception);

inline constexpr TGUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr TGUID IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IInterface {
public:
    // S_OK and the interface (with a reference added) in `obj`, or E_NOINTERFACE and nil.
    virtual int32_t QueryInterface(const TGUID& iid, void** obj) = 0;
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;

protected:
    ~IInterface() = default;
};

// An object implementing IInterface that answers the identity query and frees itself with its last
// reference.
class TInterfacedObject : public TObject, public IInterface {
    TV_CLASS(TInterfacedObject, TObject)
public:
    int32_t QueryInterface(const TGUID& iid, void** obj) override {
        if (iid == IID_IUnknown) {
            AddRef();
            *obj = static_cast<IInterface*>(this);
            return S_OK;
        }
        *obj = nullptr;
        return E_NOINTERFACE;
    }
    int32_t AddRef() override { return ++fRefCount; }
    int32_t Release() override {
        const int32_t n = --fRefCount;
        if (n == 0) delete this;
        return n;
    }
    int32_t RefCount() const { return fRefCount; }

private:
    int32_t fRefCount = 0;
};

}  // namespace tv
