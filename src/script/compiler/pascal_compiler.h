#pragma once
// The one-pass script compiler: compiles Pascal-dialect script text straight into the
// compiled-script container (and its debug stream) while it parses, against the types, routines,
// classes, constants and variables a host declares through the registration interface below.
// Registration is accepted only while a compile runs, in practice inside the OnUses handler, and
// everything registered is released when the compile ends.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/compiler/compile_symbols.h"
#include "script/compiler/compile_types.h"
#include "script/compiler/compiler_messages.h"
#include "script/compiler/host_classes.h"
#include "script/compiler/pascal_parser.h"

namespace tv::script {

class TPSValue;
class TPSValueProc;
class TPSValueVar;
class TPSUnValueOp;
class TPSBinValueOp;
class TPSValueAllocatedStackVar;
struct TPSBlockInfo;
struct TPSParameter;
using TPSValuePtr = std::unique_ptr<TPSValue>;
enum TPSBinOperatorType : uint8_t;

enum TPSVariableType : uint8_t { ivtGlobal, ivtParam, ivtVariable };
// What a statement position record marks.
enum TPSWriteLineKind : uint8_t { wlStatement = 0, wlEndOfProcedure = 1 };

class TPSPascalCompiler {
public:
    using TPSOnUses = std::function<bool(TPSPascalCompiler&, const std::string& unitName)>;
    using TPSOnExportCheck =
        std::function<bool(TPSPascalCompiler&, TPSInternalProcedure&, const std::string& decl)>;
    using TPSOnExternalProc =
        std::function<std::unique_ptr<TPSRegProc>(TPSPascalCompiler&, TPSParametersDecl& decl,
                                                  const std::string& orgName, const std::string& reference)>;
    using TPSOnUseVariable =
        std::function<void(TPSPascalCompiler&, TPSVariableType kind, int32_t number, int32_t procNo,
                           uint32_t position, const std::string& propData)>;
    using TPSOnUseRegProc =
        std::function<void(TPSPascalCompiler&, uint32_t position, const std::string& name)>;
    using TPSOnNotify = std::function<bool(TPSPascalCompiler&)>;
    using TPSOnWriteLine = std::function<bool(TPSPascalCompiler&, uint32_t position)>;
    using TPSOnWriteLine2 = std::function<bool(TPSPascalCompiler&, uint32_t position, TPSWriteLineKind kind)>;
    using TPSOnTranslateLineInfo = std::function<void(TPSPascalCompiler&, uint32_t& pos, uint32_t& row,
                                                      uint32_t& col, std::string& fileName)>;
    using TPSOnFunction = std::function<void(TPSPascalCompiler&, const std::string& name, uint32_t pos,
                                             uint32_t row, uint32_t col)>;

    TPSPascalCompiler();
    ~TPSPascalCompiler();
    TPSPascalCompiler(const TPSPascalCompiler&) = delete;
    TPSPascalCompiler& operator=(const TPSPascalCompiler&) = delete;

    // Compiles `text` (single-byte, Windows-1252); true when a container was written.
    bool Compile(std::string_view text);
    // The container of the last successful compile; false when there is none.
    bool GetOutput(std::string& s) const;
    // The debug stream written with it.
    bool GetDebugOutput(std::string& s) const;
    // Empties the output, the debug output and the messages, and frees the objects handed over
    // with AddToFreeList.
    void Clear();

    size_t MsgCount() const { return messages_.size(); }
    // The message at `i`, nullptr out of range.
    TPSPascalCompilerMessage* Msg(size_t i) const {
        return i < messages_.size() ? messages_[i].get() : nullptr;
    }

    // --- registration (only while a compile runs; misuse raises EPSCompilerException) ---
    TPSType* AddType(std::string_view name, uint8_t baseType);
    TPSType* AddTypeS(std::string_view name, std::string_view decl);
    TPSType* AddTypeCopy(std::string_view name, TPSType* type);
    TPSType* AddTypeCopyN(std::string_view name, std::string_view typeName);
    // The last declared type of that name, links followed; nullptr when absent or outside a compile.
    TPSType* FindType(std::string_view name);
    TPSRegProc* AddFunction(std::string_view header);
    TPSRegProc* AddNativeFunction(std::string_view header);
    TPSConstant* AddConstant(std::string_view name, TPSType* type);
    TPSConstant* AddConstantN(std::string_view name, std::string_view typeName);
    TPSConstant* GetConstant(std::string_view name);
    TPSVar* AddVariable(std::string_view name, TPSType* type);
    TPSVar* AddVariableN(std::string_view name, std::string_view typeName);
    TPSVar* AddUsedVariable(std::string_view name, TPSType* type);
    // nullptr when no type has that name.
    TPSVar* AddUsedVariableN(std::string_view name, std::string_view typeName);
    TPSVar* AddUsedPtrVariable(std::string_view name, TPSType* type);
    TPSVar* AddUsedPtrVariableN(std::string_view name, std::string_view typeName);
    TPSInterface* AddInterface(TPSInterface* inheritedFrom, const TPSGuid& guid, std::string_view name);
    TPSInterface* FindInterface(std::string_view name);
    TPSCompileTimeClass* AddClassN(TPSCompileTimeClass* inheritsFrom, std::string_view className);
    TPSCompileTimeClass* FindClass(std::string_view className);
    TPSAttributeType* AddAttributeType();
    TPSAttributeType* FindAttributeType(std::string_view name);

    size_t GetTypeCount() const { return types_.size(); }
    TPSType* GetType(size_t i) const { return i < types_.size() ? types_[i].get() : nullptr; }
    size_t GetVarCount() const { return vars_.size(); }
    TPSVar* GetVar(size_t i) const { return i < vars_.size() ? vars_[i].get() : nullptr; }
    size_t GetProcCount() const { return procs_.size(); }
    TPSProcedure* GetProc(size_t i) const { return i < procs_.size() ? procs_[i].get() : nullptr; }
    size_t GetConstCount() const { return constants_.size(); }
    TPSConstant* GetConst(size_t i) const { return i < constants_.size() ? constants_[i].get() : nullptr; }
    size_t GetRegProcCount() const { return regProcs_.size(); }
    TPSRegProc* GetRegProc(size_t i) const { return i < regProcs_.size() ? regProcs_[i].get() : nullptr; }

    // The compiler frees the object in its next Clear.
    void AddToFreeList(std::shared_ptr<void> object) { autoFreeList_.push_back(std::move(object)); }

    // Record a message at the parser's current position.
    TPSPascalCompilerMessage* MakeError(std::string_view module, TPSPascalCompilerErrorType code,
                                        std::string_view param);
    TPSPascalCompilerMessage* MakeHint(std::string_view module, TPSPascalCompilerHintType code,
                                       std::string_view param);
    TPSPascalCompilerMessage* MakeWarning(std::string_view module, TPSPascalCompilerWarningType code,
                                          std::string_view param);

    // The procedure number of a name (a registered routine becomes a procedure of the script on its
    // first lookup), or -1.
    int32_t FindProc(std::string_view upperName);
    // The parameter list of a host routine the script uses, or nullptr.
    TPSParametersDecl* UseExternalProc(std::string_view upperName);
    // Marks a type used and gives it its container number (its components first).
    TPSType* UseType(TPSType* type);
    void UseDeclTypes(TPSParametersDecl& decl);
    // The plain type of a base code (made when the table has none), marked used.
    TPSType* BaseTypeDef(uint8_t code);
    // The text handed to OnExportCheck for a declaration.
    std::string MakeDecl(const TPSParametersDecl& decl) const;

    // Parses a method heading of a host class or interface from declaration text.
    // With `parser` the heading is read from it at its current token, else from `decl`.
    bool ParseMethodDecl(std::string_view decl, std::string_view className, TPSParametersDecl& out,
                         std::string& orgName, TPSPascalParser* parser = nullptr);
    // Appends a host routine for a class or interface member: no name, the given declaration and
    // import declaration; answers its procedure number.
    int32_t AddMemberProc(const TPSParametersDecl& decl, std::string importDecl);

    // The type rules (only while a compile runs). A boolean type is the default Boolean or one of
    // LongBool, WordBool and ByteBool.
    bool IsBooleanType(const TPSType* t) const;
    // Assignment (or with `forCast`, cast) compatibility of a source type with a target type.
    bool TypesCompatible(TPSType* target, TPSType* source, bool forCast);
    // By-reference arguments need the very same type: true when they differ.
    static bool VarTypesDiffer(TPSType* declared, TPSType* actual);
    // A procedure fits a procedural type: the same result, parameter modes and types.
    bool ProcPtrMatches(TPSType* procType, uint32_t procNo);
    // The type of `left op right`, nullptr for a mismatch; records the warnings of constant Boolean
    // operands of "and" and "or".
    TPSType* BinaryResultType(TPSValue* left, TPSValue* right, TPSBinOperatorType op);
    // The type of an expression node.
    TPSType* ValueType(TPSValue* value);

    bool InCompile() const { return compiling_; }
    TPSPascalParser& Parser() { return parser_; }
    TPSType* DefaultBoolType() const { return defaultBoolType_; }
    TPSType* AnyStringType() const { return anyString_; }
    TPSType* AnyMethodType() const { return anyMethod_; }

    // Options (all false at creation except AllowDuplicateRegister).
    bool UTF8Decode = false;
    bool IsUnit = false;
    bool AllowNoBegin = false;
    bool AllowNoEnd = false;
    bool AllowUnit = false;
    bool AllowDuplicateRegister = true;
    bool BooleanShortCircuit = false;
    TPSPasToken AttributesOpenTokenID = CSTI_OpenBlock;
    TPSPasToken AttributesCloseTokenID = CSTI_CloseBlock;
    // Emptied at the start of every compile; the module name of messages the host records.
    std::string UnitName;
    void* ID = nullptr;

    TPSOnUses OnUses;
    TPSOnExportCheck OnExportCheck;
    TPSOnExternalProc OnExternalProc;
    TPSOnUseVariable OnUseVariable;
    TPSOnUseRegProc OnUseRegProc;
    TPSOnNotify OnBeforeOutput;
    TPSOnNotify OnBeforeCleanup;
    TPSOnWriteLine OnWriteLine;
    TPSOnWriteLine2 OnWriteLine2;
    TPSOnTranslateLineInfo OnTranslateLineInfo;
    TPSOnFunction OnFunctionStart;
    TPSOnFunction OnFunctionEnd;

private:
    friend class TPSCompileTimeClass;
    friend class TPSInterface;

    enum NameKinds : uint8_t { nkType = 1, nkProc = 2, nkVar = 4, nkConst = 8 };

    // Bounds the recursion a text can cause: every nested block, factor or type takes
    // kNestingUnits of one budget, every operator of a chain (which nests the tree it builds) one
    // unit, so deeply nested or endlessly chained text ends the compile with an error instead of
    // exhausting the stack. What a guard took is given back when it goes out of scope. Only the
    // script's own parser is bounded; declaration texts of the host are not script text.
    class DepthGuard {
    public:
        static constexpr uint32_t kBudget = 2048;
        static constexpr uint32_t kNestingUnits = 8;
        DepthGuard(TPSPascalCompiler& c, TPSPascalParser& p) : c_(c), p_(p) {}
        ~DepthGuard() { c_.depth_ -= taken_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
        // Takes `units`; false, after recording the error, when the budget is spent.
        bool Take(uint32_t units);

    private:
        TPSPascalCompiler& c_;
        TPSPascalParser& p_;
        uint32_t taken_ = 0;
    };
    struct LoopState;  // break/continue bookkeeping of the loop being compiled
    class LoopScope;
    class NestingScope;

    // --- registration helpers (registry.cpp) ---
    void CheckInCompile() const;
    bool NameClashes(std::string_view upperName, uint8_t kinds);
    void CheckDuplicate(std::string_view orgName, std::string_view upperName, uint8_t kinds);
    TPSType* NewType(TPSTypeKind kind, uint8_t baseType);
    template <class T>
    T* AppendType(std::unique_ptr<T> type) {
        T* raw = type.get();
        types_.push_back(std::move(type));
        return raw;
    }
    TPSType* FindTypeUpper(std::string_view upperName);
    TPSConstant* FindConstantUpper(std::string_view upperName, uint32_t hash);
    int32_t FindGlobalVar(std::string_view upperName, uint32_t hash);
    // The name of procedure i: its own, or that of the host routine it uses.
    TPSName& ProcName(size_t i) const;
    // The procedure table's index, brought up to date.
    TNameIndex& ProcIndex();
    // The first script procedure of the name that is declared forward and not yet defined; -1 if none.
    int32_t FindForwardProc(std::string_view upperName, uint32_t hash);
    TPSVar* NewVariable(std::string_view name, TPSType* type);
    TPSRegProc* AppendRegProc(std::unique_ptr<TPSRegProc> proc);
    static std::string MakeImportDecl(const TPSParametersDecl& decl);

    // --- heading parsers (headings.cpp) ---
    using NameCheck = std::function<bool(TPSPascalParser&, bool firstOfGroup)>;
    using TypeReader = std::function<bool(TPSPascalParser&, TPSType*&)>;
    // "(" [group {";" group}] ")" with group = [const|var|out] name {"," name} ":" type; nothing
    // when the current token is not "(". `acceptName` may refuse a name (after recording why).
    bool ParseParamGroups(TPSPascalParser& p, TPSParametersDecl& decl, const NameCheck& acceptName,
                          const TypeReader& readType);
    TPSType* ReadTypeName(TPSPascalParser& p, TPSPascalCompilerErrorType unknownError);
    bool ParseSimpleHeading(std::string_view text, TPSRegProc& proc);
    bool ParseFullHeading(TPSPascalParser& p, std::string_view className, TPSParametersDecl& decl,
                          std::string& orgName, bool& isConstructor);
    TPSType* OpenArrayType(TPSType* elementType);
    TPSType* ArrayOfConstType();

    // --- declarations (declarations.cpp) ---
    bool IsOwnParser(const TPSPascalParser& p) const { return &p == &parser_; }
    void ParserError(TPSPascalParser& p, TPSPascalCompilerErrorType code, std::string_view param = {});
    // True when the current token is `token`; otherwise records `error` (for the compiler's own parser).
    bool Expect(TPSPascalParser& p, TPSPasToken token, TPSPascalCompilerErrorType error);
    // Expect, then skip the token.
    bool ExpectNext(TPSPascalParser& p, TPSPasToken token, TPSPascalCompilerErrorType error);
    TPSType* ParseType(TPSPascalParser& p, std::string_view orgName, bool declaration);
    TPSType* ParseProceduralType(TPSPascalParser& p, TPSProceduralType& type);
    TPSType* ParseInterfaceType(TPSPascalParser& p, std::string_view orgName);
    TPSType* ParseArrayType(TPSPascalParser& p, std::string_view orgName);
    bool ParseAttribute(TPSAttributes& into);
    bool ApplyTypeAttributes(TPSType& type);
    bool ApplyProcAttributes(TPSProcedure& proc);
    bool ProcessConstSection();
    bool ProcessTypeSection();
    bool ProcessVarSection(TPSInternalProcedure* proc);
    bool ProcessLabelSection(TPSInternalProcedure& proc);
    bool ParseProcedure(bool interfaceOnly, TPSAttributes* attributes);
    bool ParseParameterList(TPSParametersDecl& decl, TPSInternalProcedure* forward, bool isFunction,
                            std::string_view procName);
    bool VariableClashes(std::string_view upperName, TPSInternalProcedure* proc);
    bool LabelClashes(std::string_view upperName, TPSInternalProcedure& proc);
    int32_t FindLabel(TPSInternalProcedure& proc, std::string_view upperName) const;

    // --- constants (constants.cpp) ---
    struct ConstNode;
    std::unique_ptr<TIfRVariant> ReadInteger(std::string_view text, bool recordErrors);
    std::unique_ptr<TIfRVariant> ReadReal(std::string_view text, bool recordErrors);
    std::unique_ptr<TIfRVariant> ReadString(TPSPascalParser& p);
    std::unique_ptr<TIfRVariant> ParseConstantExpression(TPSPascalParser& p, TPSPasToken stopToken);
    std::unique_ptr<ConstNode> ParseConstNode(TPSPascalParser& p, int level);
    std::unique_ptr<TIfRVariant> EvalConstNode(TPSPascalParser& p, ConstNode& node);
    bool FoldBinaryConstants(bool markUsed, TPSBinOperatorType op, const TIfRVariant& right,
                             TIfRVariant& left, bool recordErrors = true);
    bool FoldUnaryConstant(uint8_t op, TIfRVariant& value, bool constSection);
    std::unique_ptr<TIfRVariant> NewValue(TPSType* type);
    TPSType* BoolResultType(bool markUsed);

    // --- type rules (type_rules.cpp) ---
    TPSType* ParamType(uint32_t n);
    TPSParametersDecl* ProcDecl(uint32_t procNo);

    // --- standard declarations (standard_decls.cpp) ---
    void DefineStandardTypes();
    void DefineStandardProcedures();

    // --- emitter (emitter.cpp) ---
    TPSInternalProcedure& CurrProc();
    void WriteByte(uint8_t b);
    void WriteLong(uint32_t v);
    void WriteData(std::string_view bytes);
    bool WriteConstant(const TIfRVariant& value);
    std::unique_ptr<TPSValueAllocatedStackVar> NewTemp(TPSType* type);
    std::unique_ptr<TPSValueAllocatedStackVar> PushTemp(TPSType* type);
    std::unique_ptr<TPSValueAllocatedStackVar> PushPointerTemp(TPSType* targetType);
    int64_t OperandVarNo(TPSValue* value);
    bool PrepareOperand(TPSValuePtr& slot, TPSType* expectedType);
    bool WriteOperand(TPSValue* value, bool allowConstant);
    void ReleaseOperand(TPSValuePtr& slot);
    bool WriteSetNil(uint32_t pos, uint32_t row, uint32_t col, TPSValue* var);
    bool BuildConstSet(TPSSetType* setType, TPSValuePtr& slot);
    void ReplaceSlot(TPSValuePtr& slot, TPSValuePtr newValue);
    // Stores target - instructionEnd into the distance field at fieldPos.
    void PatchJump(uint32_t fieldPos, uint32_t instructionEnd, uint32_t target);
    uint32_t CodePos();

    // --- expressions (expressions.cpp) ---
    TPSValuePtr ParseExpression();
    TPSValuePtr ParseRelation();
    TPSValuePtr ParseSum();
    TPSValuePtr ParseTerm();
    TPSValuePtr ParseLevel(int level);
    TPSValuePtr ParseFactor();
    TPSValuePtr ParseBracketList();
    TPSValuePtr ParseIdentifier(int mode);
    TPSValuePtr ParseBuiltIn(const std::string& upperName);
    // Where a member chain started, for reporting the properties it reads.
    struct ChainInfo {
        bool fromVar = false;
        TPSVariableType kind = ivtGlobal;
        int32_t number = 0;
        std::string path;
        bool report = true;
    };
    bool ApplyMemberChain(TPSValuePtr& slot, bool notificationStep);
    int ParseSelectors(TPSValuePtr& slot, bool implicit);
    TPSValuePtr ParseTypeReference(TPSType* type);
    bool ParseNotificationVariable(TPSValuePtr& slot);
    bool FoldConstants(TPSValuePtr& slot);
    bool FoldCast(TIfRVariant& value, TPSType* castType);
    int32_t RecordFieldIndex(std::string_view upperName, TPSRecordType* rec);
    bool IsAssignable(TPSValue* dest, TPSValue* source);
    bool WriteAssignment(TPSValuePtr& source, TPSValuePtr& dest);
    bool WriteBinaryOp(TPSBinValueOp& op, TPSValuePtr& dest);
    bool WriteUnaryOp(TPSUnValueOp& op, TPSValuePtr& dest);
    bool RefersToDestination(TPSValue* value, TPSValue* dest, bool leftmost);
    bool SameVariable(TPSValue* a, TPSValue* b);
    bool CompileIntoTemp(TPSValuePtr& value, TPSValuePtr& temp);
    TPSValuePtr MakeCall(std::string_view upperProcName, TPSType* resultType);
    void NotifyVariableUse(TPSVariableType kind, int32_t number, const std::string& propData);

    // --- calls (calls.cpp) ---
    bool ParseArguments(bool squareBrackets, std::vector<TPSParameter>& list);
    bool CheckArguments(std::vector<TPSParameter>& list, TPSParametersDecl& decl);
    // The type an argument of an AnyString parameter is passed as (and an AnyString result gets):
    // its own type, a Char as the plain string type, a WideChar as the plain UnicodeString type.
    TPSType* AnyStringArgumentType(TPSType* argumentType);
    TPSValuePtr BuildCall(uint32_t procNo, TPSValuePtr object);
    TPSValuePtr BuildProcVarCall(TPSValuePtr value);
    TPSValuePtr BuildDynamicInvoke(const std::string& orgName, TPSType* variantType, TPSValuePtr object);
    int ParseClassMember(TPSValuePtr& slot, bool implicit, ChainInfo* chain);
    int ParseExtClassMember(TPSValuePtr& slot, bool implicit);
    int ParseInterfaceMember(TPSValuePtr& slot);
    int ParseDefaultProperty(TPSValuePtr& slot, ChainInfo* chain);
    int ParseProcVarCall(TPSValuePtr& slot);
    int BuildPropertyCall(TPSValuePtr& slot, TPSNativeClassItem& prop, bool indexFirst);
    bool WriteCall(TPSValueProc& call, TPSValuePtr* dest);
    bool CompileCallStatement(TPSValuePtr& call);

    // --- statements (statements.cpp) ---
    bool CompileBlock(TPSBlockInfo& block);
    bool CompileStatement(TPSBlockInfo& block, bool& endOfBlock);
    bool CompileAssignOrCall(TPSBlockInfo& block);
    bool CompileIf(TPSBlockInfo& block);
    bool CompileWhile(TPSBlockInfo& block);
    bool CompileRepeat(TPSBlockInfo& block);
    bool CompileFor(TPSBlockInfo& block);
    bool CompileCase(TPSBlockInfo& block);
    bool CompileWith(TPSBlockInfo& block);
    bool CompileTry(TPSBlockInfo& block);
    bool CompileGoto(TPSBlockInfo& block);
    bool TryPlaceLabel(TPSBlockInfo& block, bool& placed);
    bool WriteBreakContinue(bool isBreak);
    bool CheckJumpRange(uint32_t start, uint32_t end);
    bool ResolveGotos(TPSInternalProcedure& proc);
    bool CompileCondition(TPSValuePtr& cond, TPSValuePtr& b);
    void WriteStatementPosition(TPSWriteLineKind kind);

    // --- debug stream (debug_info.cpp) ---
    void WriteDebugProcNames();
    void WriteDebugVarNames();
    void WriteDebugParamsAndLocals(uint32_t procNo, TPSInternalProcedure& proc);
    void WriteDebugPosition(uint32_t procNo, uint32_t codePos);

    // --- driver and container (pascal_compiler.cpp, container_writer.cpp) ---
    bool CompileMain(std::string_view text);
    bool ProcessUses();
    bool CallOnUses(const std::string& unitName);
    void Cleanup();
    bool WriteContainer();
    void WriteTypeRecord(TPSType* t);
    void WriteAttributes(const TPSAttributes& attributes);
    std::string ExportDecl(const TPSParametersDecl& decl);

    // --- state ---
    TPSPascalParser parser_;
    uint32_t depth_ = 0;  // units of the DepthGuard budget in use
    bool parserHadError_ = false;
    std::vector<std::unique_ptr<TPSPascalCompilerMessage>> messages_;
    std::string output_;
    std::string debugOutput_;
    std::vector<std::shared_ptr<void>> autoFreeList_;

    // Tables, alive only while a compile runs.
    bool compiling_ = false;
    std::vector<std::unique_ptr<TPSRegProc>> regProcs_;
    std::vector<std::unique_ptr<TPSConstant>> constants_;
    std::vector<std::unique_ptr<TPSProcedure>> procs_;
    std::vector<std::unique_ptr<TPSType>> types_;
    std::vector<std::unique_ptr<TPSAttributeType>> attributeTypes_;
    std::vector<std::unique_ptr<TPSVar>> vars_;
    std::vector<std::unique_ptr<TPSCompileTimeClass>> classes_;
    std::vector<std::unique_ptr<TPSInterface>> interfaces_;
    std::vector<std::unique_ptr<TPSExternalClass>> externalClasses_;
    // Indexes of the tables searched by name (name_index.h), emptied with them.
    TNameIndex typeIndex_, procIndex_, regProcIndex_, constIndex_, varIndex_;

    TPSType* anyString_ = nullptr;
    TPSType* anyMethod_ = nullptr;
    TPSType* defaultBoolType_ = nullptr;
    TPSType* pointerType_ = nullptr;
    uint32_t currUsedTypeNo_ = 0;
    std::unique_ptr<TPSBlockInfo> globalBlock_;
    TPSBlockInfo* block_ = nullptr;  // the block being compiled
    std::unique_ptr<LoopState> loop_;
    std::vector<std::string> usedUnits_;
    ChainInfo chain_;
};

}  // namespace tv::script
