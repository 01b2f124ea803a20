#pragma once
// Streams over resources linked into a module. Programs here carry no such resources, so both
// constructors raise EResNotFound "Resource <name> not found", as the class library does for a
// resource that is missing.

#include <cstdint>
#include <string_view>

#include "platform/rtl/streams.h"

namespace tv {

TV_DECLARE_EXCEPTION(EResNotFound, Exception);

class TResourceStream : public TCustomMemoryStream {
    TV_CLASS(TResourceStream, TCustomMemoryStream)
public:
    TResourceStream(intptr_t instance, std::string_view resName, std::string_view resType);
    // The resource numbered resId (the class library's CreateFromID).
    TResourceStream(intptr_t instance, int32_t resId, std::string_view resType);
};

}  // namespace tv
