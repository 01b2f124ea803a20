#include "script/host/units/import_plugins.h"

#include "platform/rtl/class_info.h"
#include "script/host/component/script.h"
#include "script/host/units/import_units.h"

namespace tv::script {

const TClassInfo& TPSImport_Classes::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPSImport_Classes>("TPSImport_Classes")
            .Published("EnableStreams", &TPSImport_Classes::EnableStreams, &TPSImport_Classes::EnableStreams)
            .Published("EnableClasses", &TPSImport_Classes::EnableClasses, &TPSImport_Classes::EnableClasses)
            .Build();
    return info;
}

void TPSImport_Classes::CompileImport1(TPSScript& compExec) {
    CompileImportStd(compExec.Comp());
    if (EnableClasses) CompileImportClasses(compExec.Comp(), EnableStreams);
}

void TPSImport_Classes::ExecImport1(TPSScript&, TPSRuntimeClassImporter& ri) {
    ExecImportStd(ri);
    if (EnableClasses) ExecImportClasses(ri, EnableStreams);
}

const TClassInfo& TPSImport_DateUtils::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPSImport_DateUtils>("TPSImport_DateUtils").Build();
    return info;
}

void TPSImport_DateUtils::CompOnUses(TPSScript& compExec) {
    CompileImportDateUtils(compExec.Comp());
}

void TPSImport_DateUtils::ExecOnUses(TPSScript& compExec) {
    ExecImportDateUtils(compExec.Exec());
}

}  // namespace tv::script
