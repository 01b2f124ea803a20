// Calls: argument lists and their checking, calls of script and host procedures and procedure
// pointers, members of host classes, interfaces and Variants, and the calling sequence.

#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

bool IsOpenArray(const TPSType* t) {
    return t && t->Name.rfind(kOpenArrayPrefix, 0) == 0;
}

}  // namespace

TPSType* TPSPascalCompiler::AnyStringArgumentType(TPSType* argumentType) {
    // A single character passed as AnyString travels as a string of its kind, so that a routine
    // returning a longer text (PadL('7', 3)) does not have it cut to one character.
    if (argumentType && argumentType->BaseType == btChar) return BaseTypeDef(btString);
    if (argumentType && argumentType->BaseType == btWideChar) return BaseTypeDef(btUnicodeString);
    return argumentType;
}

bool TPSPascalCompiler::ParseArguments(bool squareBrackets, std::vector<TPSParameter>& list) {
    TPSPascalParser& p = parser_;
    const TPSPasToken open = squareBrackets ? CSTI_OpenBlock : CSTI_OpenRound;
    const TPSPasToken close = squareBrackets ? CSTI_CloseBlock : CSTI_CloseRound;
    if (p.CurrTokenID() != open) return true;
    p.Next();
    if (p.CurrTokenID() == close) {
        p.Next();
        return true;
    }
    for (;;) {
        TPSValuePtr v = ParseExpression();
        if (!v) return false;
        TPSParameter& a = list.emplace_back();
        a.Value = std::move(v);
        a.Pos = p.CurrTokenPos();
        a.Row = p.Row();
        a.Col = p.Col();
        if (p.CurrTokenID() == close) {
            p.Next();
            return true;
        }
        if (!ExpectNext(p, CSTI_Comma, ecCommaExpected)) return false;
    }
}

bool TPSPascalCompiler::CheckArguments(std::vector<TPSParameter>& list, TPSParametersDecl& decl) {
    UseDeclTypes(decl);
    size_t li = 0;
    for (const TPSParameterDecl& prm : decl.Params) {
        while (li < list.size() && !list[li].Value) ++li;
        if (li >= list.size()) {
            MakeError({}, ecInvalidnumberOfParameters, {});
            return false;
        }
        TPSParameter& a = list[li++];
        a.ExpectedType = prm.aType;
        a.DeclaredType = prm.aType;
        a.ParamMode = prm.Mode;
        if (prm.Mode == pmIn) continue;
        auto fail = [&](TPSPascalCompilerErrorType code) {
            MakeError({}, code, {})->SetCustomPos(a.Pos, a.Row, a.Col);
            return false;
        };
        if (!a.Value->IsVar()) return fail(ecVariableExpected);
        TPSType* actual = ValueType(a.Value.get());
        TPSType* declared = prm.aType;
        const bool elementless = declared && declared->BaseType == btArray &&
                                 !static_cast<TPSArrayType*>(declared)->ArrayTypeNo && actual &&
                                 actual->BaseType == btArray;
        if (!declared || elementless || declared == anyString_) {
            a.ExpectedType = actual;
            if (declared) {
                if (!actual) return fail(ecTypeMismatch);
                if (declared == anyString_) {
                    if (!IsStringLikeCode(actual->BaseType)) return fail(ecTypeMismatch);
                    a.ExpectedType = AnyStringArgumentType(actual);
                }
            }
            continue;
        }
        if (declared->BaseType == btArray && actual && actual->BaseType == btArray) {
            if (Unlink(static_cast<TPSArrayType*>(declared)->ArrayTypeNo) !=
                Unlink(static_cast<TPSArrayType*>(actual)->ArrayTypeNo))
                return fail(ecTypeMismatch);
        } else if (VarTypesDiffer(declared, actual)) {
            return fail(ecTypeMismatch);
        }
    }
    for (; li < list.size(); ++li)
        if (list[li].Value) {
            MakeError({}, ecInvalidnumberOfParameters, {});
            return false;
        }
    return true;
}

TPSValuePtr TPSPascalCompiler::BuildCall(uint32_t procNo, TPSValuePtr object) {
    TPSParametersDecl* decl = ProcDecl(procNo);
    if (!decl) {
        MakeError({}, ecInternalError, "00020");
        return nullptr;
    }
    UseDeclTypes(*decl);
    auto call = std::make_unique<TPSValueProcNo>(procNo);
    call->SetPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    call->ResultType = decl->Result;
    if (object) call->Parameters.emplace_back();
    if (!ParseArguments(false, call->Parameters) || !CheckArguments(call->Parameters, *decl)) return nullptr;
    if (object) {
        TPSParameter& first = call->Parameters.front();
        first.ExpectedType = UseType(ValueType(object.get()));
        first.DeclaredType = first.ExpectedType;
        first.ParamMode = pmIn;
        first.Pos = object->Pos;
        first.Row = object->Row;
        first.Col = object->Col;
        first.Value = std::move(object);
    }
    return call;
}

TPSValuePtr TPSPascalCompiler::BuildProcVarCall(TPSValuePtr value) {
    auto* type = static_cast<TPSProceduralType*>(ValueType(value.get()));
    UseDeclTypes(type->ProcDef);
    auto call = std::make_unique<TPSValueProcVal>();
    call->SetPos(value->Pos, value->Row, value->Col);
    call->ResultType = type->ProcDef.Result;
    call->ProcNo = std::move(value);
    if (!ParseArguments(false, call->Parameters) || !CheckArguments(call->Parameters, type->ProcDef))
        return nullptr;
    return call;
}

int TPSPascalCompiler::ParseProcVarCall(TPSValuePtr& slot) {
    TPSPascalParser& p = parser_;
    if (p.CurrTokenID() != CSTI_OpenRound && p.CurrTokenID() != CSTI_Dereference) return 0;
    TPSType* t = ValueType(slot.get());
    if (!t || t->BaseType != btProcPtr) {
        MakeError({}, ecTypeMismatch, {});
        return -1;
    }
    if (p.CurrTokenID() == CSTI_Dereference) p.Next();
    slot = BuildProcVarCall(std::move(slot));
    return slot ? 1 : -1;
}

int TPSPascalCompiler::BuildPropertyCall(TPSValuePtr& slot, TPSNativeClassItem& prop, bool) {
    TPSPascalParser& p = parser_;
    TPSCompileTimeClass* cl = prop.Owner;
    TPSParametersDecl decl;
    cl->Property_GetHeader(prop, decl);
    auto call = std::make_unique<TPSValueProcNo>(0);
    call->SetPos(slot->Pos, slot->Row, slot->Col);
    call->Parameters.emplace_back();
    if (!decl.Params.empty() &&
        (!ParseArguments(true, call->Parameters) || !CheckArguments(call->Parameters, decl)))
        return -1;
    TPSParameter& first = call->Parameters.front();
    first.ExpectedType = UseType(ValueType(slot.get()));
    first.DeclaredType = first.ExpectedType;
    first.Pos = slot->Pos;
    first.Row = slot->Row;
    first.Col = slot->Col;
    first.Value = std::move(slot);
    int32_t procNo = -1;
    if (p.CurrTokenID() == CSTI_Assignment) {
        p.Next();
        TPSValuePtr value = ParseExpression();
        if (!value) return -1;
        if (!cl->Property_Set(prop, procNo)) {
            MakeError({}, ecReadOnlyProperty, {});
            return -1;
        }
        TPSParameter& a = call->Parameters.emplace_back();
        a.Pos = value->Pos;
        a.Row = value->Row;
        a.Col = value->Col;
        a.Value = std::move(value);
        a.ExpectedType = decl.Result;
        a.DeclaredType = decl.Result;
        call->ResultType = nullptr;
    } else {
        if (!cl->Property_Get(prop, procNo)) {
            MakeError({}, ecWriteOnlyProperty, {});
            return -1;
        }
        call->ResultType = decl.Result;
    }
    call->ProcNo = static_cast<uint32_t>(procNo);
    slot = std::move(call);
    return 1;
}

int TPSPascalCompiler::ParseClassMember(TPSValuePtr& slot, bool implicit, ChainInfo* chain) {
    TPSPascalParser& p = parser_;
    bool applied = false;
    for (;;) {
        TPSType* t = ValueType(slot.get());
        if (!t || t->BaseType != btClass || !static_cast<TPSClassType*>(t)->CL) return applied ? 1 : 0;
        TPSCompileTimeClass* cl = static_cast<TPSClassType*>(t)->CL;
        if (!implicit) {
            if (p.CurrTokenID() != CSTI_Period) return applied ? 1 : 0;
            p.Next();
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return -1;
        } else if (p.CurrTokenID() != CSTI_Identifier) {
            return 0;
        }
        const std::string name = p.GetToken();
        const std::string orgName = p.OriginalToken();
        if (TPSNativeClassItem* method = cl->Func_Find(name)) {
            p.Next();
            int32_t procNo = -1;
            cl->Func_Call(*method, procNo);
            slot = BuildCall(static_cast<uint32_t>(procNo), std::move(slot));
            if (!slot) return -1;
            if (chain) chain->report = false;
        } else if (TPSNativeClassItem* prop = cl->Property_Find(name)) {
            p.Next();
            if (chain && chain->fromVar && chain->report) {
                chain->path += chain->path.empty() ? orgName : "." + orgName;
                NotifyVariableUse(chain->kind, chain->number, chain->path);
            }
            if (BuildPropertyCall(slot, *prop, false) < 0) return -1;
        } else {
            if (implicit) return 0;
            MakeError({}, ecUnknownIdentifier, orgName);
            return -1;
        }
        applied = true;
        implicit = false;
    }
}

int TPSPascalCompiler::ParseDefaultProperty(TPSValuePtr& slot, ChainInfo* chain) {
    TPSType* t = ValueType(slot.get());
    if (parser_.CurrTokenID() != CSTI_OpenBlock || !t || t->BaseType != btClass ||
        !static_cast<TPSClassType*>(t)->CL)
        return 0;
    TPSNativeClassItem* prop = static_cast<TPSClassType*>(t)->CL->Property_Find({});
    if (!prop) {
        MakeError({}, ecPeriodExpected, {});
        return -1;
    }
    if (chain && chain->fromVar && chain->report) NotifyVariableUse(chain->kind, chain->number, "[Default]");
    return BuildPropertyCall(slot, *prop, true);
}

int TPSPascalCompiler::ParseExtClassMember(TPSValuePtr& slot, bool implicit) {
    TPSPascalParser& p = parser_;
    bool applied = false;
    for (;;) {
        TPSType* t = ValueType(slot.get());
        if (!t || t->BaseType != btExtClass) return applied ? 1 : 0;
        if (!implicit) {
            if (p.CurrTokenID() != CSTI_Period) return applied ? 1 : 0;
            p.Next();
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return -1;
        } else if (p.CurrTokenID() != CSTI_Identifier) {
            return 0;
        }
        auto* ext = static_cast<TPSUndefinedClassType*>(t)->ExtClass;
        int32_t index = -1, procNo = -1;
        if (!ext || !ext->Func_Find(p.GetToken(), index) || !ext->Func_Call(index, procNo)) {
            if (implicit) return 0;
            MakeError({}, ecUnknownIdentifier, p.OriginalToken());
            return -1;
        }
        p.Next();
        slot = BuildCall(static_cast<uint32_t>(procNo), std::move(slot));
        if (!slot) return -1;
        applied = true;
        implicit = false;
    }
}

TPSValuePtr TPSPascalCompiler::BuildDynamicInvoke(const std::string& orgName, TPSType* variantType,
                                                  TPSValuePtr object) {
    TPSPascalParser& p = parser_;
    (void)variantType;
    const uint32_t pos = object->Pos, row = object->Row, col = object->Col;
    std::vector<TPSParameter> args;
    if (!ParseArguments(p.CurrTokenID() == CSTI_OpenBlock, args)) return nullptr;
    bool propertySet = false;
    if (p.CurrTokenID() == CSTI_Assignment) {
        p.Next();
        TPSValuePtr value = ParseExpression();
        if (!value) return nullptr;
        args.emplace_back().Value = std::move(value);
        propertySet = true;
    }
    int32_t procNo = FindProc("IDISPATCHINVOKE");
    if (procNo < 0) {
        MakeError({}, ecUnknownIdentifier, "IdispatchInvoke");
        return nullptr;
    }
    TPSType* paramType = FindTypeUpper("!OPENARRAYOFVARIANT");
    if (!paramType) paramType = AddTypeS("!OPENARRAYOFVARIANT", "array of Variant");
    auto call = std::make_unique<TPSValueProcNo>(static_cast<uint32_t>(procNo));
    call->SetPos(pos, row, col);
    call->ResultType = UseType(FindTypeUpper("VARIANT"));
    auto add = [&](TPSValuePtr v, TPSType* expected) {
        TPSParameter& a = call->Parameters.emplace_back();
        a.Pos = pos;
        a.Row = row;
        a.Col = col;
        a.Value = std::move(v);
        a.ExpectedType = expected;
        a.DeclaredType = expected;
    };
    auto flag = NewValue(BoolResultType(true));
    flag->v.tu32 = propertySet ? 1 : 0;
    auto name = NewValue(BaseTypeDef(btString));
    name->Str = orgName;
    auto list = std::make_unique<TPSValueArray>();
    list->SetPos(pos, row, col);
    for (auto& a : args) list->Items.push_back(std::move(a.Value));
    add(std::move(object), UseType(FindTypeUpper("IDISPATCH")));
    add(std::make_unique<TPSValueData>(std::move(flag)), BoolResultType(true));
    add(std::make_unique<TPSValueData>(std::move(name)), BaseTypeDef(btString));
    add(std::move(list), UseType(paramType));
    for (size_t i = 1; i < 3; ++i) call->Parameters[i].Value->SetPos(pos, row, col);
    return call;
}

int TPSPascalCompiler::ParseInterfaceMember(TPSValuePtr& slot) {
    TPSPascalParser& p = parser_;
    bool applied = false;
    for (;;) {
        TPSType* t = ValueType(slot.get());
        if (!t || (t->BaseType != btInterface && t->BaseType != btVariant)) return applied ? 1 : 0;
        if (p.CurrTokenID() != CSTI_Period) return applied ? 1 : 0;
        p.Next();
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return -1;
        if (t->BaseType == btVariant) {
            std::string orgName = p.OriginalToken();
            p.Next();
            slot = BuildDynamicInvoke(orgName, t, std::move(slot));
        } else {
            TPSInterface* intf = static_cast<TPSInterfaceType*>(t)->Intf;
            TPSInterfaceMethod* method = intf ? intf->Func_Find(p.GetToken()) : nullptr;
            if (!method) {
                MakeError({}, ecUnknownIdentifier, p.OriginalToken());
                return -1;
            }
            p.Next();
            int32_t procNo = -1;
            intf->Func_Call(*method, procNo);
            slot = BuildCall(static_cast<uint32_t>(procNo), std::move(slot));
        }
        if (!slot) return -1;
        applied = true;
    }
}

bool TPSPascalCompiler::WriteCall(TPSValueProc& call, TPSValuePtr* dest) {
    TPSType* r = call.ResultType;
    if (r && r == anyString_) {
        r = nullptr;
        for (size_t i = call.Parameters.size(); i-- > 0;) {
            const TPSParameter& a = call.Parameters[i];
            if (a.Value && a.ParamMode != pmOut && a.DeclaredType == anyString_) {
                r = AnyStringArgumentType(ValueType(a.Value.get()));
                break;
            }
        }
    }
    if (dest && !r) {
        MakeError({}, ecNoResult, {});
        return false;
    }
    TPSValuePtr temp;
    TPSValuePtr* location = nullptr;
    if (r) {
        if (dest && Unlink(ValueType(dest->get())) == Unlink(r)) {
            location = dest;
        } else {
            temp = PushTemp(r);
            location = &temp;
        }
        if (!PrepareOperand(*location, nullptr)) return false;
    }
    TPSValueProcVal* byValue =
        call.Kind == TPSValueKind::ProcVal ? static_cast<TPSValueProcVal*>(&call) : nullptr;
    if (byValue && !PrepareOperand(byValue->ProcNo, nullptr)) return false;

    // Open-array copies of by-reference arguments lie below every argument slot, so they stay alive
    // while the callee runs and the callee's parameter numbers do not change.
    const size_t n = call.Parameters.size();
    std::vector<TPSValuePtr> converted(n);
    for (size_t i = n; i-- > 0;) {
        TPSParameter& a = call.Parameters[i];
        if (a.ParamMode == pmIn || !IsOpenArray(a.ExpectedType)) continue;
        TPSType* at = ValueType(a.Value.get());
        if (VarTypesDiffer(at, a.ExpectedType)) {
            MakeError({}, ecTypeMismatch, {})->SetCustomPos(a.Pos, a.Row, a.Col);
            return false;
        }
        converted[i] = PushTemp(a.ExpectedType);
        if (!PrepareOperand(a.Value, a.ExpectedType)) return false;
        WriteByte(opAssign);
        WriteOperand(converted[i].get(), false);
        bool ok = WriteOperand(a.Value.get(), true);
        ReleaseOperand(a.Value);
        if (!ok) {
            MakeError({}, ecTypeMismatch, {})->SetCustomPos(a.Pos, a.Row, a.Col);
            return false;
        }
    }
    for (size_t i = n; i-- > 0;) {
        TPSParameter& a = call.Parameters[i];
        if (a.ParamMode != pmIn) {
            if (converted[i]) {
                a.TempVar = PushPointerTemp(a.ExpectedType);
                WriteByte(opSetPointer);
                WriteOperand(a.TempVar.get(), false);
                WriteOperand(converted[i].get(), false);
                continue;
            }
            TPSType* at = ValueType(a.Value.get());
            if (VarTypesDiffer(at, a.ExpectedType)) {
                MakeError({}, ecTypeMismatch, {})->SetCustomPos(a.Pos, a.Row, a.Col);
                return false;
            }
            a.TempVar = PushPointerTemp(at);
            if (!PrepareOperand(a.Value, nullptr)) return false;
            WriteByte(opSetPointer);
            WriteOperand(a.TempVar.get(), false);
            bool ok = WriteOperand(a.Value.get(), false);
            ReleaseOperand(a.Value);
            if (!ok) {
                MakeError({}, ecVariableExpected, {})->SetCustomPos(a.Pos, a.Row, a.Col);
                return false;
            }
        } else {
            TPSType* expected = a.ExpectedType;
            if (!expected) expected = ValueType(a.Value.get());
            if (expected == anyString_) expected = AnyStringArgumentType(ValueType(a.Value.get()));
            if (!expected) {
                MakeError({}, ecTypeMismatch, {})->SetCustomPos(a.Pos, a.Row, a.Col);
                return false;
            }
            if (expected->BaseType == btPChar) expected = BaseTypeDef(btString);
            a.TempVar = PushTemp(expected);
            if (!WriteAssignment(a.Value, a.TempVar)) return false;
        }
    }
    if (location) {
        WriteByte(opPushReference);
        if (!WriteOperand(location->get(), false)) {
            MakeError({}, ecInternalError, "00015");
            return false;
        }
    }
    if (byValue) {
        WriteByte(opCallValue);
        if (!WriteOperand(byValue->ProcNo.get(), true)) {
            MakeError({}, ecTypeMismatch, {});
            return false;
        }
    } else {
        WriteByte(opCall);
        WriteLong(static_cast<TPSValueProcNo&>(call).ProcNo);
    }
    if (location) WriteByte(opPop);
    for (TPSParameter& a : call.Parameters) a.TempVar.reset();
    for (TPSValuePtr& c : converted) c.reset();
    if (byValue) ReleaseOperand(byValue->ProcNo);
    if (location) ReleaseOperand(*location);
    if (temp) {
        bool ok = !dest || WriteAssignment(temp, *dest);
        temp.reset();
        return ok;
    }
    return true;
}

}  // namespace tv::script
