#pragma once
// Finding what a plug-in module left in the host's windows before the module is unmapped: a widget
// whose class the module defines cannot be destroyed once its code is gone.

namespace tv {

// Deletes every widget whose class lies in the module loaded at `moduleBase` (children go with their
// parent); returns how many were deleted directly. Nothing without a Qt application.
int DeleteWidgetsOfModule(const void* moduleBase);

}  // namespace tv
