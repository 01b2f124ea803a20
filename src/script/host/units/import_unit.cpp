#include "script/host/units/import_unit.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/codepage.h"
#include "script/compiler/pascal_compiler.h"
#include "script/runtime/exec.h"

namespace tv::script::units {

namespace {

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::string_view DeclaredName(std::string_view decl) {
    size_t i = 0;
    while (i < decl.size() && decl[i] == ' ') ++i;
    while (i < decl.size() && IsNameChar(decl[i])) ++i;  // the word function, procedure or constructor
    while (i < decl.size() && decl[i] == ' ') ++i;
    const size_t start = i;
    while (i < decl.size() && IsNameChar(decl[i])) ++i;
    return decl.substr(start, i - start);
}

void CompileImport(TPSPascalCompiler& c, const TImportUnit& unit, bool streams) {
    for (const TImportRow& row : unit.Rows) {
        if (row.Streams && !streams) continue;
        switch (row.Kind) {
            // A unit registered a second time (the script host registers std, classes and dateutils
            // through its plug-ins and again itself) keeps the types of the first: a routine of the
            // first registration and a script variable then name one and the same type.
            case TRowKind::Type:
                if (!c.FindType(row.Name)) c.AddTypeS(row.Name, row.Text);
                break;
            case TRowKind::BaseType:
                if (!c.FindType(row.Name))
                    c.AddType(row.Name, static_cast<uint8_t>(row.Value))->ExportName = true;
                break;
            case TRowKind::Constant: {
                TPSConstant* k = c.AddConstantN(row.Name, row.Text);
                if (row.Text == "Char")
                    k->SetString(std::string(1, static_cast<char>(row.Value)));
                else
                    k->SetInt(static_cast<int32_t>(row.Value));
                break;
            }
            case TRowKind::Class:
                c.AddClassN(row.Text.empty() ? nullptr : c.FindClass(row.Text), row.Name);
                break;
            case TRowKind::Method:
                // A declaration naming a type unknown at this point is dropped, as the compiler does.
                c.FindClass(row.Owner)->RegisterMethod(row.Text);
                break;
            case TRowKind::Property:
                c.FindClass(row.Owner)->RegisterProperty(row.Name, row.Text,
                                                         static_cast<TPSPropType>(row.Value));
                break;
            case TRowKind::Default:
                c.FindClass(row.Owner)->SetDefaultPropery(row.Name);
                break;
            case TRowKind::Routine:
                c.AddNativeFunction(row.Text);
                break;
        }
    }
}

void ExecImport(TPSRuntimeClassImporter& ri, const TImportUnit& unit, bool streams) {
    for (std::string_view className : unit.RunOrder) {
        const TImportRow* classRow = nullptr;
        for (const TImportRow& row : unit.Rows)
            if (row.Kind == TRowKind::Class && row.Name == className) {
                classRow = &row;
                break;
            }
        if (!classRow || (classRow->Streams && !streams)) continue;
        TPSRuntimeClass* rc = ri.Add2(classRow->Info(), className);
        for (const TImportRow& row : unit.Rows) {
            if (row.Owner != className || (row.Streams && !streams)) continue;
            const std::string_view name = row.Kind == TRowKind::Method ? DeclaredName(row.Text) : row.Name;
            switch (row.Bind) {
                case TBind::None:
                case TBind::Published:
                    break;
                case TBind::Direct:
                    rc->RegisterMethod(row.Code, name);
                    break;
                case TBind::Virtual:
                    rc->RegisterVirtualMethod(row.Code, name);
                    break;
                case TBind::VirtualThrough: {
                    const TClassInfo* through = tv::GetClass(row.Through);
                    rc->RegisterVirtualAbstractMethod(through ? *through : rc->FClass(), row.Code, name);
                    break;
                }
                case TBind::Constructor:
                    rc->RegisterConstructor(row.Code, name);
                    break;
                case TBind::VirtualConstructor:
                    rc->RegisterVirtualConstructor(row.Code, name);
                    break;
                case TBind::Pair:
                    rc->RegisterPropertyHelper(row.Code, row.Code2, name);
                    break;
                case TBind::EventPair:
                    rc->RegisterEventPropertyHelper(row.Code, row.Code2, name);
                    break;
            }
        }
    }
}

void ExecImportRoutines(TPSExec& exec, const TImportUnit& unit) {
    for (std::string_view name : unit.RunOrder)
        for (const TImportRow& row : unit.Rows)
            if (row.Kind == TRowKind::Routine && row.Name == name && row.Register) row.Register(exec, name);
}

}  // namespace tv::script::units
