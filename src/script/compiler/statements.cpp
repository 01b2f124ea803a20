// The statement and block compiler: blocks, assignments and calls, if, while, repeat, for, case,
// with, try, goto and labels, break, continue and exit, with the code shape of each.

#include "script/common/byte_io.h"
#include "script/compiler/compiler_state.h"
#include "script/compiler/expr_nodes.h"

namespace tv::script {

namespace {

bool EndsOneLiner(TPSSubOptType t) {
    return t == tOneLiner || t == tifOneliner;
}

// Restores the block being compiled when a statement operation returns.
struct BlockScope {
    BlockScope(TPSBlockInfo*& current, TPSBlockInfo* block) : current_(current), saved_(current) {
        current = block;
    }
    ~BlockScope() { current_ = saved_; }
    TPSBlockInfo*& current_;
    TPSBlockInfo* saved_;
};

}  // namespace

// The loop a statement opens: new break and continue lists and an empty nesting record, restored on
// every exit.
class TPSPascalCompiler::LoopScope {
public:
    explicit LoopScope(TPSPascalCompiler& c) : c_(c), saved_(std::move(c.loop_)) {
        c_.loop_ = std::make_unique<LoopState>();
    }
    ~LoopScope() { c_.loop_ = std::move(saved_); }
    LoopState& State() { return *c_.loop_; }

private:
    TPSPascalCompiler& c_;
    std::unique_ptr<LoopState> saved_;
};

// Something entered inside the current loop, undone by breaks and continues that leave it.
class TPSPascalCompiler::NestingScope {
public:
    NestingScope(TPSPascalCompiler& c, uint8_t kind, uint32_t pops) : c_(c) {
        if (c_.loop_) {
            c_.loop_->nesting.push_back({static_cast<LoopNesting::Kind>(kind), pops});
            active_ = true;
        }
    }
    ~NestingScope() {
        if (active_ && c_.loop_ && !c_.loop_->nesting.empty()) c_.loop_->nesting.pop_back();
    }

private:
    TPSPascalCompiler& c_;
    bool active_ = false;
};

bool TPSPascalCompiler::CompileCondition(TPSValuePtr& cond, TPSValuePtr& b) {
    return WriteAssignment(cond, b);
}

bool TPSPascalCompiler::CompileBlock(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    DepthGuard depth(*this, p);
    if (!depth.Take(DepthGuard::kNestingUnits)) return false;
    BlockScope scope(block_, &block);
    const TPSSubOptType sub = block.SubType;
    if (sub == tProcBegin || sub == tMainBegin || sub == tSubBegin) p.Next();
    for (;;) {
        bool endOfBlock = false;
        if (!CompileStatement(block, endOfBlock)) return false;
        if (endOfBlock || EndsOneLiner(sub)) break;
    }
    if (EndsOneLiner(sub)) {
        TPSPasToken t = p.CurrTokenID();
        if (t != CSTI_SemiColon && t != CSTII_else && t != CSTII_end) {
            MakeError({}, ecSemicolonExpected, {});
            return false;
        }
        return true;
    }
    if (sub == tMainBegin || sub == tProcBegin) {
        WriteStatementPosition(sub == tProcBegin ? wlEndOfProcedure : wlStatement);
        WriteByte(opReturn);
        p.Next();
        if (sub == tMainBegin && p.CurrTokenID() != CSTI_Period) {
            MakeError({}, ecPeriodExpected, {});
            return false;
        }
        if (sub == tProcBegin && p.CurrTokenID() != CSTI_SemiColon) {
            MakeError({}, ecSemicolonExpected, {});
            return false;
        }
        p.Next();
    }
    return true;
}

bool TPSPascalCompiler::CompileStatement(TPSBlockInfo& block, bool& endOfBlock) {
    TPSPascalParser& p = parser_;
    const TPSSubOptType sub = block.SubType;
    switch (p.CurrTokenID()) {
        case CSTI_EOF:
            if (!parserHadError_) MakeError({}, ecUnexpectedEndOfFile, {});
            return false;
        case CSTI_Identifier:
        case CSTI_OpenRound: {
            bool placed = false;
            if (!TryPlaceLabel(block, placed)) return false;
            if (placed) return true;
            if (p.CurrTokenID() == CSTI_Identifier && (p.GetToken() == "BREAK" || p.GetToken() == "CONTINUE"))
                return WriteBreakContinue(p.GetToken() == "BREAK");
            return CompileAssignOrCall(block);
        }
        case CSTI_SemiColon:
            if (EndsOneLiner(sub)) {
                endOfBlock = true;
                return true;
            }
            p.Next();
            return true;
        case CSTII_begin: {
            TPSBlockInfo nested(&block, tSubBegin);
            if (!CompileBlock(nested)) return false;
            p.Next();  // its END
            return true;
        }
        case CSTII_case:
            return CompileCase(block);
        case CSTII_for:
            return CompileFor(block);
        case CSTII_if:
            return CompileIf(block);
        case CSTII_repeat:
            return CompileRepeat(block);
        case CSTII_while:
            return CompileWhile(block);
        case CSTII_with:
            return CompileWith(block);
        case CSTII_Try:
            return CompileTry(block);
        case CSTII_Goto:
            return CompileGoto(block);
        case CSTII_exit:
            WriteStatementPosition(sub == tProcBegin ? wlEndOfProcedure : wlStatement);
            WriteByte(opReturn);
            p.Next();
            return true;
        case CSTII_else:
            if (sub == tifOneliner) {
                endOfBlock = true;
                return true;
            }
            MakeError({}, ecIdentifierExpected, {});
            return false;
        case CSTII_end:
            if (sub == tRepeat || sub == tTry) {
                MakeError({}, ecIdentifierExpected, {});
                return false;
            }
            endOfBlock = true;
            return true;
        case CSTII_until:
            if (sub != tRepeat) {
                MakeError({}, ecIdentifierExpected, {});
                return false;
            }
            WriteStatementPosition(wlStatement);
            endOfBlock = true;
            return true;
        case CSTII_Except:
        case CSTII_Finally:
            if (sub != tTry && sub != tTryEnd) {
                MakeError({}, ecEndExpected, {});
                return false;
            }
            endOfBlock = true;
            return true;
        default:
            MakeError({}, ecIdentifierExpected, {});
            return false;
    }
}

bool TPSPascalCompiler::CompileAssignOrCall(TPSBlockInfo&) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    TPSValuePtr v = ParseExpression();
    if (!v) return false;
    if (v->IsVar()) {
        if (!ExpectNext(p, CSTI_Assignment, ecAssignmentExpected)) return false;
        TPSValuePtr source = ParseExpression();
        if (!source) return false;
        return WriteAssignment(source, v);
    }
    if (v->IsProc()) return WriteCall(static_cast<TPSValueProc&>(*v), nullptr);
    MakeError({}, ecInternalError, "20");
    return false;
}

bool TPSPascalCompiler::CompileIf(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    TPSValuePtr cond = ParseExpression();
    if (!cond) return false;
    if (!Expect(p, CSTII_then, ecThenExpected)) return false;
    {
        TPSValuePtr b = PushTemp(defaultBoolType_);
        if (!CompileCondition(cond, b)) return false;
        WriteByte(opSetFlag);
        if (!WriteOperand(b.get(), false)) {
            MakeError({}, ecInternalError, "00018");
            return false;
        }
        WriteByte(1);
    }
    // Temporaries the condition holds (the record of a call whose field it reads) go before the
    // branches, which may leave by break, continue or goto.
    cond.reset();
    WriteByte(opJumpIfFlag);
    uint32_t jumpField = CodePos();
    WriteLong(0x12345678);
    uint32_t jumpEnd = CodePos();
    p.Next();
    TPSBlockInfo thenBlock(&block, tifOneliner);
    if (!CompileBlock(thenBlock)) return false;
    if (p.CurrTokenID() == CSTII_else) {
        WriteByte(opJump);
        uint32_t elseField = CodePos();
        WriteLong(0x12345678);
        uint32_t elseEnd = CodePos();
        PatchJump(jumpField, jumpEnd, CodePos());
        p.Next();
        TPSBlockInfo elseBlock(&block, tOneLiner);
        if (!CompileBlock(elseBlock)) return false;
        jumpField = elseField;
        jumpEnd = elseEnd;
    }
    PatchJump(jumpField, jumpEnd, CodePos());
    return true;
}

// Points the pending breaks and continues of the loop at their targets.
static void PatchLoopJumps(std::string& code, const std::vector<uint32_t>& jumps, uint32_t target) {
    for (uint32_t end : jumps) PatchU32(code, end - 4, target - end);
}

bool TPSPascalCompiler::CompileWhile(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    // The condition is read after L1: code it needs while it is read (the call whose record field
    // it reads) then runs before every turn, and its temporaries go before the body.
    TPSValuePtr b = PushTemp(defaultBoolType_);
    uint32_t l1 = CodePos();
    TPSValuePtr cond = ParseExpression();
    if (!cond) return false;
    if (!Expect(p, CSTII_do, ecDoExpected)) return false;
    LoopScope loop(*this);
    if (!CompileCondition(cond, b)) return false;
    cond.reset();
    p.Next();
    WriteByte(opJumpIfZero);
    uint32_t exitField = CodePos();
    WriteLong(0x12345678);
    if (!WriteOperand(b.get(), false)) {
        MakeError({}, ecInternalError, "00017");
        return false;
    }
    uint32_t bodyStart = CodePos();
    TPSBlockInfo body(&block, tOneLiner);
    if (!CompileBlock(body)) return false;
    WriteStatementPosition(wlStatement);
    WriteByte(opJump);
    WriteLong(l1 - (CodePos() + 4));
    uint32_t here = CodePos();
    PatchJump(exitField, bodyStart, here);
    PatchLoopJumps(CurrProc().Data, loop.State().breaks, here);
    PatchLoopJumps(CurrProc().Data, loop.State().continues, l1);
    b.reset();
    return CheckJumpRange(bodyStart, here);
}

bool TPSPascalCompiler::CompileRepeat(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    LoopScope loop(*this);
    TPSValuePtr b = PushTemp(defaultBoolType_);
    uint32_t l1 = CodePos();
    TPSBlockInfo body(&block, tRepeat);
    if (!CompileBlock(body)) return false;
    p.Next();  // UNTIL
    // A continue comes back to the start of the condition's code, code it needs while it is read
    // included; its temporaries go before the jump back.
    uint32_t l2 = CodePos();
    TPSValuePtr cond = ParseExpression();
    if (!cond) return false;
    if (!CompileCondition(cond, b)) return false;
    cond.reset();
    WriteByte(opJumpIfZero);
    uint32_t field = CodePos();
    WriteLong(0);
    if (!WriteOperand(b.get(), false)) {
        MakeError({}, ecInternalError, "00016");
        return false;
    }
    PatchJump(field, CodePos(), l1);
    uint32_t here = CodePos();
    PatchLoopJumps(CurrProc().Data, loop.State().breaks, here);
    PatchLoopJumps(CurrProc().Data, loop.State().continues, l2);
    b.reset();
    return CheckJumpRange(l1, here);
}

bool TPSPascalCompiler::CompileFor(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
    TPSValuePtr var = ParseIdentifier(1);
    if (!var) return false;
    auto countable = [](TPSType* t) {
        return t && (IsIntegerCode(t->BaseType) || t->BaseType == btVariant || t->BaseType == btEnum);
    };
    TPSType* vt = ValueType(var.get());
    if (!countable(vt)) {
        MakeError({}, ecTypeMismatch, {});
        return false;
    }
    if (!ExpectNext(p, CSTI_Assignment, ecAssignmentExpected)) return false;
    TPSValuePtr start = ParseExpression();
    if (!start) return false;
    bool downTo = p.CurrTokenID() == CSTII_downto;
    if (!downTo && p.CurrTokenID() != CSTII_to) {
        MakeError({}, ecToExpected, {});
        return false;
    }
    p.Next();
    TPSValuePtr finish = ParseExpression();
    if (!finish) return false;
    if (!countable(ValueType(finish.get()))) {
        MakeError({}, ecTypeMismatch, {});
        return false;
    }
    if (!ExpectNext(p, CSTII_do, ecDoExpected)) return false;
    if (!WriteAssignment(start, var)) return false;
    TPSValuePtr b = PushTemp(defaultBoolType_);
    uint32_t l1 = CodePos();
    if (!PrepareOperand(var, nullptr) || !PrepareOperand(finish, ValueType(var.get()))) return false;
    WriteByte(opCompare);
    WriteByte(downTo ? cmpGreaterEqual : cmpLessEqual);
    WriteOperand(b.get(), false);
    WriteOperand(var.get(), false);
    bool ok = WriteOperand(finish.get(), true);
    ReleaseOperand(finish);
    ReleaseOperand(var);
    if (!ok) {
        MakeError({}, ecTypeMismatch, {});
        return false;
    }
    WriteByte(opJumpIfZero);
    uint32_t exitField = CodePos();
    WriteLong(0x12345678);
    WriteOperand(b.get(), false);
    uint32_t l2 = CodePos();
    std::vector<uint32_t> limitExits;
    {
        LoopScope loop(*this);
        TPSBlockInfo body(&block, tOneLiner);
        if (!CompileBlock(body)) return false;
        uint32_t l3 = CodePos();
        // The loop ends when the variable reaches the limit of its type instead of wrapping around.
        if (vt->BaseType != btVariant) {
            TIfRVariant limit(vt);
            switch (vt->BaseType) {
                case btU8:
                    limit.v.tu8 = downTo ? 0 : 0xFF;
                    break;
                case btS8:
                    limit.v.ts8 = downTo ? INT8_MIN : INT8_MAX;
                    break;
                case btU16:
                    limit.v.tu16 = downTo ? 0 : 0xFFFF;
                    break;
                case btS16:
                    limit.v.ts16 = downTo ? INT16_MIN : INT16_MAX;
                    break;
                case btU32:
                    limit.v.tu32 = downTo ? 0 : 0xFFFFFFFFu;
                    break;
                case btS32:
                    limit.v.ts32 = downTo ? INT32_MIN : INT32_MAX;
                    break;
                case btS64:
                    limit.v.ts64 = downTo ? INT64_MIN : INT64_MAX;
                    break;
                default:
                    limit.v.tu32 = downTo ? 0 : static_cast<TPSEnumType*>(vt)->HighValue;
                    break;
            }
            if (!PrepareOperand(var, nullptr)) return false;
            WriteByte(opCompare);
            WriteByte(cmpEqual);
            WriteOperand(b.get(), false);
            WriteOperand(var.get(), false);
            WriteByte(okConstant);
            WriteConstant(limit);
            ReleaseOperand(var);
            WriteByte(opJumpIfNotZero);
            WriteLong(0x12345678);
            WriteOperand(b.get(), false);
            limitExits.push_back(CodePos());
        }
        if (!PrepareOperand(var, nullptr)) return false;
        WriteByte(downTo ? opDecrement : opIncrement);
        WriteOperand(var.get(), false);
        ReleaseOperand(var);
        WriteByte(opJump);
        WriteLong(l1 - (CodePos() + 4));
        uint32_t here = CodePos();
        PatchJump(exitField, l2, here);
        for (uint32_t end : limitExits) PatchJump(end - 5 - 4, end, here);
        PatchLoopJumps(CurrProc().Data, loop.State().breaks, here);
        PatchLoopJumps(CurrProc().Data, loop.State().continues, l3);
    }
    b.reset();
    return CheckJumpRange(l2, CodePos());
}

bool TPSPascalCompiler::CompileCase(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    const size_t before = CurrProc().ProcVars.size();
    TPSValuePtr sel = ParseExpression();
    if (!sel) return false;
    // Temporaries the selector holds while the arms run (the record of a call whose field it
    // reads) lie below the case's own two; a break or continue pops them too.
    const auto selectorTemps = static_cast<uint32_t>(CurrProc().ProcVars.size() - before);
    if (!ExpectNext(p, CSTII_of, ecOfExpected)) return false;
    TPSType* st = ValueType(sel.get());
    if (!st) {
        MakeError({}, ecTypeMismatch, {});
        return false;
    }
    TPSValuePtr s = PushTemp(st);
    if (!WriteAssignment(sel, s)) return false;
    TPSValuePtr b = PushTemp(defaultBoolType_);
    uint32_t l0 = CodePos();
    std::vector<std::pair<uint32_t, uint32_t>> exits;
    NestingScope nesting(*this, LoopNesting::Case, 2 + selectorTemps);
    auto selectorRef = [&]() {
        auto r = std::make_unique<TPSValueReplace>();
        r->FreeNewValue = false;
        r->NewValue = s.get();
        r->SetPos(p.CurrTokenPos(), p.Row(), p.Col());
        return r;
    };
    auto compare = [&](TPSValuePtr l, TPSValuePtr r, TPSBinOperatorType op) {
        auto node = std::make_unique<TPSBinValueOp>();
        node->SetPos(l->Pos, l->Row, l->Col);
        node->Operator = op;
        node->aType = defaultBoolType_;
        node->Val1 = std::move(l);
        node->Val2 = std::move(r);
        return node;
    };
    for (;;) {
        TPSValuePtr test;
        DepthGuard labels(*this, p);  // the labels of an arm are joined into one chain
        for (;;) {
            if (!labels.Take(1)) return false;
            TPSValuePtr label = ParseExpression();
            if (!label) return false;
            TPSValuePtr one;
            if (p.CurrTokenID() == CSTI_TwoDots) {
                p.Next();
                TPSValuePtr high = ParseExpression();
                if (!high) return false;
                one = compare(compare(selectorRef(), std::move(label), otGreaterEqual),
                              compare(selectorRef(), std::move(high), otLessEqual), otAnd);
            } else {
                one = compare(std::move(label), selectorRef(), otEqual);
            }
            test = test ? compare(std::move(test), std::move(one), otOr) : std::move(one);
            if (p.CurrTokenID() != CSTI_Comma) break;
            p.Next();
        }
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
        if (!CompileCondition(test, b)) return false;
        WriteByte(opJumpIfZero);
        uint32_t nextField = CodePos();
        WriteLong(0x12345678);
        WriteOperand(b.get(), false);
        uint32_t nextEnd = CodePos();
        TPSBlockInfo arm(&block, tifOneliner);
        if (!CompileBlock(arm)) return false;
        WriteByte(opJump);
        exits.push_back({CodePos(), CodePos() + 4});
        WriteLong(0x12345678);
        PatchJump(nextField, nextEnd, CodePos());
        if (p.CurrTokenID() == CSTI_SemiColon) p.Next();
        if (p.CurrTokenID() == CSTII_else) {
            p.Next();
            TPSBlockInfo elseBlock(&block, tOneLiner);
            if (!CompileBlock(elseBlock)) return false;
            if (p.CurrTokenID() == CSTI_SemiColon) p.Next();
            if (!Expect(p, CSTII_end, ecEndExpected)) return false;
        }
        if (p.CurrTokenID() == CSTII_end) {
            p.Next();
            break;
        }
    }
    uint32_t here = CodePos();
    for (auto [field, end] : exits) PatchJump(field, end, here);
    b.reset();
    s.reset();
    return CheckJumpRange(l0, CodePos());
}

bool TPSPascalCompiler::CompileWith(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    TPSBlockInfo body(&block, tOneLiner);
    std::vector<TPSValuePtr*> items;
    std::vector<TPSValuePtr> itemStore;
    const size_t before = CurrProc().ProcVars.size();
    for (;;) {
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
        TPSValuePtr item = ParseIdentifier(0);
        if (!item) return false;
        TPSType* t = ValueType(item.get());
        if (!t || (t->BaseType != btRecord && t->BaseType != btClass)) {
            MakeError({}, ecClassTypeExpected, {});
            return false;
        }
        TPSValuePtr pointer = PushPointerTemp(t);
        if (!PrepareOperand(item, nullptr)) return false;
        WriteByte(opSetPointer);
        WriteOperand(pointer.get(), false);
        if (!WriteOperand(item.get(), false)) {
            MakeError({}, ecVariableExpected, {});
            return false;
        }
        auto entry = std::make_unique<TPSValueReplace>();
        entry->FreeOldValue = false;  // the item stays in itemStore until it is released
        entry->OldValue = item.get();
        entry->NewValue = pointer.release();
        body.WithList.push_back(std::move(entry));
        itemStore.push_back(std::move(item));
        if (p.CurrTokenID() == CSTII_do) break;
        if (!ExpectNext(p, CSTI_Comma, ecDoExpected)) return false;
    }
    p.Next();
    bool ok;
    {
        NestingScope nesting(*this, LoopNesting::Pops,
                             static_cast<uint32_t>(CurrProc().ProcVars.size() - before));
        uint32_t start = CodePos();
        ok = CompileBlock(body) && CheckJumpRange(start, CodePos());
    }
    for (TPSValuePtr& item : itemStore) ReleaseOperand(item);
    body.Clear();
    return ok;
}

bool TPSPascalCompiler::CompileTry(TPSBlockInfo& block) {
    TPSPascalParser& p = parser_;
    WriteByte(opPushFrame);
    const uint32_t fields = CodePos();
    for (int i = 0; i < 4; ++i) WriteLong(0xFFFFFFFF);
    const uint32_t e = CodePos();
    auto setField = [&](int index) {
        PatchU32(CurrProc().Data, fields + 4 * static_cast<uint32_t>(index), CodePos() - e);
    };
    NestingScope nesting(*this, LoopNesting::Frame, 0);
    p.Next();
    auto part = [&](TPSSubOptType kind) {
        uint32_t start = CodePos();
        TPSBlockInfo b(&block, kind);
        return CompileBlock(b) && CheckJumpRange(start, CodePos());
    };
    if (!part(tTry)) return false;
    WriteByte(opPopFrame);
    WriteByte(frameEndTry);
    // A finally or except part: its field in the frame instruction, its block and its end.
    auto handler = [&](int field, FrameSubcode end) {
        setField(field);
        p.Next();
        if (!part(tTryEnd)) return false;
        WriteByte(opPopFrame);
        WriteByte(end);
        return true;
    };
    const bool finallyFirst = p.CurrTokenID() == CSTII_Finally;
    if (!handler(finallyFirst ? 0 : 1, finallyFirst ? frameEndFinally : frameEndExcept)) return false;
    // try .. finally .. except .. end, or try .. except .. finally .. end.
    if (p.CurrTokenID() == (finallyFirst ? CSTII_Except : CSTII_Finally) &&
        (!handler(finallyFirst ? 1 : 2, finallyFirst ? frameEndExcept : frameEndSecondFinally)))
        return false;
    if (!Expect(p, CSTII_end, ecEndExpected)) return false;
    p.Next();
    setField(3);
    return true;
}

bool TPSPascalCompiler::CompileGoto(TPSBlockInfo&) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    p.Next();
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
    int32_t label = FindLabel(CurrProc(), p.GetToken());
    if (label < 0) {
        MakeError({}, ecUnknownIdentifier, p.OriginalToken());
        return false;
    }
    p.Next();
    WriteByte(opJump);
    WriteLong(0x12345678);
    CurrProc().Gotos.push_back({CodePos(), static_cast<uint32_t>(label)});
    return true;
}

bool TPSPascalCompiler::TryPlaceLabel(TPSBlockInfo&, bool& placed) {
    TPSPascalParser& p = parser_;
    placed = false;
    if (p.CurrTokenID() != CSTI_Identifier) return true;
    int32_t label = FindLabel(CurrProc(), p.GetToken());
    if (label < 0) return true;
    CurrProc().Labels[static_cast<size_t>(label)].Position = static_cast<int32_t>(CodePos());
    p.Next();
    if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
    placed = true;
    return true;
}

bool TPSPascalCompiler::WriteBreakContinue(bool isBreak) {
    TPSPascalParser& p = parser_;
    WriteStatementPosition(wlStatement);
    if (!loop_) {
        MakeError({}, ecNotInLoop, {});
        return false;
    }
    // Leave what the loop body entered, innermost first: pop the temporaries of with and case
    // statements, and leave each try statement's frame (running its pending finally part) with
    // frameLeave. Pops outside every frame are left to the jump when a case holds two of them.
    uint32_t pending = 0;
    bool caseInTrailing = false;
    const auto& nesting = loop_->nesting;
    for (size_t i = nesting.size(); i-- > 0;) {
        const LoopNesting& n = nesting[i];
        if (n.kind == LoopNesting::Frame) {
            for (; pending > 0; --pending) WriteByte(opPop);
            caseInTrailing = false;
            WriteByte(opPopFrame);
            WriteByte(frameLeave);
        } else {
            pending += n.pops;
            if (n.kind == LoopNesting::Case) caseInTrailing = true;
        }
    }
    if (caseInTrailing) pending -= 2;
    for (; pending > 0; --pending) WriteByte(opPop);
    WriteByte(caseInTrailing ? opPopPopJump : opJump);
    WriteLong(0x12345678);
    (isBreak ? loop_->breaks : loop_->continues).push_back(CodePos());
    p.Next();
    return true;
}

bool TPSPascalCompiler::CheckJumpRange(uint32_t start, uint32_t end) {
    TPSInternalProcedure& proc = CurrProc();
    auto inside = [&](int32_t pos) {
        return pos >= 0 && static_cast<uint32_t>(pos) >= start && static_cast<uint32_t>(pos) <= end;
    };
    for (const TPSGoto& g : proc.Gotos) {
        bool gotoInside = g.Position >= start && g.Position <= end;
        bool labelInside = inside(proc.Labels[g.LabelIndex].Position);
        if (gotoInside != labelInside) {
            MakeError({}, ecInvalidJump, {});
            return false;
        }
    }
    return true;
}

bool TPSPascalCompiler::ResolveGotos(TPSInternalProcedure& proc) {
    for (const TPSLabel& l : proc.Labels)
        if (l.Position < 0) {
            MakeError({}, ecUnSetLabel, l.Name);
            return false;
        }
    for (size_t i = proc.Gotos.size(); i-- > 0;) {
        const TPSGoto& g = proc.Gotos[i];
        PatchU32(proc.Data, g.Position - 4,
                 static_cast<uint32_t>(proc.Labels[g.LabelIndex].Position) - g.Position);
    }
    return true;
}

}  // namespace tv::script
