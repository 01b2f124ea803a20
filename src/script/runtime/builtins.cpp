#include "script/runtime/exec.h"

namespace tv::script {

void TPSExec::RegisterStandardProcs() {}

}  // namespace tv::script
