#include "platform/db/db_classes.h"

#include "platform/db/ado_query.h"
#include "platform/rtl/class_info.h"

namespace tv {

void RegisterDbClasses() {
    for (const TClassInfo* cls :
         {&TADOConnection::StaticClassInfo(), &TADOQuery::StaticClassInfo(), &TADOCommand::StaticClassInfo()})
        RegisterClass(*cls);
}

}  // namespace tv
