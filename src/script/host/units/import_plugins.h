#pragma once
// The import plug-ins a script host puts on its script component: the root classes and the classes
// unit (streams and classes may be switched off), and the date and time routines.

#include "script/host/component/plugin.h"

namespace tv::script {

class TPSImport_Classes : public TPSPlugin {
    TV_CLASS(TPSImport_Classes, TPSPlugin)
public:
    explicit TPSImport_Classes(TComponent* owner = nullptr) : TPSPlugin(owner) {}
    bool EnableStreams = true;
    bool EnableClasses = true;

    void CompileImport1(TPSScript& compExec) override;
    void ExecImport1(TPSScript& compExec, TPSRuntimeClassImporter& ri) override;
};

class TPSImport_DateUtils : public TPSPlugin {
    TV_CLASS(TPSImport_DateUtils, TPSPlugin)
public:
    explicit TPSImport_DateUtils(TComponent* owner = nullptr) : TPSPlugin(owner) {}

    void CompOnUses(TPSScript& compExec) override;
    void ExecOnUses(TPSScript& compExec) override;
};

}  // namespace tv::script
