#include "platform/data/data_classes.h"

#include "platform/data/client_data_set.h"
#include "platform/data/data_source.h"
#include "platform/data/nested_data_set.h"
#include "platform/rtl/class_info.h"

namespace tv {

void RegisterDataClasses() {
    for (const TClassInfo* cls : {&TDataSet::StaticClassInfo(), &TClientDataSet::StaticClassInfo(),
                                  &TField::StaticClassInfo(), &TDataSource::StaticClassInfo(),
                                  &TNestedDataSet::StaticClassInfo()})
        RegisterClass(*cls);
}

}  // namespace tv
