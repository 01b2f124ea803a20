#include "script/runtime/busy_objects.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/object_handles.h"

namespace tv::script {

namespace {

struct Pending {
    TObject* obj;
    uint64_t serial;  // tells it from a new object made where it was, once it is freed otherwise
};

struct BusyObjects {
    std::vector<TObject*> running;  // one entry per running call, innermost last
    std::vector<Pending> pending;   // freed by a script while busy, in the order freed
};

BusyObjects& Busy() {
    thread_local BusyObjects busy;
    return busy;
}

// Whether a call on `obj` is running beyond the `ownCalls` of the caller itself.
bool IsBusy(const BusyObjects& b, const TObject* obj, int ownCalls) {
    return std::count(b.running.begin(), b.running.end(), obj) > ownCalls;
}

}  // namespace

TBusyObject::TBusyObject(TObject* obj) : fObj(obj) {
    if (fObj) Busy().running.push_back(fObj);
}

TBusyObject::~TBusyObject() {
    if (!fObj) return;
    BusyObjects& b = Busy();
    b.running.pop_back();  // calls end in the reverse order they began
    for (size_t i = 0; i < b.pending.size();) {
        const Pending p = b.pending[i];
        if (IsBusy(b, p.obj, 0)) {
            ++i;
            continue;
        }
        b.pending.erase(b.pending.begin() + static_cast<std::ptrdiff_t>(i));
        // Freed meanwhile through another way (its owner) it is only forgotten.
        if (TObjectHandles::IsLive(p.obj, p.serial)) delete p.obj;
    }
}

void FreeWhenIdle(TObject* obj, int ownCalls) {
    if (!obj) return;
    BusyObjects& b = Busy();
    if (!IsBusy(b, obj, ownCalls)) {
        delete obj;
        return;
    }
    if (std::none_of(b.pending.begin(), b.pending.end(), [obj](const Pending& p) { return p.obj == obj; }))
        b.pending.push_back({obj, TObjectHandles::SerialOf(obj)});
}

}  // namespace tv::script
