#include "platform/rtl/object_handles.h"

#include <atomic>
#include <limits>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/object.h"

namespace tv {

namespace {

// Handles start well above small integers, so that a number a script stored for another purpose is
// unlikely to name an object by accident.
constexpr int32_t kFirstHandle = 0x10000;

struct Registry {
    std::mutex lock;
    std::unordered_map<const TObject*, uint64_t> live;  // each live object and its serial number
    std::unordered_map<int32_t, TObject*> byHandle;
    int32_t next = kFirstHandle;
    uint64_t lastSerial = 0;  // serial numbers start at 1: 0 names no object
};

// Counts the objects freed so far. A thread remembers the last object it found alive, with the count
// at that moment: while no object has been freed since, the same address is still that object, and
// SerialOf answers without the lock (a script calling methods of one object in a loop asks each time).
std::atomic<uint64_t> gFreed{0};

struct LastFound {
    const TObject* obj = nullptr;
    uint64_t serial = 0;
    uint64_t freed = 0;
};
thread_local LastFound tLastFound;

Registry& Reg() {
    static Registry* r = new Registry;  // never destroyed: objects may outlive static destruction
    return *r;
}

std::string HandleText(int32_t handle) {
    return "Invalid object handle " + std::to_string(handle);
}

}  // namespace

void TObjectHandles::Register(TObject* obj) {
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    r.live.emplace(obj, ++r.lastSerial);
}

void TObjectHandles::Unregister(TObject* obj) noexcept {
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    r.live.erase(obj);
    gFreed.fetch_add(1, std::memory_order_release);
    if (obj->fHandle != 0) r.byHandle.erase(obj->fHandle);
}

bool TObjectHandles::IsLive(const TObject* obj) noexcept {
    if (!obj) return false;
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    return r.live.count(obj) != 0;
}

uint64_t TObjectHandles::SerialOf(const TObject* obj) noexcept {
    if (!obj) return 0;
    LastFound& last = tLastFound;
    if (last.obj == obj && last.freed == gFreed.load(std::memory_order_acquire)) return last.serial;
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    auto it = r.live.find(obj);
    if (it == r.live.end()) return 0;
    last = {obj, it->second, gFreed.load(std::memory_order_relaxed)};
    return it->second;
}

bool TObjectHandles::IsLive(const TObject* obj, uint64_t serial) noexcept {
    return serial != 0 && SerialOf(obj) == serial;
}

size_t TObjectHandles::LiveCount() noexcept {
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    return r.live.size();
}

int32_t TObjectHandles::HandleOf(const TObject* obj) {
    if (!obj) return 0;
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    if (!r.live.count(obj)) throw EInvalidHandle("Invalid object reference");
    auto* o = const_cast<TObject*>(obj);
    if (o->fHandle == 0) {
        // Numbers are not reused while an object holds them; after a wrap-around the search skips them.
        while (r.byHandle.count(r.next))
            r.next = r.next == std::numeric_limits<int32_t>::max() ? kFirstHandle : r.next + 1;
        o->fHandle = r.next;
        r.byHandle.emplace(r.next, o);
        r.next = r.next == std::numeric_limits<int32_t>::max() ? kFirstHandle : r.next + 1;
    }
    return o->fHandle;
}

TObject* TObjectHandles::TryObjectOf(int32_t handle) noexcept {
    if (handle == 0) return nullptr;
    Registry& r = Reg();
    std::lock_guard g(r.lock);
    auto it = r.byHandle.find(handle);
    return it == r.byHandle.end() ? nullptr : it->second;
}

TObject* TObjectHandles::ObjectOf(int32_t handle) {
    if (handle == 0) return nullptr;
    TObject* obj = TryObjectOf(handle);
    if (!obj) throw EInvalidHandle(HandleText(handle));
    return obj;
}

}  // namespace tv
