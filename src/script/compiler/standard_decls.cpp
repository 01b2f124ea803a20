// The standard types and routines every compile declares before the host adds its own. Their order
// is part of the container format: it fixes the numbers of the standard types.

#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

struct BaseTypeRow {
    const char* name;
    uint8_t code;
};

struct HandMadeParam {
    const char* name;
    TPSParameterMode mode;
    const char* typeName;  // nullptr: any type
};

struct VarTypeConstant {
    const char* name;
    uint16_t value;
};

constexpr VarTypeConstant kVarTypeConstants[] = {
    {"varEmpty", 0},     {"varNull", 1},     {"varSmallInt", 2},    {"varInteger", 3},  {"varSingle", 4},
    {"varDouble", 5},    {"varCurrency", 6}, {"varDate", 7},        {"varOleStr", 8},   {"varDispatch", 9},
    {"varError", 10},    {"varBoolean", 11}, {"varVariant", 12},    {"varUnknown", 13}, {"varShortInt", 16},
    {"varByte", 17},     {"varWord", 18},    {"varLongWord", 19},   {"varInt64", 20},   {"varStrArg", 72},
    {"varAny", 257},     {"varString", 256}, {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
    {"varUString", 258},
};

constexpr const char* kScriptErrorNames =
    "(ErNoError, erCannotImport, erInvalidType, ErInternalError, erInvalidHeader, erInvalidOpcode, "
    "erInvalidOpcodeParameter, erNoMainProc, erOutOfGlobalVarsRange, erOutOfProcRange, ErOutOfRange, "
    "erOutOfStackRange, ErTypeMismatch, erUnexpectedEof, erVersionError, ErDivideByZero, ErMathError,"
    "erCouldNotCallProc, erOutofRecordRange, erOutOfMemory, erException, erNullPointerException, "
    "erNullVariantError, erInterfaceNotSupported, erCustomError)";

constexpr TPSGuid kUnknownGuid = {0, 0, 0, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
constexpr TPSGuid kDispatchGuid = {0x00, 0x04, 0x02, 0x00, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};

}  // namespace

void TPSPascalCompiler::DefineStandardTypes() {
    AddType("Byte", btU8);
    defaultBoolType_ = AddTypeS("Boolean", "(False, True)");
    const std::pair<const char*, uint32_t> bools[] = {
        {"LongBool", 2147483647}, {"WordBool", 65535}, {"ByteBool", 255}};
    for (const auto& [name, high] : bools) static_cast<TPSEnumType*>(AddType(name, btEnum))->HighValue = high;
    constexpr BaseTypeRow kStrings[] = {
        {"Char", btChar},
        {"WideChar", btWideChar},
        {"WideString", btWideString},
        {"UnicodeString", btUnicodeString},
        {"AnsiString", btString},
        {"string", btUnicodeString},
        {"NativeString", btUnicodeString},
    };
    for (const auto& row : kStrings) AddType(row.name, row.code);
    anyString_ = AddType("AnyString", btString);
    {
        // The pseudo-type of any method pointer, declared as "procedure"; not exported.
        TPSPascalParser p;
        p.SetText("procedure");
        anyMethod_ = ParseType(p, "AnyMethod", true);
        anyMethod_->DeclarePos = -1;
    }
    constexpr BaseTypeRow kIntegers[] = {
        {"ShortInt", btS8}, {"Word", btU16}, {"SmallInt", btS16}, {"LongInt", btS32}};
    for (const auto& row : kIntegers) AddType(row.name, row.code);
    pointerType_ = UseType(AddType("___Pointer", btPointer));
    AddType("LongWord", btU32);
    AddTypeCopyN("Integer", "LongInt");
    AddTypeCopyN("Cardinal", "LongWord");
    constexpr BaseTypeRow kRest[] = {
        {"tbtString", btString}, {"Int64", btS64},         {"Single", btSingle},
        {"Double", btDouble},    {"Extended", btExtended}, {"Currency", btCurrency},
        {"PChar", btPChar},      {"Variant", btVariant},   {"!NotificationVariant", btNotificationVariant},
    };
    for (const auto& row : kRest) AddType(row.name, row.code);
    for (size_t i = types_.size(); i-- > 0;) UseType(types_[i].get());
    auto* variantArray = static_cast<TPSArrayType*>(NewType(TPSTypeKind::Array, btArray));
    variantArray->SetName("TVariantArray");
    variantArray->ArrayTypeNo = FindTypeUpper("VARIANT");
}

void TPSPascalCompiler::DefineStandardProcedures() {
    const std::pair<const char*, std::string_view> internal[] = {
        {"function Assigned(I: LongInt): Boolean;", kAssignedProcName},
        {"procedure _T(Name: tbtString; V: Variant);", kNotificationSetProcName},
        {"function _T(Name: tbtString): Variant;", kNotificationGetProcName},
    };
    for (const auto& [heading, name] : internal) AddFunction(heading)->SetName(name);

    // Routines whose parameters are made by hand (nullptr type: any type).
    auto handMade = [&](const char* heading, std::initializer_list<HandMadeParam> params) {
        TPSRegProc* r = AddFunction(heading);
        for (const HandMadeParam& hp : params) {
            TPSParameterDecl& d = r->Decl.AddParam();
            d.SetOrgName(hp.name);
            d.Mode = hp.mode;
            d.aType = hp.typeName ? FindType(hp.typeName) : nullptr;
        }
        r->ImportDecl = MakeImportDecl(r->Decl);
    };

    AddFunction("function IntToStr(I: Int64): string;");
    AddFunction("function StrToInt(S: string): LongInt;");
    AddFunction("function StrToIntDef(S: string; def: LongInt): LongInt;");
    AddFunction("function Copy(S: AnyString; iFrom, iCount: LongInt): AnyString;");
    AddFunction("function Pos(SubStr, S: AnyString): LongInt;");
    AddFunction("procedure Delete(var S: AnyString; iFrom, iCount: LongInt);");
    AddFunction("procedure Insert(S: AnyString; var s2: AnyString; iPos: LongInt);");
    handMade("function GetArrayLength: Integer;", {{"Arr", pmIn, nullptr}});
    handMade("procedure SetArrayLength;", {{"arr", pmInOut, nullptr}, {"count", pmIn, "LongInt"}});
    AddFunction("function StrGet(var S: string; I: Integer): Char;");
    AddFunction("function StrGet2(S: string; I: Integer): Char;");
    AddFunction("procedure StrSet(C: Char; I: Integer; var S: string);");
    AddFunction("function WStrGet(var S: AnyString; I: Integer): WideChar;");
    AddFunction("procedure WStrSet(C: AnyString; I: Integer; var S: AnyString);");
    AddNativeFunction("function VarArrayGet(var S: Variant; I: Integer): Variant;");
    AddNativeFunction("procedure VarArraySet(C: Variant; I: Integer; var S: Variant);");
    AddFunction("function AnsiUpperCase(S: string): string;");
    AddFunction("function AnsiLowerCase(S: string): string;");
    AddFunction("function UpperCase(S: AnyString): AnyString;");
    AddFunction("function LowerCase(S: AnyString): AnyString;");
    AddFunction("function Trim(S: AnyString): AnyString;");
    handMade("function Length: Integer;", {{"S", pmIn, nullptr}});
    handMade("procedure SetLength;", {{"s", pmInOut, nullptr}, {"NewLength", pmIn, "LongInt"}});
    handMade("function Low: Int64;", {{"X", pmIn, nullptr}});
    handMade("function High: Int64;", {{"X", pmIn, nullptr}});
    handMade("procedure Dec;", {{"x", pmInOut, nullptr}});
    handMade("procedure Inc;", {{"x", pmInOut, nullptr}});
    handMade("procedure Include;", {{"s", pmInOut, nullptr}, {"m", pmIn, nullptr}});
    handMade("procedure Exclude;", {{"s", pmInOut, nullptr}, {"m", pmIn, nullptr}});
    AddFunction("function Sin(E: Extended): Extended;");
    AddFunction("function Cos(E: Extended): Extended;");
    AddFunction("function Sqrt(E: Extended): Extended;");
    AddFunction("function Round(E: Extended): LongInt;");
    AddFunction("function Trunc(E: Extended): LongInt;");
    AddFunction("function Int(E: Extended): Extended;");
    AddFunction("function Pi: Extended;");
    AddFunction("function Abs(E: Extended): Extended;");
    AddFunction("function StrToFloat(S: string): Extended;");
    AddFunction("function FloatToStr(E: Extended): string;");
    AddFunction("function PadL(S: AnyString; I: LongInt): AnyString;");
    AddFunction("function PadR(S: AnyString; I: LongInt): AnyString;");
    AddFunction("function PadZ(S: AnyString; I: LongInt): AnyString;");
    AddFunction("function Replicate(C: Char; I: LongInt): string;");
    AddFunction("function StringOfChar(C: Char; I: LongInt): string;");
    AddTypeS("TVarType", "Word");
    for (const auto& c : kVarTypeConstants) AddConstantN(c.name, "Word")->SetUInt(c.value);
    AddNativeFunction("function Unassigned: Variant;");
    AddNativeFunction("function VarIsEmpty(const V: Variant): Boolean;");
    AddNativeFunction("function VarIsClear(const V: Variant): Boolean;");
    AddNativeFunction("function Null: Variant;");
    AddNativeFunction("function VarIsNull(const V: Variant): Boolean;");
    AddNativeFunction("function VarType(const V: Variant): TVarType;");
    AddTypeS("TIFException", kScriptErrorNames);
    AddFunction("procedure RaiseLastException;");
    AddFunction("procedure RaiseException(Ex: TIFException; Param: string);");
    AddFunction("function ExceptionType: TIFException;");
    AddFunction("function ExceptionParam: string;");
    AddFunction("function ExceptionProc: Cardinal;");
    AddFunction("function ExceptionPos: Cardinal;");
    AddFunction("function ExceptionToString(er: TIFException; Param: string): string;");
    AddFunction("function StrToInt64(S: string): Int64;");
    AddFunction("function Int64ToStr(I: Int64): string;");
    AddFunction("function StrToInt64Def(S: string; def: Int64): Int64;");
    handMade("function SizeOf: LongInt;", {{"Data", pmIn, nullptr}});

    TPSInterface* unknown = AddInterface(nullptr, kUnknownGuid, "IUnknown");
    for (int i = 0; i < 3; ++i) unknown->RegisterDummyMethod();
    TPSInterface* iinterface = AddInterface(nullptr, kUnknownGuid, "IInterface");
    for (int i = 0; i < 3; ++i) iinterface->RegisterDummyMethod();
    TPSInterface* dispatch = AddInterface(unknown, kDispatchGuid, "IDispatch");
    for (int i = 0; i < 4; ++i) dispatch->RegisterDummyMethod();
    dispatch->aType()->ExportName = true;
    AddNativeFunction(
        "function IdispatchInvoke(Self: IDispatch; PropertySet: Boolean; const Name: AnsiString; Par: array "
        "of "
        "Variant): Variant;");
}

}  // namespace tv::script
