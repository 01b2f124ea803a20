// Bytecode emission: the code buffer, operands, temporaries on the run-time stack, and the
// preparation protocol that turns any value node into one operand.

#include "script/common/byte_io.h"
#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

TPSValueAllocatedStackVar::~TPSValueAllocatedStackVar() {
    if (!Proc) return;
    if (!Proc->ProcVars.empty()) Proc->ProcVars.pop_back();
    Proc->Data.push_back(static_cast<char>(opPop));
}

TPSValueReplace::~TPSValueReplace() {
    // The new value (a temporary) goes first: it was pushed after anything the old value holds.
    if (FreeNewValue) delete NewValue;
    if (FreeOldValue) delete OldValue;
}

TPSInternalProcedure& TPSPascalCompiler::CurrProc() {
    return *block_->Proc;
}
uint32_t TPSPascalCompiler::CodePos() {
    return static_cast<uint32_t>(block_->Proc->Data.size());
}
void TPSPascalCompiler::WriteByte(uint8_t b) {
    block_->Proc->Data.push_back(static_cast<char>(b));
}
void TPSPascalCompiler::WriteLong(uint32_t v) {
    AppendU32(block_->Proc->Data, v);
}
void TPSPascalCompiler::WriteData(std::string_view bytes) {
    block_->Proc->Data.append(bytes);
}

bool TPSPascalCompiler::WriteConstant(const TIfRVariant& value) {
    UseType(value.FType);
    if (value.FType->BaseType == btType) UseType(value.v.ttype);
    AppendTypedConstant(block_->Proc->Data, value);
    return true;
}

void TPSPascalCompiler::PatchJump(uint32_t fieldPos, uint32_t instructionEnd, uint32_t target) {
    PatchU32(block_->Proc->Data, fieldPos, target - instructionEnd);
}

std::unique_ptr<TPSValueAllocatedStackVar> TPSPascalCompiler::NewTemp(TPSType* type) {
    TPSInternalProcedure& proc = CurrProc();
    TPSProcVar& v = proc.ProcVars.emplace_back();
    v.aType = type;
    v.Used = true;
    auto node =
        std::make_unique<TPSValueAllocatedStackVar>(static_cast<uint32_t>(proc.ProcVars.size() - 1), &proc);
    node->SetPos(parser_.CurrTokenPos(), parser_.Row(), parser_.Col());
    return node;
}

std::unique_ptr<TPSValueAllocatedStackVar> TPSPascalCompiler::PushTemp(TPSType* type) {
    type = UseType(type);
    auto node = NewTemp(type);
    WriteByte(opPushNew);
    WriteLong(static_cast<uint32_t>(type ? type->FinalTypeNo : 0));
    return node;
}

std::unique_ptr<TPSValueAllocatedStackVar> TPSPascalCompiler::PushPointerTemp(TPSType* targetType) {
    auto node = PushTemp(BaseTypeDef(btPointer));
    CurrProc().ProcVars[node->LocalVarNo].aType = targetType;
    return node;
}

int64_t TPSPascalCompiler::OperandVarNo(TPSValue* value) {
    switch (value->Kind) {
        case TPSValueKind::GlobalVar:
            return static_cast<TPSValueGlobalVar*>(value)->Address;
        case TPSValueKind::LocalVar:
        case TPSValueKind::AllocatedStackVar:
            return LocalVariableNumber(static_cast<TPSValueLocalVar*>(value)->LocalVarNo);
        case TPSValueKind::ParamVar:
            return ParameterVariableNumber(static_cast<TPSValueParamVar*>(value)->ParamNo);
        default:
            return -1;
    }
}

bool TPSPascalCompiler::WriteOperand(TPSValue* value, bool allowConstant) {
    if (value->Kind == TPSValueKind::Replace)
        return WriteOperand(static_cast<TPSValueReplace*>(value)->NewValue, allowConstant);
    if (!value->IsVar()) {
        if (value->Kind != TPSValueKind::Data || !allowConstant) return false;
        WriteByte(okConstant);
        return WriteConstant(*static_cast<TPSValueData*>(value)->Data);
    }
    auto* var = static_cast<TPSValueVar*>(value);
    uint32_t no = static_cast<uint32_t>(OperandVarNo(value));
    if (var->RecItems.empty()) {
        WriteByte(okVariable);
        WriteLong(no);
        return true;
    }
    const TPSSubItem& sel = var->RecItems.front();
    if (!sel.IsValue) {
        WriteByte(okElementConstant);
        WriteLong(no);
        WriteLong(sel.SubNo);
        return true;
    }
    int64_t indexNo = OperandVarNo(sel.SubValue.get());
    if (indexNo < 0) return false;
    WriteByte(okElementVariable);
    WriteLong(no);
    WriteLong(static_cast<uint32_t>(indexNo));
    return true;
}

void TPSPascalCompiler::ReplaceSlot(TPSValuePtr& slot, TPSValuePtr newValue) {
    auto rep = std::make_unique<TPSValueReplace>();
    rep->SetPos(slot->Pos, slot->Row, slot->Col);
    rep->PreWriteAllocated = true;
    rep->FreeOldValue = true;  // until the release hands it back to the slot
    rep->OldValue = slot.release();
    rep->NewValue = newValue.release();
    slot = std::move(rep);
}

void TPSPascalCompiler::ReleaseOperand(TPSValuePtr& slot) {
    if (!slot || slot->Kind != TPSValueKind::Replace) return;
    auto* rep = static_cast<TPSValueReplace*>(slot.get());
    if (!rep->PreWriteAllocated || --rep->ReplaceTimes > 0) return;
    TPSValue* old = rep->OldValue;
    rep->OldValue = nullptr;
    rep->FreeOldValue = false;
    slot.reset(old);  // destroys the replacement after the slot holds the old value again
}

bool TPSPascalCompiler::PrepareOperand(TPSValuePtr& slot, TPSType* expectedType) {
    TPSValue* value = slot.get();
    switch (value->Kind) {
        case TPSValueKind::Replace: {
            auto* rep = static_cast<TPSValueReplace*>(value);
            if (rep->PreWriteAllocated) ++rep->ReplaceTimes;
            return true;
        }
        case TPSValueKind::ProcPtr: {
            if (!expectedType) {
                MakeError({}, ecTypeMismatch, {});
                return false;
            }
            auto data = NewValue(UseType(expectedType));
            data->v.tu32 = static_cast<TPSValueProcPtr*>(value)->ProcNo;
            ReplaceSlot(slot, std::make_unique<TPSValueData>(std::move(data)));
            return true;
        }
        case TPSValueKind::Nil: {
            if (!expectedType) {
                MakeError({}, ecTypeMismatch, {});
                return false;
            }
            TPSValuePtr temp = PushTemp(expectedType);
            if (!WriteSetNil(value->Pos, value->Row, value->Col, temp.get())) return false;
            ReplaceSlot(slot, std::move(temp));
            return true;
        }
        case TPSValueKind::Array: {
            if (!expectedType) {
                MakeError({}, ecTypeMismatch, {});
                return false;
            }
            if (expectedType->BaseType == btSet)
                return BuildConstSet(static_cast<TPSSetType*>(expectedType), slot);
            TPSType* arrayType = expectedType;
            if (expectedType->BaseType == btVariant || expectedType->BaseType != btArray) {
                arrayType = FindTypeUpper("!OPENARRAYOFVARIANT");
                if (!arrayType) arrayType = AddTypeS("!OPENARRAYOFVARIANT", "array of Variant");
            }
            UseType(arrayType);
            auto* list = static_cast<TPSValueArray*>(value);
            auto a = PushTemp(arrayType);
            {
                TPSValuePtr length = PushTemp(BaseTypeDef(btS32));
                WriteByte(opAssign);
                WriteOperand(length.get(), false);
                TIfRVariant count(BaseTypeDef(btS32));
                count.v.ts32 = static_cast<int32_t>(list->Items.size());
                WriteByte(okConstant);
                WriteConstant(count);
                WriteByte(opPushReference);
                WriteOperand(a.get(), false);
                WriteByte(opCall);
                WriteLong(static_cast<uint32_t>(FindProc("SETARRAYLENGTH")));
                WriteByte(opPop);
            }
            TPSType* element = static_cast<TPSArrayType*>(arrayType)->ArrayTypeNo;
            for (size_t i = 0; i < list->Items.size(); ++i) {
                TPSSubItem sel;
                sel.aType = element;
                sel.SubNo = static_cast<uint32_t>(i);
                a->RecItems.push_back(std::move(sel));
                TPSValuePtr& item = list->Items[i];
                if (!PrepareOperand(item, ValueType(item.get()))) return false;
                WriteByte(element && element->BaseType == btPointer ? opSetPointerCopy : opAssign);
                WriteOperand(a.get(), false);
                if (!WriteOperand(item.get(), true)) {
                    ReleaseOperand(item);
                    MakeError({}, ecTypeMismatch, {});
                    return false;
                }
                ReleaseOperand(item);
                a->RecItems.clear();
            }
            ReplaceSlot(slot, std::move(a));
            return true;
        }
        case TPSValueKind::UnOp: {
            auto* op = static_cast<TPSUnValueOp*>(value);
            if (!op->aType) {
                MakeError({}, ecTypeMismatch, {});
                return false;
            }
            TPSValuePtr temp = PushTemp(op->aType);
            if (!WriteUnaryOp(*op, temp)) return false;
            ReplaceSlot(slot, std::move(temp));
            return true;
        }
        case TPSValueKind::BinOp: {
            auto* op = static_cast<TPSBinValueOp*>(value);
            if (!op->aType) {
                MakeError({}, ecTypeMismatch, {});
                return false;
            }
            TPSValuePtr temp = PushTemp(op->aType);
            if (!WriteBinaryOp(*op, temp)) return false;
            ReplaceSlot(slot, std::move(temp));
            return true;
        }
        case TPSValueKind::ProcNo:
        case TPSValueKind::ProcVal: {
            auto* call = static_cast<TPSValueProc*>(value);
            if (!call->ResultType) {
                MakeError({}, ecNoResult, {});
                return false;
            }
            TPSValuePtr temp = PushTemp(call->ResultType);
            if (!WriteCall(*call, &temp)) return false;
            ReplaceSlot(slot, std::move(temp));
            return true;
        }
        case TPSValueKind::GlobalVar:
        case TPSValueKind::LocalVar:
        case TPSValueKind::ParamVar:
        case TPSValueKind::AllocatedStackVar: {
            auto* var = static_cast<TPSValueVar*>(value);
            auto& items = var->RecItems;
            if (items.empty() || (items.size() == 1 && !items[0].IsValue) ||
                (items.size() == 1 && items[0].SubValue->IsVar() &&
                 static_cast<TPSValueVar*>(items[0].SubValue.get())->RecItems.empty()))
                return true;
            auto p = PushPointerTemp(ValueType(var));
            WriteByte(opSetPointer);
            WriteOperand(p.get(), false);
            WriteByte(okVariable);
            WriteLong(static_cast<uint32_t>(OperandVarNo(var)));
            uint32_t pNo = static_cast<uint32_t>(OperandVarNo(p.get()));
            for (TPSSubItem& sel : items) {
                if (!sel.IsValue) {
                    WriteByte(opSetPointer);
                    WriteOperand(p.get(), false);
                    WriteByte(okElementConstant);
                    WriteLong(pNo);
                    WriteLong(sel.SubNo);
                    continue;
                }
                TPSValuePtr index = PushTemp(BaseTypeDef(btU32));
                if (!WriteAssignment(sel.SubValue, index)) return false;
                WriteByte(opSetPointer);
                WriteOperand(p.get(), false);
                WriteByte(okElementVariable);
                WriteLong(pNo);
                WriteLong(static_cast<uint32_t>(OperandVarNo(index.get())));
            }
            ReplaceSlot(slot, std::move(p));
            return true;
        }
        default:
            return true;
    }
}

bool TPSPascalCompiler::WriteSetNil(uint32_t pos, uint32_t row, uint32_t col, TPSValue* var) {
    auto fail = [&] {
        MakeError({}, ecTypeMismatch, {})->SetCustomPos(pos, row, col);
        return false;
    };
    if (!var->IsVar()) return fail();
    TPSType* t = ValueType(var);
    if (!t) return fail();
    int32_t procNo = -1;
    switch (t->BaseType) {
        case btProcPtr:
            return true;
        case btString:
        case btPChar: {
            WriteByte(opAssign);
            WriteOperand(var, false);
            TIfRVariant empty(t);
            WriteByte(okConstant);
            return WriteConstant(empty);
        }
        case btClass: {
            auto* cl = static_cast<TPSClassType*>(t)->CL;
            if (!cl || !cl->SetNil(procNo)) return fail();
            break;
        }
        case btInterface: {
            auto* intf = static_cast<TPSInterfaceType*>(t)->Intf;
            if (!intf || !intf->SetNil(procNo)) return fail();
            break;
        }
        case btExtClass: {
            auto* ext = static_cast<TPSUndefinedClassType*>(t)->ExtClass;
            if (!ext || !ext->SetNil(procNo)) return fail();
            break;
        }
        default:
            return fail();
    }
    // The nil routine takes the variable by reference.
    TPSValueProcNo call(static_cast<uint32_t>(procNo));
    call.SetPos(pos, row, col);
    auto alias = std::make_unique<TPSValueReplace>();
    alias->FreeNewValue = false;
    alias->NewValue = var;
    TPSParameter& arg = call.Parameters.emplace_back();
    arg.Value = std::move(alias);
    arg.ParamMode = pmInOut;
    arg.ExpectedType = t;
    arg.DeclaredType = t;
    arg.Pos = pos;
    arg.Row = row;
    arg.Col = col;
    return WriteCall(call, nullptr);
}

bool TPSPascalCompiler::BuildConstSet(TPSSetType* setType, TPSValuePtr& slot) {
    auto* list = static_cast<TPSValueArray*>(slot.get());
    auto value = NewValue(UseType(setType));
    TPSType* element = Unlink(setType->SetType);
    const uint32_t bits = setType->GetBitSize();
    for (const TPSValuePtr& item : list->Items) {
        auto fail = [&] {
            MakeError({}, ecTypeMismatch, {})->SetCustomPos(item->Pos, item->Row, item->Col);
            return false;
        };
        TPSType* it = ValueType(item.get());
        if (!it || (Unlink(it) != element &&
                    !(IsIntegerCode(it->BaseType) && element && IsIntegerCode(element->BaseType))))
            return fail();
        if (item->Kind != TPSValueKind::Data) return fail();
        const TIfRVariant& d = *static_cast<TPSValueData*>(item.get())->Data;
        int64_t ord = 0;
        if (!OrdinalValue(d, ord)) return fail();
        // Ordinals beyond the set's own size would land outside its bytes.
        if (ord < 0 || ord > 255 || static_cast<uint64_t>(ord) >= bits) return fail();
        value->Str[static_cast<size_t>(ord / 8)] =
            static_cast<char>(value->Str[static_cast<size_t>(ord / 8)] | (1 << (ord % 8)));
    }
    auto data = std::make_unique<TPSValueData>(std::move(value));
    data->SetPos(slot->Pos, slot->Row, slot->Col);
    slot = std::move(data);
    return true;
}

}  // namespace tv::script
