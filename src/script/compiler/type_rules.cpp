// Type numbering and the compatibility rules: which types may be assigned or cast to which, when two
// types are the same for by-reference arguments, when a procedure fits a procedural type, and the
// result type of each binary operator.

#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

bool IsV(const TPSType* t) {
    return t && IsVariantLikeCode(t->BaseType);
}
bool IsN(const TPSType* t) {
    return t && IsNumericCode(t->BaseType);
}
bool IsI(const TPSType* t) {
    return t && IsIntegerCode(t->BaseType);
}
bool IsS(const TPSType* t) {
    return t && IsStringLikeCode(t->BaseType);
}
bool IsSet(const TPSType* t) {
    return t && t->BaseType == btSet;
}
bool IsSetList(const TPSType* t) {
    return t && t->Name == "TVARIANTARRAY";
}
bool IsTextCode(const TPSType* t) {
    if (!t) return false;
    uint8_t c = t->BaseType;
    return c == btString || c == btPChar || c == btChar || c == btWideString || c == btWideChar ||
           c == btUnicodeString;
}
bool IsAnsiTextCode(const TPSType* t) {
    return t && (t->BaseType == btString || t->BaseType == btPChar || t->BaseType == btChar);
}
bool SameSet(const TPSType* l, const TPSType* r) {
    return IsSet(l) && l == r;
}
bool SetWithList(const TPSType* l, const TPSType* r) {
    return (IsSet(l) && IsSetList(r)) || (IsSet(r) && IsSetList(l));
}

bool ConstantIsBool(TPSValue* v, bool value) {
    if (!v || v->Kind != TPSValueKind::Data) return false;
    const TIfRVariant& d = *static_cast<TPSValueData*>(v)->Data;
    return (d.v.tu32 != 0) == value;
}

}  // namespace

TPSType* TPSPascalCompiler::UseType(TPSType* type) {
    type = Unlink(type);
    if (!type || type->Used) return type;
    type->Use();
    switch (type->Kind) {
        case TPSTypeKind::Record:
            for (auto& f : static_cast<TPSRecordType*>(type)->RecordSubVals) f.aType = UseType(f.aType);
            break;
        case TPSTypeKind::Array:
        case TPSTypeKind::StaticArray: {
            auto* a = static_cast<TPSArrayType*>(type);
            a->ArrayTypeNo = UseType(a->ArrayTypeNo);
            break;
        }
        case TPSTypeKind::Set: {
            auto* s = static_cast<TPSSetType*>(type);
            s->SetType = UseType(s->SetType);
            break;
        }
        case TPSTypeKind::Procedural:
            UseDeclTypes(static_cast<TPSProceduralType*>(type)->ProcDef);
            break;
        default:
            break;
    }
    type->FinalTypeNo = static_cast<int32_t>(currUsedTypeNo_++);
    return type;
}

void TPSPascalCompiler::UseDeclTypes(TPSParametersDecl& decl) {
    decl.Result = UseType(decl.Result);
    for (auto& p : decl.Params) p.aType = UseType(p.aType);
}

TPSType* TPSPascalCompiler::BaseTypeDef(uint8_t code) {
    for (const auto& t : types_)
        if (t->Kind == TPSTypeKind::Plain && t->BaseType == code) return UseType(t.get());
    TPSType* t = NewType(TPSTypeKind::Plain, code);
    t->DeclarePos = -1;
    return UseType(t);
}

bool TPSPascalCompiler::IsBooleanType(const TPSType* t) const {
    if (!t) return false;
    return t == defaultBoolType_ || t->Name == "LONGBOOL" || t->Name == "WORDBOOL" || t->Name == "BYTEBOOL";
}

bool TPSPascalCompiler::TypesCompatible(TPSType* target, TPSType* source, bool forCast) {
    TPSType* t = Unlink(target);
    TPSType* s = Unlink(source);
    if (!t || !s) return false;
    const uint8_t tc = t->BaseType, sc = s->BaseType;
    if ((tc == btProcPtr && s == t) || tc == btPointer || sc == btPointer) return true;
    if (IsVariantLikeCode(tc) || IsVariantLikeCode(sc)) return true;
    if ((IsIntegerCode(tc) && IsIntegerCode(sc)) || (IsRealCode(tc) && IsNumericCode(sc))) return true;
    if ((tc == btString || tc == btPChar) && IsTextCode(s)) return true;
    if ((tc == btArray || tc == btStaticArray) && (sc == btArray || sc == btStaticArray)) {
        TPSType* te = static_cast<TPSArrayType*>(t)->ArrayTypeNo;
        TPSType* se = static_cast<TPSArrayType*>(s)->ArrayTypeNo;
        return te && se && TypesCompatible(te, se, false);
    }
    if (tc == btChar && sc == btChar) return true;
    if (tc == btSet && sc == btSet) return true;
    if ((tc == btChar || tc == btWideChar) && (sc == btChar || sc == btWideChar)) return true;
    if ((tc == btWideString || tc == btUnicodeString) && IsTextCode(s)) return true;
    if (tc == btRecord && sc == btRecord) return !VarTypesDiffer(t, s);
    if (tc == btEnum && sc == btEnum) return true;
    if (forCast && ((tc == btEnum && IsIntegerCode(sc)) || (sc == btEnum && IsIntegerCode(tc)))) return true;
    if (tc == btClass) {
        if (sc == btClass) {
            auto* tcl = static_cast<TPSClassType*>(t)->CL;
            auto* scl = static_cast<TPSClassType*>(s)->CL;
            return tcl && scl && scl->InheritsFrom(tcl);
        }
        return sc == btU32 || sc == btS32;
    }
    if ((tc == btU32 || tc == btS32) && sc == btClass) return true;
    if (tc == btInterface) {
        if (sc == btClass) return true;
        if (sc == btInterface) {
            auto* ti = static_cast<TPSInterfaceType*>(t)->Intf;
            auto* si = static_cast<TPSInterfaceType*>(s)->Intf;
            return ti && si && si->InheritsFrom(ti);
        }
        return false;
    }
    if (tc == btExtClass && sc == btExtClass) {
        auto* te = static_cast<TPSUndefinedClassType*>(t)->ExtClass;
        auto* se = static_cast<TPSUndefinedClassType*>(s)->ExtClass;
        return te && se && te->IsCompatibleWith(se);
    }
    return false;
}

bool TPSPascalCompiler::VarTypesDiffer(TPSType* declared, TPSType* actual) {
    declared = Unlink(declared);
    actual = Unlink(actual);
    return declared != actual && actual != nullptr;
}

TPSParametersDecl* TPSPascalCompiler::ProcDecl(uint32_t procNo) {
    if (procNo >= procs_.size()) return nullptr;
    TPSProcedure* p = procs_[procNo].get();
    return p->IsInternal() ? &static_cast<TPSInternalProcedure*>(p)->Decl
                           : &static_cast<TPSExternalProcedure*>(p)->RegProc->Decl;
}

bool TPSPascalCompiler::ProcPtrMatches(TPSType* procType, uint32_t procNo) {
    procType = Unlink(procType);
    if (!procType || procType->BaseType != btProcPtr) return false;
    if (procType == anyMethod_) return true;
    TPSParametersDecl* decl = ProcDecl(procNo);
    return decl && static_cast<TPSProceduralType*>(procType)->ProcDef.Same(*decl);
}

TPSType* TPSPascalCompiler::BinaryResultType(TPSValue* left, TPSValue* right, TPSBinOperatorType op) {
    TPSType* l = ValueType(left);
    TPSType* r = ValueType(right);
    if (!l || !r) {
        bool leftNil = left && left->Kind == TPSValueKind::Nil;
        bool rightNil = right && right->Kind == TPSValueKind::Nil;
        if ((!leftNil && !rightNil) || (!l && !r)) return nullptr;
        TPSType* other = l ? l : r;
        uint8_t c = other->BaseType;
        if (c == btPChar || c == btString || c == btClass || c == btInterface || c == btProcPtr)
            return BoolResultType(true);
        return nullptr;
    }
    switch (op) {
        case otAdd:
            if (IsV(l) && (IsV(r) || IsN(r) || IsTextCode(r))) return l;
            if (IsV(r) && (IsV(l) || IsN(l) || IsTextCode(l))) return r;
            if (SameSet(l, r) || (IsI(l) && IsI(r))) return l;
            if (IsN(l) && IsN(r)) return IsI(l) ? r : l;
            if (IsSet(l) && IsSetList(r)) return l;
            if (IsSet(r) && IsSetList(l)) return r;
            if (IsAnsiTextCode(l) && IsAnsiTextCode(r)) return BaseTypeDef(btString);
            if (IsTextCode(l) && IsTextCode(r)) return BaseTypeDef(btUnicodeString);
            return nullptr;
        case otSub:
        case otMul:
        case otDiv:
        case otIntDiv:
            if (IsV(l) && (IsV(r) || IsN(r))) return l;
            if ((op == otSub || op == otMul) && (SameSet(l, r) || SetWithList(l, r))) return IsSet(l) ? l : r;
            if (IsV(r) && (IsV(l) || IsN(l))) return r;
            if (IsI(l) && IsI(r)) return l;
            if (IsN(l) && IsN(r)) return IsI(l) ? r : l;
            return nullptr;
        case otMod:
        case otShl:
        case otShr:
            if (IsV(l) && (IsV(r) || IsI(r))) return l;
            if (IsV(r) && (IsV(l) || IsI(l))) return r;
            if (IsI(l) && IsI(r)) return l;
            return nullptr;
        case otAnd:
        case otOr:
        case otXor:
            if (IsV(l) && (IsV(r) || IsI(r))) return l;
            if (IsV(r) && (IsV(l) || IsI(l))) return r;
            if (IsI(l) && IsI(r)) return l;
            if (IsBooleanType(l) && (r == l || IsV(r))) {
                TPSValue* constSide = nullptr;
                TPSPascalCompilerWarningType w = ewIsNotNeeded;
                std::string param;
                if (op == otAnd) {
                    if (ConstantIsBool(left, true))
                        constSide = left, param = "\"True and\"";
                    else if (ConstantIsBool(left, false))
                        constSide = left, w = ewCalculationAlwaysEvaluatesTo, param = "False";
                    else if (ConstantIsBool(right, true))
                        constSide = right, param = "\"and True\"";
                    else if (ConstantIsBool(right, false))
                        constSide = right, w = ewCalculationAlwaysEvaluatesTo, param = "False";
                } else if (op == otOr) {
                    if (ConstantIsBool(left, false))
                        constSide = left, param = "\"False or\"";
                    else if (ConstantIsBool(left, true))
                        constSide = left, w = ewCalculationAlwaysEvaluatesTo, param = "True";
                    else if (ConstantIsBool(right, false))
                        constSide = right, param = "\"or False\"";
                    else if (ConstantIsBool(right, true))
                        constSide = right, w = ewCalculationAlwaysEvaluatesTo, param = "True";
                }
                if (constSide)
                    MakeWarning({}, w, param)->SetCustomPos(constSide->Pos, constSide->Row, constSide->Col);
                return l;
            }
            return nullptr;
        case otAs:
            if (r->BaseType == btType && right->Kind == TPSValueKind::Data)
                return UseType(static_cast<TPSValueData*>(right)->Data->v.ttype);
            return nullptr;
        case otGreaterEqual:
        case otLessEqual:
        case otGreater:
        case otLess:
            if (IsV(l) || IsV(r)) return BoolResultType(true);
            if ((op == otGreaterEqual || op == otLessEqual) && SameSet(l, r)) return BoolResultType(true);
            if ((IsI(l) && IsI(r)) || (IsN(l) && IsN(r)) || (IsS(l) && IsS(r))) return BoolResultType(true);
            return nullptr;
        case otEqual:
        case otNotEqual:
            if (IsV(l) || IsV(r)) return BoolResultType(true);
            if (SameSet(l, r) || (IsI(l) && IsI(r)) || (IsN(l) && IsN(r)) || (IsS(l) && IsS(r)) ||
                SetWithList(l, r))
                return BoolResultType(true);
            if ((l->BaseType == btClass && r->BaseType == btClass) || l == r) return BoolResultType(true);
            return nullptr;
        case otIs:
            return r->BaseType == btType ? BoolResultType(true) : nullptr;
        case otIn:
            if (IsSetList(r) || (IsSet(r) && Unlink(static_cast<TPSSetType*>(r)->SetType) == l))
                return BoolResultType(true);
            return nullptr;
    }
    return nullptr;
}

TPSType* TPSPascalCompiler::ParamType(uint32_t n) {
    TPSParametersDecl& decl = block_->Proc->Decl;
    if (decl.Result) return n == 0 ? decl.Result : decl.Params[n - 1].aType;
    return decl.Params[n].aType;
}

TPSType* TPSPascalCompiler::ValueType(TPSValue* value) {
    if (!value) return nullptr;
    switch (value->Kind) {
        case TPSValueKind::UnOp:
            return static_cast<TPSUnValueOp*>(value)->aType;
        case TPSValueKind::BinOp:
            return static_cast<TPSBinValueOp*>(value)->aType;
        case TPSValueKind::Array:
            return UseType(FindTypeUpper("TVARIANTARRAY"));
        case TPSValueKind::Data:
            return static_cast<TPSValueData*>(value)->Data->FType;
        case TPSValueKind::ProcNo:
        case TPSValueKind::ProcVal:
            return static_cast<TPSValueProc*>(value)->ResultType;
        case TPSValueKind::Replace:
            return ValueType(static_cast<TPSValueReplace*>(value)->NewValue);
        case TPSValueKind::GlobalVar:
        case TPSValueKind::LocalVar:
        case TPSValueKind::ParamVar:
        case TPSValueKind::AllocatedStackVar: {
            auto* v = static_cast<TPSValueVar*>(value);
            if (!v->RecItems.empty()) return v->RecItems.back().aType;
            if (value->Kind == TPSValueKind::GlobalVar)
                return vars_[static_cast<TPSValueGlobalVar*>(value)->Address]->aType;
            if (value->Kind == TPSValueKind::ParamVar)
                return ParamType(static_cast<TPSValueParamVar*>(value)->ParamNo);
            return block_->Proc->ProcVars[static_cast<TPSValueLocalVar*>(value)->LocalVarNo].aType;
        }
        default:
            return nullptr;
    }
}

}  // namespace tv::script
