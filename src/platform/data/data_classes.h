#pragma once
// Registers the dataset classes (TDataSet, TClientDataSet, TField, TDataSource, TNestedDataSet) so that they are
// found by name (class_info.h GetClass / FindClass), as data modules built from descriptions need.

namespace tv {

void RegisterDataClasses();

}  // namespace tv
