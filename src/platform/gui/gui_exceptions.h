#pragma once
// The failures of the GUI class library, with the class names scripts and logs see.

#include "platform/rtl/exception.h"

namespace tv {

TV_DECLARE_EXCEPTION(EInvalidOperation, Exception);         // not possible in the control's state
TV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);           // an image file or stream that cannot be read
TV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);  // a drawing the target cannot take
TV_DECLARE_EXCEPTION(EResNotFound, Exception);              // there are no program resources to load
TV_DECLARE_EXCEPTION(EOutOfResources, Exception);           // an image larger than the library makes

inline constexpr std::string_view kNoCanvasDrawing = "Canvas does not allow drawing";

}  // namespace tv
