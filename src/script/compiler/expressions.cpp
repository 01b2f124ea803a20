// The expression compiler: recursive descent over the token stream into typed value trees, identifier
// resolution with selectors and members, constant folding, and the code of assignments and of unary
// and binary operators.

#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

uint8_t CompareByte(TPSBinOperatorType op) {
    switch (op) {
        case otGreaterEqual:
            return cmpGreaterEqual;
        case otLessEqual:
            return cmpLessEqual;
        case otGreater:
            return cmpGreater;
        case otLess:
            return cmpLess;
        case otNotEqual:
            return cmpNotEqual;
        case otEqual:
            return cmpEqual;
        case otIn:
            return cmpIn;
        default:
            return cmpIs;
    }
}

bool IsComparison(TPSBinOperatorType op) {
    return op >= otGreaterEqual;
}

// The variable a prepared destination stands for.
TPSValue* Former(TPSValue* v) {
    while (v && v->Kind == TPSValueKind::Replace && static_cast<TPSValueReplace*>(v)->PreWriteAllocated)
        v = static_cast<TPSValueReplace*>(v)->OldValue;
    return v;
}

int VarKindClass(TPSValueKind k) {
    switch (k) {
        case TPSValueKind::GlobalVar:
            return 0;
        case TPSValueKind::ParamVar:
            return 1;
        default:
            return 2;  // locals and temporaries
    }
}

int64_t VarNumber(TPSValue* v) {
    switch (v->Kind) {
        case TPSValueKind::GlobalVar:
            return static_cast<TPSValueGlobalVar*>(v)->Address;
        case TPSValueKind::ParamVar:
            return static_cast<TPSValueParamVar*>(v)->ParamNo;
        default:
            return static_cast<TPSValueLocalVar*>(v)->LocalVarNo;
    }
}

}  // namespace

// --- helpers ---

void TPSPascalCompiler::NotifyVariableUse(TPSVariableType kind, int32_t number, const std::string& propData) {
    if (OnUseVariable)
        OnUseVariable(*this, kind, number, static_cast<int32_t>(block_->ProcNo), parser_.CurrTokenPos(),
                      propData);
}

bool TPSPascalCompiler::SameVariable(TPSValue* a, TPSValue* b) {
    a = Former(a);
    b = Former(b);
    if (!a || !b || !a->IsVar() || !b->IsVar()) return false;
    if (VarKindClass(a->Kind) != VarKindClass(b->Kind) || VarNumber(a) != VarNumber(b)) return false;
    auto& sa = static_cast<TPSValueVar*>(a)->RecItems;
    auto& sb = static_cast<TPSValueVar*>(b)->RecItems;
    if (sa.size() != sb.size()) return false;
    for (size_t i = 0; i < sa.size(); ++i) {
        if (sa[i].IsValue != sb[i].IsValue) return false;
        if (!sa[i].IsValue ? sa[i].SubNo != sb[i].SubNo
                           : !SameVariable(sa[i].SubValue.get(), sb[i].SubValue.get()))
            return false;
    }
    return true;
}

TPSValuePtr TPSPascalCompiler::MakeCall(std::string_view upperProcName, TPSType* resultType) {
    int32_t no = FindProc(upperProcName);
    if (no < 0) {
        MakeError({}, ecUnknownIdentifier, upperProcName);
        return nullptr;
    }
    auto call = std::make_unique<TPSValueProcNo>(static_cast<uint32_t>(no));
    call->SetPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    call->ResultType = resultType;
    return call;
}

static TPSParameter& AddArgument(TPSValueProc& call, TPSValuePtr value, TPSParameterMode mode,
                                 TPSType* expected) {
    TPSParameter& a = call.Parameters.emplace_back();
    a.Pos = value->Pos;
    a.Row = value->Row;
    a.Col = value->Col;
    a.Value = std::move(value);
    a.ParamMode = mode;
    a.ExpectedType = expected;
    a.DeclaredType = expected;
    return a;
}

// --- grammar ---

TPSValuePtr TPSPascalCompiler::ParseExpression() {
    TPSValuePtr v = ParseRelation();
    if (!v) return nullptr;
    if (!ApplyMemberChain(v, false)) return nullptr;
    if (!FoldConstants(v)) return nullptr;
    return v;
}

static TPSValuePtr MakeBinaryNode(TPSValuePtr left, TPSValuePtr right, TPSBinOperatorType op, uint32_t pos,
                                  uint32_t row, uint32_t col) {
    auto node = std::make_unique<TPSBinValueOp>();
    node->SetPos(pos, row, col);
    node->Operator = op;
    node->Val1 = std::move(left);
    node->Val2 = std::move(right);
    return node;
}

// The operators of each precedence level, lowest first: relation, sum, term.
static bool LevelOperator(int level, TPSPasToken t, TPSBinOperatorType& op) {
    static constexpr std::pair<TPSPasToken, TPSBinOperatorType> kRelation[] = {
        {CSTI_Equal, otEqual},     {CSTI_NotEqual, otNotEqual},
        {CSTI_Greater, otGreater}, {CSTI_GreaterEqual, otGreaterEqual},
        {CSTI_Less, otLess},       {CSTI_LessEqual, otLessEqual},
        {CSTII_in, otIn},          {CSTII_Is, otIs}};
    static constexpr std::pair<TPSPasToken, TPSBinOperatorType> kSum[] = {
        {CSTI_Plus, otAdd}, {CSTI_Minus, otSub}, {CSTII_or, otOr}, {CSTII_xor, otXor}};
    static constexpr std::pair<TPSPasToken, TPSBinOperatorType> kTerm[] = {
        {CSTI_Multiply, otMul}, {CSTI_Divide, otDiv}, {CSTII_div, otIntDiv}, {CSTII_mod, otMod},
        {CSTII_and, otAnd},     {CSTII_shl, otShl},   {CSTII_shr, otShr},    {CSTII_As, otAs}};
    auto find = [&](const auto& table) {
        for (const auto& [token, o] : table)
            if (token == t) {
                op = o;
                return true;
            }
        return false;
    };
    return level == 0 ? find(kRelation) : level == 1 ? find(kSum) : find(kTerm);
}

TPSValuePtr TPSPascalCompiler::ParseRelation() {
    return ParseLevel(0);
}
TPSValuePtr TPSPascalCompiler::ParseSum() {
    return ParseLevel(1);
}
TPSValuePtr TPSPascalCompiler::ParseTerm() {
    return ParseLevel(2);
}

// One left-associative level: operands of the next level joined by this level's operators.
TPSValuePtr TPSPascalCompiler::ParseLevel(int level) {
    TPSValuePtr left = level == 2 ? ParseFactor() : ParseLevel(level + 1);
    if (!left) return nullptr;
    DepthGuard chain(*this, parser_);  // every operator nests the tree one level deeper
    TPSBinOperatorType op;
    while (LevelOperator(level, parser_.CurrTokenID(), op)) {
        if (!chain.Take(1)) return nullptr;
        uint32_t pos = parser_.CurrTokenPos(), row = parser_.Row(), col = parser_.Col();
        parser_.Next();
        TPSValuePtr right = level == 2 ? ParseFactor() : ParseLevel(level + 1);
        if (!right) return nullptr;
        // "AS" with a type name is a cast.
        if (op == otAs && right->Kind == TPSValueKind::Data &&
            static_cast<TPSValueData*>(right.get())->Data->FType->BaseType == btType) {
            auto cast = std::make_unique<TPSUnValueOp>();
            cast->SetPos(pos, row, col);
            cast->Operator = otCast;
            cast->aType = UseType(static_cast<TPSValueData*>(right.get())->Data->v.ttype);
            cast->Val1 = std::move(left);
            left = std::move(cast);
            continue;
        }
        auto node = MakeBinaryNode(std::move(left), std::move(right), op, pos, row, col);
        auto* b = static_cast<TPSBinValueOp*>(node.get());
        b->aType = BinaryResultType(b->Val1.get(), b->Val2.get(), op);
        if (!b->aType) {
            MakeError({}, ecTypeMismatch, {});
            return nullptr;
        }
        left = std::move(node);
    }
    return left;
}

TPSValuePtr TPSPascalCompiler::ParseFactor() {
    TPSPascalParser& p = parser_;
    DepthGuard depth(*this, p);
    if (!depth.Take(DepthGuard::kNestingUnits)) return nullptr;
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();
    auto unary = [&](TPSUnOperatorType op, TPSValuePtr operand) -> TPSValuePtr {
        auto node = std::make_unique<TPSUnValueOp>();
        node->SetPos(pos, row, col);
        node->Operator = op;
        node->aType = ValueType(operand.get());
        node->Val1 = std::move(operand);
        if (!node->aType) {
            MakeError({}, ecTypeMismatch, {});
            return nullptr;
        }
        return node;
    };
    auto data = [&](std::unique_ptr<TIfRVariant> d) -> TPSValuePtr {
        if (!d) return nullptr;
        auto node = std::make_unique<TPSValueData>(std::move(d));
        node->SetPos(pos, row, col);
        return node;
    };
    switch (p.CurrTokenID()) {
        case CSTI_Identifier: {
            std::string name = p.GetToken();
            if (name == "SUCC" || name == "PRED" || name == "ASSIGNED") return ParseBuiltIn(name);
            return ParseIdentifier(0);
        }
        case CSTI_OpenRound: {
            p.Next();
            TPSValuePtr v = ParseRelation();
            if (!v) return nullptr;
            if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return nullptr;
            return v;
        }
        case CSTI_OpenBlock:
            return ParseBracketList();
        case CSTI_Plus:
            p.Next();
            return ParseTerm();
        case CSTI_Minus: {
            p.Next();
            TPSValuePtr t = ParseTerm();
            if (!t) return nullptr;
            return unary(otMinus, std::move(t));
        }
        case CSTI_Integer:
        case CSTI_HexInt: {
            TPSValuePtr v = data(ReadInteger(p.GetToken(), true));
            if (v) p.Next();
            return v;
        }
        case CSTI_Real: {
            TPSValuePtr v = data(ReadReal(p.GetToken(), true));
            if (v) p.Next();
            return v;
        }
        case CSTI_String:
        case CSTI_Char:
            return data(ReadString(p));
        case CSTI_AddressOf: {
            p.Next();
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
            int32_t no = FindProc(p.GetToken());
            if (no < 0 || !procs_[static_cast<size_t>(no)]->IsInternal()) {
                MakeError({}, ecUnknownIdentifier, p.OriginalToken());
                return nullptr;
            }
            auto v = std::make_unique<TPSValueProcPtr>(static_cast<uint32_t>(no));
            v->SetPos(pos, row, col);
            p.Next();
            return v;
        }
        case CSTII_not: {
            p.Next();
            TPSValuePtr f = ParseFactor();
            if (!f) return nullptr;
            return unary(otNot, std::move(f));
        }
        case CSTII_Chr:
        case CSTII_Ord: {
            bool isChr = p.CurrTokenID() == CSTII_Chr;
            p.Next();
            if (!ExpectNext(p, CSTI_OpenRound, ecOpenRoundExpected)) return nullptr;
            TPSValuePtr e = ParseExpression();
            if (!e) return nullptr;
            TPSType* t = ValueType(e.get());
            uint8_t c = t ? t->BaseType : 0;
            bool ok = isChr ? IsIntegerCode(c) : IsOrdinalTypeCode(c);
            if (!ok) {
                MakeError({}, ecTypeMismatch, {});
                return nullptr;
            }
            if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return nullptr;
            auto node = std::make_unique<TPSUnValueOp>();
            node->SetPos(pos, row, col);
            node->Operator = otCast;
            node->aType = BaseTypeDef(isChr ? btChar : btU32);
            node->Val1 = std::move(e);
            return node;
        }
        case CSTII_nil: {
            p.Next();
            auto v = std::make_unique<TPSValueNil>();
            v->SetPos(pos, row, col);
            return v;
        }
        default:
            MakeError({}, ecSyntaxError, {});
            return nullptr;
    }
}

TPSValuePtr TPSPascalCompiler::ParseBracketList() {
    TPSPascalParser& p = parser_;
    auto list = std::make_unique<TPSValueArray>();
    list->SetPos(p.CurrTokenPos(), p.Row(), p.Col());
    p.Next();
    if (p.CurrTokenID() == CSTI_CloseBlock) {
        p.Next();
        return list;
    }
    for (;;) {
        TPSValuePtr item = ParseRelation();
        if (!item || !FoldConstants(item)) return nullptr;
        list->Items.push_back(std::move(item));
        if (p.CurrTokenID() == CSTI_CloseBlock) {
            p.Next();
            return list;
        }
        if (!ExpectNext(p, CSTI_Comma, ecCloseBlockExpected)) return nullptr;
    }
}

TPSValuePtr TPSPascalCompiler::ParseBuiltIn(const std::string& upperName) {
    TPSPascalParser& p = parser_;
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();
    p.Next();
    if (!ExpectNext(p, CSTI_OpenRound, ecOpenRoundExpected)) return nullptr;
    TPSValuePtr result;
    if (upperName == "ASSIGNED") {
        TPSValuePtr x = p.CurrTokenID() == CSTI_Identifier ? ParseIdentifier(0) : nullptr;
        if (!x) {
            if (p.CurrTokenID() != CSTI_Identifier) MakeError({}, ecIdentifierExpected, {});
            return nullptr;
        }
        TPSType* t = ValueType(x.get());
        uint8_t c = t ? t->BaseType : 0;
        if (c != btClass && c != btInterface && c != btPChar && c != btString) {
            MakeError({}, ecTypeMismatch, {});
            return nullptr;
        }
        result = MakeCall(kAssignedProcName, BoolResultType(true));
        if (!result) return nullptr;
        AddArgument(static_cast<TPSValueProc&>(*result), std::move(x), pmIn, t);
    } else {
        TPSValuePtr x = ParseRelation();
        if (!x) return nullptr;
        TPSType* t = ValueType(x.get());
        if (!t || (!IsIntegerCode(t->BaseType) && t->BaseType != btEnum)) {
            MakeError({}, ecTypeMismatch, {});
            return nullptr;
        }
        auto one = NewValue(BaseTypeDef(btS32));
        one->v.ts32 = 1;
        auto oneNode = std::make_unique<TPSValueData>(std::move(one));
        oneNode->SetPos(pos, row, col);
        auto node = MakeBinaryNode(std::move(x), std::move(oneNode), upperName == "SUCC" ? otAdd : otSub, pos,
                                   row, col);
        static_cast<TPSBinValueOp*>(node.get())->aType = t;
        result = std::move(node);
    }
    if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return nullptr;
    result->SetPos(pos, row, col);
    return result;
}

TPSValuePtr TPSPascalCompiler::ParseIdentifier(int mode) {
    TPSPascalParser& p = parser_;
    const std::string upper = p.GetToken();
    const std::string orgName = p.OriginalToken();
    const uint32_t hash = HashName(upper);
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();

    // 1. Members of the records and objects of enclosing with statements, innermost first.
    if (mode != 1) {
        for (TPSBlockInfo* b = block_; b; b = b->Owner) {
            for (size_t i = b->WithList.size(); i-- > 0;) {
                auto* pointer = static_cast<TPSValueLocalVar*>(b->WithList[i]->NewValue);
                TPSValuePtr ref = std::make_unique<TPSValueAllocatedStackVar>(pointer->LocalVarNo, nullptr);
                ref->SetPos(pos, row, col);
                int r = ParseSelectors(ref, true);
                if (r == 0) r = ParseClassMember(ref, true, nullptr);
                if (r == 0) r = ParseExtClassMember(ref, true);
                if (r < 0) return nullptr;
                if (r > 0) {
                    if (!ApplyMemberChain(ref, false)) return nullptr;
                    return ref;
                }
            }
        }
    }
    TPSInternalProcedure& proc = *block_->Proc;
    TPSValuePtr v;
    TPSVariableType kind = ivtGlobal;
    int32_t number = 0;
    bool global = false;
    if (upper == "RESULT") {
        if (!proc.Decl.Result) {
            MakeError({}, ecUnknownIdentifier, orgName);
            return nullptr;
        }
        v = std::make_unique<TPSValueParamVar>(0);
        proc.ResultUse();
        kind = ivtParam;
    } else {
        for (size_t i = 0; i < proc.Decl.Params.size() && !v; ++i)
            if (proc.Decl.Params[i].Name == upper) {
                number = static_cast<int32_t>(i + (proc.Decl.Result ? 1 : 0));
                v = std::make_unique<TPSValueParamVar>(static_cast<uint32_t>(number));
                kind = ivtParam;
            }
        for (size_t i = 0; i < proc.ProcVars.size() && !v; ++i)
            if (proc.ProcVars[i].Name.Is(hash, upper)) {
                proc.ProcVars[i].Used = true;
                number = static_cast<int32_t>(i);
                v = std::make_unique<TPSValueLocalVar>(static_cast<uint32_t>(i));
                kind = ivtVariable;
            }
        if (!v) {
            int32_t g = FindGlobalVar(upper, hash);
            if (g >= 0) {
                vars_[static_cast<size_t>(g)]->Use();
                number = g;
                v = std::make_unique<TPSValueGlobalVar>(static_cast<uint32_t>(g));
                kind = ivtGlobal;
                global = true;
            }
        }
    }
    if (v) {
        v->SetPos(pos, row, col);
        NotifyVariableUse(kind, number, {});
        p.Next();
        chain_ = ChainInfo{true, kind, number, {}, true};
        bool ok = ApplyMemberChain(v, global);
        chain_.fromVar = false;
        return ok ? std::move(v) : nullptr;
    }
    if (TPSType* t = FindTypeUpper(upper)) {
        if (mode == 1) {
            MakeError({}, ecVariableExpected, {});
            return nullptr;
        }
        p.Next();
        v = ParseTypeReference(t);
        if (!v) return nullptr;
        v->SetPos(pos, row, col);
        return ApplyMemberChain(v, false) ? std::move(v) : nullptr;
    }
    int32_t procNo = FindProc(upper);
    if (procNo >= 0) {
        if (mode == 1) {
            MakeError({}, ecVariableExpected, {});
            return nullptr;
        }
        p.Next();
        v = BuildCall(static_cast<uint32_t>(procNo), nullptr);
        if (!v) return nullptr;
        v->SetPos(pos, row, col);
        return ApplyMemberChain(v, false) ? std::move(v) : nullptr;
    }
    if (TPSConstant* c = FindConstantUpper(upper, hash)) {
        if (mode != 0) {
            MakeError({}, ecVariableExpected, {});
            return nullptr;
        }
        p.Next();
        v = std::make_unique<TPSValueData>(std::make_unique<TIfRVariant>(*c->Value));
        v->SetPos(pos, row, col);
        return ApplyMemberChain(v, false) ? std::move(v) : nullptr;
    }
    MakeError({}, ecUnknownIdentifier, orgName);
    return nullptr;
}

bool TPSPascalCompiler::ApplyMemberChain(TPSValuePtr& slot, bool notificationStep) {
    // Properties read along a chain that starts at a variable are reported with their dotted path.
    ChainInfo chain = chain_;
    chain_.fromVar = false;
    bool changed = true;
    while (slot && changed) {
        changed = false;
        if (notificationStep && slot->Kind == TPSValueKind::GlobalVar) {
            TPSType* t = ValueType(slot.get());
            if (t && t->BaseType == btNotificationVariant &&
                static_cast<TPSValueVar*>(slot.get())->RecItems.empty()) {
                if (!ParseNotificationVariable(slot)) return false;
                changed = true;
            }
        }
        int r = ParseSelectors(slot, false);
        if (r < 0) return false;
        changed |= r > 0;
        r = ParseClassMember(slot, false, &chain);
        if (r < 0) return false;
        changed |= r > 0;
        r = ParseExtClassMember(slot, false);
        if (r < 0) return false;
        changed |= r > 0;
        r = ParseInterfaceMember(slot);
        if (r < 0) return false;
        changed |= r > 0;
        r = ParseProcVarCall(slot);
        if (r < 0) return false;
        changed |= r > 0;
        r = ParseDefaultProperty(slot, &chain);
        if (r < 0) return false;
        changed |= r > 0;
    }
    return true;
}

int TPSPascalCompiler::ParseSelectors(TPSValuePtr& slot, bool implicit) {
    TPSPascalParser& p = parser_;
    bool applied = false;
    for (;;) {
        TPSType* t = ValueType(slot.get());
        if (!t) return applied ? 1 : 0;
        const uint8_t c = t->BaseType;
        if (c == btClass || c == btInterface || c == btNotificationVariant || c == btExtClass)
            return applied ? 1 : 0;
        const bool isVar = slot->IsVar();
        if (!implicit && p.CurrTokenID() == CSTI_OpenBlock &&
            (c == btString || c == btWideString || c == btUnicodeString || c == btVariant)) {
            p.Next();
            TPSValuePtr index = ParseExpression();
            if (!index) return -1;
            TPSType* it = ValueType(index.get());
            if (!it || !IsIntegerCode(it->BaseType)) {
                MakeError({}, ecTypeMismatch, {});
                return -1;
            }
            if (!ExpectNext(p, CSTI_CloseBlock, ecCloseBlockExpected)) return -1;
            const bool variant = c == btVariant;
            const bool wide = c == btWideString || c == btUnicodeString;
            if (p.CurrTokenID() != CSTI_Assignment) {
                TPSValuePtr call = MakeCall(variant ? "VARARRAYGET"
                                            : wide  ? "WSTRGET"
                                                    : "STRGET",
                                            BaseTypeDef(variant ? btVariant
                                                        : wide  ? btWideChar
                                                                : btChar));
                if (!call) return -1;
                auto& proc = static_cast<TPSValueProc&>(*call);
                TPSParametersDecl* decl = ProcDecl(static_cast<TPSValueProcNo&>(proc).ProcNo);
                AddArgument(proc, std::move(slot), isVar ? pmInOut : pmIn, t);
                AddArgument(proc, std::move(index), pmIn,
                            decl->Params.size() > 1 ? UseType(decl->Params[1].aType) : it);
                slot = std::move(call);
                return 1;
            }
            if (!isVar) {
                MakeError({}, ecVariableExpected, {});
                return -1;
            }
            p.Next();
            TPSValuePtr value = ParseExpression();
            if (!value) return -1;
            TPSType* vt = ValueType(value.get());
            if (!variant && (!vt || (vt->BaseType != btChar && vt->BaseType != btWideChar))) {
                MakeError({}, ecTypeMismatch, {});
                return -1;
            }
            TPSValuePtr call = MakeCall(variant ? "VARARRAYSET" : wide ? "WSTRSET" : "STRSET", nullptr);
            if (!call) return -1;
            auto& proc = static_cast<TPSValueProc&>(*call);
            TPSParametersDecl* decl = ProcDecl(static_cast<TPSValueProcNo&>(proc).ProcNo);
            AddArgument(proc, std::move(value), pmIn, variant ? t : vt);
            AddArgument(proc, std::move(index), pmIn,
                        decl->Params.size() > 1 ? UseType(decl->Params[1].aType) : it);
            AddArgument(proc, std::move(slot), pmInOut, t);
            slot = std::move(call);
            return 1;
        }
        if (!implicit && p.CurrTokenID() == CSTI_OpenBlock && (c == btArray || c == btStaticArray) && isVar) {
            p.Next();
            TPSValuePtr index = ParseExpression();
            if (!index) return -1;
            TPSType* it = ValueType(index.get());
            if (!it || !IsIntegerCode(it->BaseType)) {
                MakeError({}, ecTypeMismatch, {});
                return -1;
            }
            auto* at = static_cast<TPSArrayType*>(t);
            int32_t start = c == btStaticArray ? static_cast<TPSStaticArrayType*>(t)->StartOffset : 0;
            TPSSubItem sel;
            sel.aType = at->ArrayTypeNo;
            if (index->Kind == TPSValueKind::Data) {
                int64_t value = 0;
                OrdinalValue(*static_cast<TPSValueData*>(index.get())->Data, value);
                // Counted in 64 bits without overflow, then cut to 32 as every element number is.
                sel.SubNo =
                    static_cast<uint32_t>(static_cast<uint64_t>(value) - static_cast<uint64_t>(start));
            } else {
                sel.IsValue = true;
                if (c == btStaticArray) {
                    auto offset = NewValue(BaseTypeDef(btS32));
                    offset->v.ts32 = start;
                    auto offsetNode = std::make_unique<TPSValueData>(std::move(offset));
                    offsetNode->SetPos(index->Pos, index->Row, index->Col);
                    uint32_t ip = index->Pos, ir = index->Row, ic = index->Col;
                    auto sub = MakeBinaryNode(std::move(index), std::move(offsetNode), otSub, ip, ir, ic);
                    auto* b = static_cast<TPSBinValueOp*>(sub.get());
                    b->aType = BinaryResultType(b->Val1.get(), b->Val2.get(), otSub);
                    sel.SubValue = std::move(sub);
                } else {
                    sel.SubValue = std::move(index);
                }
            }
            if (!ExpectNext(p, CSTI_CloseBlock, ecCloseBlockExpected)) return -1;
            static_cast<TPSValueVar*>(slot.get())->RecItems.push_back(std::move(sel));
            applied = true;
            implicit = false;
            continue;
        }
        if (!implicit && p.CurrTokenID() == CSTI_OpenBlock) {
            MakeError({}, ecSemicolonExpected, {});
            return -1;
        }
        if ((implicit || p.CurrTokenID() == CSTI_Period) && c == btRecord) {
            if (!implicit) {
                p.Next();
                if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return -1;
            } else if (p.CurrTokenID() != CSTI_Identifier) {
                return 0;
            }
            auto* rec = static_cast<TPSRecordType*>(t);
            int32_t field = RecordFieldIndex(p.GetToken(), rec);
            if (field < 0) {
                if (implicit) return 0;
                MakeError({}, ecUnknownIdentifier, p.OriginalToken());
                return -1;
            }
            TPSType* ft = rec->RecordSubVals[static_cast<size_t>(field)].aType;
            if (isVar) {
                TPSSubItem sel;
                sel.aType = ft;
                sel.SubNo = static_cast<uint32_t>(field);
                static_cast<TPSValueVar*>(slot.get())->RecItems.push_back(std::move(sel));
            } else if (slot->IsProc()) {
                // A field of a call result: the record goes into a temporary, the field into a second.
                TPSValuePtr recTemp = PushTemp(t);
                if (!WriteCall(static_cast<TPSValueProc&>(*slot), &recTemp)) return -1;
                TPSSubItem sel;
                sel.aType = ft;
                sel.SubNo = static_cast<uint32_t>(field);
                static_cast<TPSValueVar*>(recTemp.get())->RecItems.push_back(std::move(sel));
                TPSValuePtr fieldTemp = PushTemp(ft);
                WriteByte(opAssign);
                WriteOperand(fieldTemp.get(), false);
                WriteOperand(recTemp.get(), false);
                // The call stays with them: its arguments may hold temporaries of their own (a field
                // of another call's result), pushed before these two and so released after them.
                auto held = std::make_unique<TPSValueReplace>();
                held->FreeOldValue = true;
                held->OldValue = slot.release();
                held->NewValue = recTemp.release();
                auto rep = std::make_unique<TPSValueReplace>();
                rep->SetPos(held->OldValue->Pos, held->OldValue->Row, held->OldValue->Col);
                rep->FreeOldValue = true;
                rep->OldValue = held.release();
                rep->NewValue = fieldTemp.release();
                slot = std::move(rep);
            } else {
                MakeError({}, ecVariableExpected, {});
                return -1;
            }
            p.Next();
            applied = true;
            implicit = false;
            continue;
        }
        if (!implicit && p.CurrTokenID() == CSTI_Period && c != btVariant) {
            MakeError({}, ecSemicolonExpected, {});
            return -1;
        }
        return applied ? 1 : 0;
    }
}

int32_t TPSPascalCompiler::RecordFieldIndex(std::string_view upperName, TPSRecordType* rec) {
    uint32_t hash = HashName(upperName);
    for (size_t i = 0; i < rec->RecordSubVals.size(); ++i)
        if (rec->RecordSubVals[i].FieldName.Is(hash, upperName)) return static_cast<int32_t>(i);
    return -1;
}

TPSValuePtr TPSPascalCompiler::ParseTypeReference(TPSType* type) {
    TPSPascalParser& p = parser_;
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();
    if (type->BaseType == btExtClass && p.CurrTokenID() != CSTI_OpenRound) {
        if (!ExpectNext(p, CSTI_Period, ecPeriodExpected)) return nullptr;
        auto* ext = static_cast<TPSUndefinedClassType*>(type)->ExtClass;
        int32_t index = -1, procNo = -1;
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
        if (!ext || !ext->ClassFunc_Find(p.GetToken(), index) || !ext->ClassFunc_Call(index, procNo)) {
            MakeError({}, ecUnknownIdentifier, p.OriginalToken());
            return nullptr;
        }
        p.Next();
        return BuildCall(static_cast<uint32_t>(procNo), nullptr);
    }
    if (p.CurrTokenID() == CSTI_OpenRound) {
        p.Next();
        TPSValuePtr e = ParseExpression();
        if (!e) return nullptr;
        if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return nullptr;
        TPSType* s = ValueType(e.get());
        auto isObject = [](TPSType* x) {
            return x && (x->BaseType == btClass || x->BaseType == btInterface);
        };
        if (type->BaseType != btExtClass && isObject(type) && isObject(s) && s != type) {
            int32_t procNo = -1;
            bool ok = s->BaseType == btClass
                          ? static_cast<TPSClassType*>(s)->CL->CastToType(type, procNo)
                          : static_cast<TPSInterfaceType*>(s)->Intf->CastToType(type, procNo);
            if (!ok) {
                MakeError({}, ecTypeMismatch, {});
                return nullptr;
            }
            auto call = std::make_unique<TPSValueProcNo>(static_cast<uint32_t>(procNo));
            call->SetPos(pos, row, col);
            call->ResultType = UseType(type);
            auto typeNo = NewValue(BaseTypeDef(btU32));
            typeNo->v.tu32 = static_cast<uint32_t>(type->FinalTypeNo);
            auto typeNode = std::make_unique<TPSValueData>(std::move(typeNo));
            typeNode->SetPos(pos, row, col);
            AddArgument(*call, std::move(e), pmIn, s);
            AddArgument(*call, std::move(typeNode), pmIn, BaseTypeDef(btU32));
            return call;
        }
        if (!TypesCompatible(type, s, true)) {
            MakeError({}, ecTypeMismatch, {});
            return nullptr;
        }
        auto cast = std::make_unique<TPSUnValueOp>();
        cast->SetPos(pos, row, col);
        cast->Operator = otCast;
        cast->aType = UseType(type);
        cast->Val1 = std::move(e);
        return cast;
    }
    if (p.CurrTokenID() == CSTI_Period) {
        if (type->BaseType != btClass || !static_cast<TPSClassType*>(type)->CL) {
            MakeError({}, ecClassTypeExpected, {});
            return nullptr;
        }
        p.Next();
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
        TPSCompileTimeClass* cl = static_cast<TPSClassType*>(type)->CL;
        TPSNativeClassItem* ctor = cl->ClassFunc_Find(p.GetToken());
        if (!ctor) {
            MakeError({}, ecUnknownIdentifier, p.OriginalToken());
            return nullptr;
        }
        int32_t procNo = -1;
        cl->ClassFunc_Call(*ctor, procNo);
        p.Next();
        auto typeNo = NewValue(BaseTypeDef(btU32));
        typeNo->v.tu32 = static_cast<uint32_t>(UseType(type)->FinalTypeNo);
        auto typeNode = std::make_unique<TPSValueData>(std::move(typeNo));
        typeNode->SetPos(pos, row, col);
        TPSValuePtr call = BuildCall(static_cast<uint32_t>(procNo), std::move(typeNode));
        if (!call) return nullptr;
        static_cast<TPSValueProc&>(*call).ResultType = type;
        return call;
    }
    auto value = NewValue(BaseTypeDef(btType));
    value->v.ttype = type;
    auto node = std::make_unique<TPSValueData>(std::move(value));
    node->SetPos(pos, row, col);
    return node;
}

bool TPSPascalCompiler::ParseNotificationVariable(TPSValuePtr& slot) {
    TPSPascalParser& p = parser_;
    TPSVar& var = *vars_[static_cast<TPSValueGlobalVar*>(slot.get())->Address];
    auto name = NewValue(BaseTypeDef(btString));
    name->Str = var.Name.OrgName;
    auto nameNode = std::make_unique<TPSValueData>(std::move(name));
    nameNode->SetPos(slot->Pos, slot->Row, slot->Col);
    TPSValuePtr call;
    if (p.CurrTokenID() == CSTI_Assignment) {
        p.Next();
        TPSValuePtr value = ParseExpression();
        if (!value) return false;
        call = MakeCall(kNotificationSetProcName, nullptr);
        if (!call) return false;
        AddArgument(static_cast<TPSValueProc&>(*call), std::move(nameNode), pmIn, BaseTypeDef(btString));
        AddArgument(static_cast<TPSValueProc&>(*call), std::move(value), pmIn, BaseTypeDef(btVariant));
    } else {
        call = MakeCall(kNotificationGetProcName, BaseTypeDef(btVariant));
        if (!call) return false;
        AddArgument(static_cast<TPSValueProc&>(*call), std::move(nameNode), pmIn, BaseTypeDef(btString));
    }
    call->SetPos(slot->Pos, slot->Row, slot->Col);
    slot = std::move(call);
    return true;
}

// --- constant folding ---

bool TPSPascalCompiler::FoldCast(TIfRVariant& v, TPSType* castType) {
    const uint8_t from = v.FType->BaseType;
    const uint8_t to = castType->BaseType;
    // Integers, Char, WideChar and enumerations cast by their ordinal value: zero- or sign-extended by
    // the source's signedness, then cut to the target's width, as the run-time cast stores it.
    // Integers and Char cast to integers and Char (WideChar and enumerations not to Char); integers
    // and enumerations cast to an enumeration, cut to the width it is stored in.
    int64_t n = 0;
    if (!OrdinalValue(v, n)) return false;
    if (to == btEnum) {
        if (!IsIntegerCode(from) && from != btEnum) return false;
    } else if (!IsIntegerCode(to) && to != btChar) {
        return false;
    }
    if (to == btChar && (from == btWideChar || from == btEnum)) return false;
    TIfRVariant r(castType);
    switch (to) {
        case btEnum: {
            const uint8_t width = ContainerTypeCode(castType);
            r.v.tu32 = width == btU8    ? static_cast<uint8_t>(n)
                       : width == btU16 ? static_cast<uint16_t>(n)
                                        : static_cast<uint32_t>(n);
            break;
        }
        case btU8:
        case btS8:
        case btChar:
            r.v.tu8 = static_cast<uint8_t>(n);
            break;
        case btU16:
        case btS16:
            r.v.tu16 = static_cast<uint16_t>(n);
            break;
        case btU32:
        case btS32:
            r.v.tu32 = static_cast<uint32_t>(n);
            break;
        default:
            r.v.ts64 = n;
            break;
    }
    v = r;
    return true;
}

bool TPSPascalCompiler::FoldConstants(TPSValuePtr& slot) {
    if (!slot) return true;
    if (slot->Kind == TPSValueKind::BinOp) {
        auto* op = static_cast<TPSBinValueOp*>(slot.get());
        if (!FoldConstants(op->Val1) || !FoldConstants(op->Val2)) return false;
        if (op->Val1->Kind != TPSValueKind::Data || op->Val2->Kind != TPSValueKind::Data) return true;
        auto left = std::make_unique<TIfRVariant>(*static_cast<TPSValueData*>(op->Val1.get())->Data);
        size_t before = messages_.size();
        if (!FoldBinaryConstants(true, op->Operator, *static_cast<TPSValueData*>(op->Val2.get())->Data,
                                 *left)) {
            for (size_t i = before; i < messages_.size(); ++i)
                messages_[i]->SetCustomPos(op->Pos, op->Row, op->Col);
            return false;
        }
        auto node = std::make_unique<TPSValueData>(std::move(left));
        node->SetPos(op->Pos, op->Row, op->Col);
        slot = std::move(node);
        return true;
    }
    if (slot->Kind == TPSValueKind::UnOp) {
        auto* op = static_cast<TPSUnValueOp*>(slot.get());
        if (!FoldConstants(op->Val1)) return false;
        if (op->Val1->Kind != TPSValueKind::Data) return true;
        auto value = std::make_unique<TIfRVariant>(*static_cast<TPSValueData*>(op->Val1.get())->Data);
        bool ok = op->Operator == otCast ? FoldCast(*value, op->aType)
                                         : FoldUnaryConstant(op->Operator, *value, false);
        if (!ok) {
            MakeError({}, ecTypeMismatch, {})->SetCustomPos(op->Pos, op->Row, op->Col);
            return false;
        }
        auto node = std::make_unique<TPSValueData>(std::move(value));
        node->SetPos(op->Pos, op->Row, op->Col);
        slot = std::move(node);
    }
    return true;
}

// --- code of assignments and operators ---

bool TPSPascalCompiler::IsAssignable(TPSValue* dest, TPSValue* source) {
    TPSType* td = ValueType(dest);
    TPSType* ts = ValueType(source);
    if (td && ts) {
        if (td->BaseType == btSet && source->Kind == TPSValueKind::Array) return true;
        return TypesCompatible(td, ts, false);
    }
    TPSType* known = td ? td : ts;
    TPSValue* other = td ? source : dest;
    if (!known) return false;
    if (other->Kind == TPSValueKind::Nil) {
        uint8_t c = known->BaseType;
        return c == btInterface || c == btProcPtr || c == btClass || c == btExtClass;
    }
    if (td && source->Kind == TPSValueKind::ProcPtr)
        return ProcPtrMatches(td, static_cast<TPSValueProcPtr*>(source)->ProcNo);
    return false;
}

bool TPSPascalCompiler::RefersToDestination(TPSValue* value, TPSValue* dest, bool leftmost) {
    dest = Former(dest);
    value = Former(value);
    if (!value) return false;
    if (value->IsVar()) {
        bool hasSelectors = !static_cast<TPSValueVar*>(value)->RecItems.empty();
        if (SameVariable(value, dest)) return hasSelectors || !leftmost;
        return hasSelectors;
    }
    switch (value->Kind) {
        case TPSValueKind::UnOp:
            return RefersToDestination(static_cast<TPSUnValueOp*>(value)->Val1.get(), dest, leftmost);
        case TPSValueKind::BinOp: {
            auto* b = static_cast<TPSBinValueOp*>(value);
            return RefersToDestination(b->Val1.get(), dest, leftmost) ||
                   RefersToDestination(b->Val2.get(), dest, false);
        }
        case TPSValueKind::ProcNo:
        case TPSValueKind::ProcVal:
            for (auto& a : static_cast<TPSValueProc*>(value)->Parameters)
                if (a.Value && RefersToDestination(a.Value.get(), dest, false)) return true;
            return false;
        default:
            return false;
    }
}

bool TPSPascalCompiler::WriteAssignment(TPSValuePtr& source, TPSValuePtr& dest) {
    if (!IsAssignable(dest.get(), source.get())) {
        MakeError({}, ecTypeMismatch, {});
        return false;
    }
    if (SameVariable(source.get(), dest.get())) return true;
    if (source->IsProc()) return WriteCall(static_cast<TPSValueProc&>(*source), &dest);
    if (!PrepareOperand(dest, nullptr)) return false;
    bool ok;
    if (source->Kind == TPSValueKind::UnOp) {
        ok = WriteUnaryOp(static_cast<TPSUnValueOp&>(*source), dest);
    } else if (source->Kind == TPSValueKind::BinOp &&
               !RefersToDestination(static_cast<TPSBinValueOp&>(*source).Val2.get(), dest.get(), false)) {
        ok = WriteBinaryOp(static_cast<TPSBinValueOp&>(*source), dest);
    } else {
        ok = PrepareOperand(source, ValueType(dest.get()));
        if (ok) {
            WriteByte(opAssign);
            ok = WriteOperand(dest.get(), false) && WriteOperand(source.get(), true);
            if (!ok) MakeError({}, ecTypeMismatch, {});
            ReleaseOperand(source);
        }
    }
    ReleaseOperand(dest);
    return ok;
}

bool TPSPascalCompiler::WriteBinaryOp(TPSBinValueOp& op, TPSValuePtr& dest) {
    if (!IsComparison(op.Operator)) {
        if (Unlink(op.aType) != Unlink(ValueType(dest.get()))) {
            TPSValuePtr temp = PushTemp(op.aType);
            if (!WriteBinaryOp(op, temp)) return false;
            return WriteAssignment(temp, dest);
        }
        if (!PrepareOperand(dest, nullptr)) return false;
        bool ok = true;
        if (!SameVariable(op.Val1.get(), dest.get())) ok = WriteAssignment(op.Val1, dest);
        uint32_t jumpField = 0;
        uint32_t jumpEnd = 0;
        bool shortCircuit = ok && BooleanShortCircuit && IsBooleanType(op.aType) &&
                            (op.Operator == otAnd || op.Operator == otOr);
        if (shortCircuit) {
            WriteByte(op.Operator == otAnd ? opJumpIfZero : opJumpIfNotZero);
            jumpField = CodePos();
            WriteLong(0);
            WriteOperand(dest.get(), true);
            jumpEnd = CodePos();
        }
        if (ok) ok = PrepareOperand(op.Val2, ValueType(dest.get()));
        if (ok) {
            WriteByte(opCalculate);
            WriteByte(op.Operator == otIntDiv ? static_cast<uint8_t>(calcDivide)
                                              : static_cast<uint8_t>(op.Operator));
            ok = WriteOperand(dest.get(), false) && WriteOperand(op.Val2.get(), true);
            if (!ok) MakeError({}, ecTypeMismatch, {});
            ReleaseOperand(op.Val2);
        }
        if (ok && shortCircuit) PatchJump(jumpField, jumpEnd, CodePos());
        ReleaseOperand(dest);
        return ok;
    }
    // Comparisons: a nil on either side becomes an empty temporary of the other side's type.
    TPSValuePtr nilLeft, nilRight;
    auto emptyTemp = [&](TPSValuePtr& nilSide, TPSValue* other, TPSValuePtr& temp) {
        if (nilSide->Kind != TPSValueKind::Nil) return true;
        TPSType* t = ValueType(other);
        if (!t) {
            MakeError({}, ecTypeMismatch, {});
            return false;
        }
        temp = PushTemp(t);
        return WriteSetNil(nilSide->Pos, nilSide->Row, nilSide->Col, temp.get());
    };
    if (!emptyTemp(op.Val1, op.Val2.get(), nilLeft) || !emptyTemp(op.Val2, op.Val1.get(), nilRight))
        return false;
    // The temporaries stand in for the nil literals while the operands are written.
    TPSValuePtr savedLeft, savedRight;
    if (nilLeft) {
        savedLeft = std::move(op.Val1);
        auto alias = std::make_unique<TPSValueReplace>();
        alias->FreeNewValue = false;
        alias->NewValue = nilLeft.get();
        op.Val1 = std::move(alias);
    }
    if (nilRight) {
        savedRight = std::move(op.Val2);
        auto alias = std::make_unique<TPSValueReplace>();
        alias->FreeNewValue = false;
        alias->NewValue = nilRight.get();
        op.Val2 = std::move(alias);
    }
    bool ok = true;
    TPSType* lt = ValueType(op.Val1.get());
    if (lt && lt->BaseType == btExtClass) {
        int32_t procNo = -1;
        auto* ext = static_cast<TPSUndefinedClassType*>(lt)->ExtClass;
        if (!ext || !ext->CompareClass(ValueType(op.Val2.get()), procNo)) {
            MakeError({}, ecTypeMismatch, {});
            ok = false;
        } else {
            auto call = std::make_unique<TPSValueProcNo>(static_cast<uint32_t>(procNo));
            call->SetPos(op.Pos, op.Row, op.Col);
            call->ResultType = BoolResultType(true);
            TPSType* l = ValueType(op.Val1.get());
            TPSType* r = ValueType(op.Val2.get());
            AddArgument(*call, std::move(op.Val1), pmIn, l);
            AddArgument(*call, std::move(op.Val2), pmIn, r);
            TPSValuePtr value = std::move(call);
            if (op.Operator == otNotEqual) {
                auto notNode = std::make_unique<TPSUnValueOp>();
                notNode->Operator = otNot;
                notNode->aType = BoolResultType(true);
                notNode->Val1 = std::move(value);
                value = std::move(notNode);
            }
            ok = WriteAssignment(value, dest);
        }
    } else {
        // An integer compared with a real or Currency value is made a value of that type first, as
        // a constant comparison folds it: the run-time comparison of an integer takes no real.
        TPSType* rt = ValueType(op.Val2.get());
        TPSValuePtr widened;
        if (lt && rt && IsIntegerCode(lt->BaseType) && IsRealCode(rt->BaseType)) {
            widened = PushTemp(rt);
            ok = WriteAssignment(op.Val1, widened);
        }
        TPSValuePtr& left = widened ? widened : op.Val1;
        if (ok) ok = PrepareOperand(dest, nullptr);
        if (ok) {
            ok = PrepareOperand(left, rt);
            if (ok) {
                ok = PrepareOperand(op.Val2, lt);
                if (ok) {
                    WriteByte(opCompare);
                    WriteByte(CompareByte(op.Operator));
                    ok = WriteOperand(dest.get(), false) && WriteOperand(left.get(), true) &&
                         WriteOperand(op.Val2.get(), true);
                    if (!ok) MakeError({}, ecTypeMismatch, {});
                    ReleaseOperand(op.Val2);
                }
                ReleaseOperand(left);
            }
            ReleaseOperand(dest);
        }
        widened.reset();
    }
    if (savedRight) op.Val2 = std::move(savedRight);
    if (savedLeft) op.Val1 = std::move(savedLeft);
    nilRight.reset();
    nilLeft.reset();
    return ok;
}

bool TPSPascalCompiler::WriteUnaryOp(TPSUnValueOp& op, TPSValuePtr& dest) {
    if (!PrepareOperand(dest, nullptr)) return false;
    bool ok = true;
    switch (op.Operator) {
        case otNot:
        case otMinus:
            if (!SameVariable(op.Val1.get(), dest.get())) ok = WriteAssignment(op.Val1, dest);
            if (ok) {
                WriteByte(op.Operator == otMinus    ? opNegate
                          : IsBooleanType(op.aType) ? opBooleanNot
                                                    : opBitwiseNot);
                ok = WriteOperand(dest.get(), false);
            }
            break;
        case otCast: {
            TPSValuePtr temp;
            if (op.aType->BaseType == btChar || op.aType->BaseType == btWideChar) temp = PushTemp(op.aType);
            TPSValuePtr& target = temp ? temp : dest;
            // At run time a Char takes its value from a byte or a text, never from a wider integer:
            // Chr of any other integer is cut to a Byte first.
            TPSType* from = ValueType(op.Val1.get());
            TPSValuePtr byte;
            if (op.aType->BaseType == btChar && from && IsIntegerCode(from->BaseType) &&
                from->BaseType != btU8) {
                byte = PushTemp(BaseTypeDef(btU8));
                ok = WriteAssignment(op.Val1, byte);
            }
            TPSValuePtr& source = byte ? byte : op.Val1;
            if (ok) ok = PrepareOperand(source, ValueType(target.get()));
            if (ok) {
                WriteByte(opAssign);
                ok = WriteOperand(target.get(), false) && WriteOperand(source.get(), true);
                if (!ok) MakeError({}, ecTypeMismatch, {});
                ReleaseOperand(source);
            }
            byte.reset();
            if (ok && temp) ok = WriteAssignment(temp, dest);
            temp.reset();
            break;
        }
    }
    ReleaseOperand(dest);
    return ok;
}

}  // namespace tv::script
