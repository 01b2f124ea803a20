#pragma once
// Host objects whose methods a script called and that have not returned yet. An event handler that
// such a method fired may free the object (Sender.Free in a list's OnChanging): the object is then
// freed once the method returns, never under it.

#include "platform/rtl/object.h"

namespace tv::script {

// Marks `obj` as running a method for as long as it lives.
class TBusyObject {
public:
    explicit TBusyObject(TObject* obj);
    ~TBusyObject();
    TBusyObject(const TBusyObject&) = delete;
    TBusyObject& operator=(const TBusyObject&) = delete;

private:
    TObject* fObj;
};

// Frees `obj` now, unless a method of it (besides the `ownCalls` calls of the caller itself) is
// running; then once the last of them has returned.
void FreeWhenIdle(TObject* obj, int ownCalls);

}  // namespace tv::script
