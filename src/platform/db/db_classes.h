#pragma once
// Registers the ADO stand-in's classes (TADOConnection, TADOQuery, TADOCommand) so that they are
// found by name (class_info.h).

namespace tv {

void RegisterDbClasses();

}  // namespace tv
