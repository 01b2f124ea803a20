#pragma once
// The objects alive right now, and the 32-bit integers that stand for objects where a script keeps
// an object in an integer (a Tag, a LongInt variable): object pointers are 64 bits wide here. An
// object gets its handle on first request and keeps it until it is freed; a handle of a freed or
// unknown object is refused, never turned back into a pointer.
//
// Every object also gets a serial number when it is made, never given to another: a reference kept
// as address and serial number tells a freed object from a new one made at the same address.

#include <cstddef>
#include <cstdint>

#include "platform/rtl/exception.h"

namespace tv {

class TObject;

TV_DECLARE_EXCEPTION(EInvalidHandle, Exception);  // a handle or reference to no live object

class TObjectHandles {
public:
    static bool IsLive(const TObject* obj) noexcept;
    // Whether `obj` is alive and is the object that got `serial` (a new object at the address of a
    // freed one has another).
    static bool IsLive(const TObject* obj, uint64_t serial) noexcept;
    // The serial number of a live object; 0 for nil and for an object that is not alive.
    static uint64_t SerialOf(const TObject* obj) noexcept;
    // 0 for nil. Raises EInvalidHandle for an object that is not alive.
    static int32_t HandleOf(const TObject* obj);
    // nil for 0. Raises EInvalidHandle for a handle of no live object.
    static TObject* ObjectOf(int32_t handle);
    // nil for 0 and for a handle of no live object.
    static TObject* TryObjectOf(int32_t handle) noexcept;
    static size_t LiveCount() noexcept;

private:
    friend class TObject;
    static void Register(TObject* obj);
    static void Unregister(TObject* obj) noexcept;
};

}  // namespace tv
