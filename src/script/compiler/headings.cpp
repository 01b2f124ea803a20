// The two parsers of routine headings in declaration text: the simple one of AddFunction and the
// full one of AddNativeFunction, class methods and interface methods (open arrays, array of const,
// untyped const parameters).

#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

TPSParameterMode ModeOf(TPSPasToken t) {
    return t == CSTII_var ? pmInOut : t == CSTII_out ? pmOut : pmIn;
}

}  // namespace

bool TPSPascalCompiler::ParseParamGroups(TPSPascalParser& p, TPSParametersDecl& decl,
                                         const NameCheck& acceptName, const TypeReader& readType) {
    if (p.CurrTokenID() != CSTI_OpenRound) return true;
    p.Next();
    if (p.CurrTokenID() == CSTI_CloseRound) {
        p.Next();
        return true;
    }
    for (;;) {
        TPSParameterMode mode = pmIn;
        if (p.CurrTokenID() == CSTII_const || p.CurrTokenID() == CSTII_var || p.CurrTokenID() == CSTII_out) {
            mode = ModeOf(p.CurrTokenID());
            p.Next();
        }
        const size_t first = decl.Params.size();
        for (;;) {
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
            if (acceptName && !acceptName(p, decl.Params.size() == first)) return false;
            TPSParameterDecl& param = decl.AddParam();
            param.SetOrgName(p.OriginalToken());
            param.Mode = mode;
            param.DeclarePos = p.CurrTokenPos();
            param.DeclareRow = p.Row();
            param.DeclareCol = p.Col();
            p.Next();
            if (p.CurrTokenID() != CSTI_Comma) break;
            p.Next();
        }
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
        TPSType* t = nullptr;
        if (!readType(p, t)) return false;
        for (size_t i = first; i < decl.Params.size(); ++i) decl.Params[i].aType = t;
        if (p.CurrTokenID() == CSTI_SemiColon) {
            p.Next();
            continue;
        }
        return ExpectNext(p, CSTI_CloseRound, ecSemicolonExpected);
    }
}

TPSType* TPSPascalCompiler::ReadTypeName(TPSPascalParser& p, TPSPascalCompilerErrorType unknownError) {
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
    TPSType* t = FindTypeUpper(p.GetToken());
    if (!t) {
        ParserError(p, unknownError, p.OriginalToken());
        return nullptr;
    }
    p.Next();
    return t;
}

bool TPSPascalCompiler::ParseSimpleHeading(std::string_view text, TPSRegProc& proc) {
    TPSPascalParser p;
    p.SetText(text);
    bool isFunction = p.CurrTokenID() == CSTII_function;
    if (!isFunction && p.CurrTokenID() != CSTII_procedure) return false;
    p.Next();
    if (p.CurrTokenID() != CSTI_Identifier) return false;
    proc.SetName(p.OriginalToken());
    p.Next();
    // Parameters and the result are type names only: no open arrays, no untyped parameters.
    auto typeName = [this](TPSPascalParser& q, TPSType*& t) {
        return (t = ReadTypeName(q, ecUnknownType)) != nullptr;
    };
    if (!ParseParamGroups(p, proc.Decl, nullptr, typeName)) return false;
    if (!isFunction) return true;
    if (p.CurrTokenID() != CSTI_Colon) return false;
    p.Next();
    return (proc.Decl.Result = ReadTypeName(p, ecUnknownType)) != nullptr;
}

TPSType* TPSPascalCompiler::ArrayOfConstType() {
    static constexpr std::string_view kName = "!OPENARRAYOFCONST";
    if (TPSType* t = FindTypeUpper(kName)) return t;
    auto* t = static_cast<TPSArrayType*>(NewType(TPSTypeKind::Array, btArray));
    t->SetName(kName);
    t->ExportName = true;
    t->DeclarePos = -1;
    t->ArrayTypeNo = FindTypeUpper("___POINTER");
    return t;
}

TPSType* TPSPascalCompiler::OpenArrayType(TPSType* element) {
    std::string name = "!OPENARRAYOF";
    switch (element->BaseType) {
        case btU8:
            name += "U8";
            break;
        case btS8:
            name += "S8";
            break;
        case btU16:
            name += "U16";
            break;
        case btS16:
            name += "S16";
            break;
        case btU32:
            name += "U32";
            break;
        case btS32:
            name += "S32";
            break;
        case btSingle:
            name += "SINGLE";
            break;
        case btDouble:
            name += "DOUBLE";
            break;
        case btExtended:
            name += "EXTENDED";
            break;
        case btString:
            name += "STRING";
            break;
        case btPChar:
            name += "PCHAR";
            break;
        case btVariant:
        case btNotificationVariant:
            name += "VARIANT";
            break;
        case btS64:
            name += "S64";
            break;
        case btChar:
            name += "CHAR";
            break;
        case btWideString:
            name += "WIDESTRING";
            break;
        case btWideChar:
            name += "WIDECHAR";
            break;
        case btClass:
            name += "TOBJECT";
            break;
        case btUnicodeString:
            name += "UNICODESTRING";
            break;
        case btRecord:
            name += "RECORD_" + element->Name;
            break;
        case btEnum:
            name += "ENUM_" + element->Name;
            break;
        default:
            return nullptr;
    }
    if (TPSType* t = FindTypeUpper(name)) return t;
    auto* t = static_cast<TPSArrayType*>(NewType(TPSTypeKind::Array, btArray));
    t->SetName(name);
    t->ExportName = true;
    t->DeclarePos = -1;
    t->ArrayTypeNo = element->BaseType == btNotificationVariant ? FindTypeUpper("VARIANT") : element;
    return t;
}

bool TPSPascalCompiler::ParseFullHeading(TPSPascalParser& p, std::string_view className,
                                         TPSParametersDecl& decl, std::string& orgName, bool& isConstructor) {
    TPSPasToken kind = p.CurrTokenID();
    isConstructor = kind == CSTII_constructor && !className.empty();
    if (kind != CSTII_function && kind != CSTII_procedure && !isConstructor) return false;
    p.Next();
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
    orgName = p.OriginalToken();
    p.Next();
    // A parameter type is a type name, "const" (any type), "array of const" or "array of" a type name.
    auto readType = [this](TPSPascalParser& q, TPSType*& t) {
        if (q.CurrTokenID() == CSTII_const) {
            q.Next();
            t = nullptr;
            return true;
        }
        if (q.CurrTokenID() != CSTII_array) return (t = ReadTypeName(q, ecUnknownType)) != nullptr;
        q.Next();
        if (!ExpectNext(q, CSTII_of, ecOfExpected)) return false;
        if (q.CurrTokenID() == CSTII_const) {
            q.Next();
            t = ArrayOfConstType();
            return true;
        }
        TPSType* element = ReadTypeName(q, ecUnknownType);
        return element && (t = OpenArrayType(element)) != nullptr;
    };
    if (!ParseParamGroups(p, decl, nullptr, readType)) return false;
    if (kind == CSTII_function) {
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
        decl.Result = ReadTypeName(p, ecUnknownType);
        return decl.Result != nullptr;
    }
    if (isConstructor) decl.Result = FindTypeUpper(AsciiUpperCase(className));
    return true;
}

bool TPSPascalCompiler::ParseMethodDecl(std::string_view declText, std::string_view className,
                                        TPSParametersDecl& out, std::string& orgName,
                                        TPSPascalParser* parser) {
    bool isConstructor = false;
    if (parser) return ParseFullHeading(*parser, className, out, orgName, isConstructor);
    TPSPascalParser p;
    p.SetText(declText);
    return ParseFullHeading(p, className, out, orgName, isConstructor);
}

}  // namespace tv::script
