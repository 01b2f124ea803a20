#include "script/runtime/busy_objects.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/object_handles.h"

namespace tv::script {

namespace {

struct BusyObjects {
    std::vector<TObject*> running;  // one entry per running call, innermost last
    std::vector<TObject*> pending;  // freed by a script while busy, in the order freed
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
        TObject* obj = b.pending[i];
        if (IsBusy(b, obj, 0)) {
            ++i;
            continue;
        }
        b.pending.erase(b.pending.begin() + static_cast<std::ptrdiff_t>(i));
        // Freed meanwhile through another way (its owner) it is only forgotten.
        if (TObjectHandles::IsLive(obj)) delete obj;
    }
}

void FreeWhenIdle(TObject* obj, int ownCalls) {
    if (!obj) return;
    BusyObjects& b = Busy();
    if (!IsBusy(b, obj, ownCalls)) {
        delete obj;
        return;
    }
    if (std::find(b.pending.begin(), b.pending.end(), obj) == b.pending.end()) b.pending.push_back(obj);
}

}  // namespace tv::script
