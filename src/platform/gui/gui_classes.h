#pragma once
// The classes of the GUI class library, made known by name (class_info.h) so that scripts and form
// descriptions can build them and reach their published properties.

#include <vector>

namespace tv {

class TClassInfo;

std::vector<const TClassInfo*> GuiClasses();
// Registers every class of GuiClasses(); calling it again does no harm.
void RegisterGuiClasses();

}  // namespace tv
