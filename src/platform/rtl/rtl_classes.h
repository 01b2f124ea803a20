#pragma once
// The classes of the run-time library, known by name from the start (class_info.h).

#include <vector>

namespace tv {

class TClassInfo;

std::vector<const TClassInfo*> RtlClasses();

}  // namespace tv
