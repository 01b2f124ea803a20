#include "automation/job_api.h"

#include "script/host/component/script.h"

namespace tv {

bool TJobApi::Register(script::TPSScript& script, const TJobApiRow& row) const {
    void* self = objects_[static_cast<size_t>(row.Object)];
    if (row.Bind && self) return row.Bind(script, self, row.Declaration);
    return script.AddDeclaration(row.Declaration);
}

}  // namespace tv
