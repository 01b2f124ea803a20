// Declarations: the type syntax (also for host declaration texts), attributes, the constant, type,
// variable and label sections, and procedure declarations with forward and external forms.

#include <cstring>

#include "script/common/number_text.h"
#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

constexpr std::string_view kInvalidMethod = "Invalid method";
constexpr std::string_view kInvalidGuid = "'%s' is not a valid GUID value";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to the 16 bytes of a GUID (first field little-endian 32
// bits, then two little-endian 16-bit fields, then 8 bytes in order).
bool ParseGuid(std::string_view s, TPSGuid& guid) {
    if (s.size() != 38 || s[0] != '{' || s[37] != '}' || s[9] != '-' || s[14] != '-' || s[19] != '-' ||
        s[24] != '-')
        return false;
    auto hexAt = [&](size_t pos, size_t digits, uint64_t& out) {
        out = 0;
        for (size_t i = 0; i < digits; ++i) {
            int d = HexValue(s[pos + i]);
            if (d < 0) return false;
            out = out << 4 | static_cast<uint64_t>(d);
        }
        return true;
    };
    uint64_t d1 = 0, d2 = 0, d3 = 0, b = 0;
    if (!hexAt(1, 8, d1) || !hexAt(10, 4, d2) || !hexAt(15, 4, d3)) return false;
    for (int i = 0; i < 4; ++i) guid[static_cast<size_t>(i)] = static_cast<uint8_t>(d1 >> (8 * i));
    for (int i = 0; i < 2; ++i) guid[static_cast<size_t>(4 + i)] = static_cast<uint8_t>(d2 >> (8 * i));
    for (int i = 0; i < 2; ++i) guid[static_cast<size_t>(6 + i)] = static_cast<uint8_t>(d3 >> (8 * i));
    const size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (size_t i = 0; i < 8; ++i) {
        if (!hexAt(bytePos[i], 2, b)) return false;
        guid[8 + i] = static_cast<uint8_t>(b);
    }
    return true;
}

}  // namespace

void TPSPascalCompiler::ParserError(TPSPascalParser& p, TPSPascalCompilerErrorType code,
                                    std::string_view param) {
    if (IsOwnParser(p)) MakeError({}, code, param);
}

bool TPSPascalCompiler::DepthGuard::Take(uint32_t units) {
    // Declaration texts of the host (and the types the compiler declares itself while it compiles)
    // are not script text: only the script's own parser is bounded.
    if (!c_.IsOwnParser(p_)) return true;
    if (c_.depth_ + units > kBudget) {
        c_.ParserError(p_, ecCustomError, kNestingTooDeep);
        return false;
    }
    c_.depth_ += units;
    taken_ += units;
    return true;
}

bool TPSPascalCompiler::Expect(TPSPascalParser& p, TPSPasToken token, TPSPascalCompilerErrorType error) {
    if (p.CurrTokenID() == token) return true;
    ParserError(p, error);
    return false;
}

bool TPSPascalCompiler::ExpectNext(TPSPascalParser& p, TPSPasToken token, TPSPascalCompilerErrorType error) {
    if (!Expect(p, token, error)) return false;
    p.Next();
    return true;
}

TPSType* TPSPascalCompiler::ParseType(TPSPascalParser& p, std::string_view orgName, bool) {
    DepthGuard depth(*this, p);
    if (!depth.Take(DepthGuard::kNestingUnits)) return nullptr;
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();
    auto finish = [&](TPSType* t) {
        if (!orgName.empty()) t->SetName(orgName);
        t->DeclarePos = static_cast<int32_t>(pos);
        t->DeclareRow = row;
        t->DeclareCol = col;
        return t;
    };
    switch (p.CurrTokenID()) {
        case CSTII_procedure:
        case CSTII_function: {
            auto* t = static_cast<TPSProceduralType*>(NewType(TPSTypeKind::Procedural, btProcPtr));
            if (!ParseProceduralType(p, *t)) return nullptr;
            return finish(t);
        }
        case CSTII_set: {
            p.Next();
            if (!ExpectNext(p, CSTII_of, ecOfExpected)) return nullptr;
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
            TPSType* element = FindTypeUpper(p.GetToken());
            if (!element) {
                ParserError(p, ecUnknownIdentifier);
                return nullptr;
            }
            // A set holds at most 256 members: the loader refuses a larger one.
            if ((element->BaseType != btEnum && element->BaseType != btChar && element->BaseType != btU8) ||
                (element->BaseType == btEnum && static_cast<TPSEnumType*>(element)->HighValue > 255)) {
                ParserError(p, ecTypeMismatch);
                return nullptr;
            }
            p.Next();
            auto* t = static_cast<TPSSetType*>(NewType(TPSTypeKind::Set, btSet));
            t->SetType = element;
            return finish(t);
        }
        case CSTI_OpenRound: {
            auto* t = static_cast<TPSEnumType*>(NewType(TPSTypeKind::Enum, btEnum));
            finish(t);
            uint32_t count = 0;
            p.Next();
            for (;;) {
                if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
                if (FindTypeUpper(p.GetToken())) {
                    ParserError(p, ecDuplicateIdentifier, p.OriginalToken());
                    return nullptr;
                }
                auto c = std::make_unique<TPSConstant>();
                c->SetName(p.OriginalToken());
                c->Value = NewValue(t);
                c->Value->v.tu32 = count++;
                c->DeclarePos = static_cast<int32_t>(p.CurrTokenPos());
                c->DeclareRow = p.Row();
                c->DeclareCol = p.Col();
                constants_.push_back(std::move(c));
                p.Next();
                if (p.CurrTokenID() == CSTI_CloseRound) break;
                if (!ExpectNext(p, CSTI_Comma, ecCloseRoundExpected)) return nullptr;
            }
            p.Next();
            t->HighValue = count - 1;
            return t;
        }
        case CSTII_array:
            return ParseArrayType(p, orgName);
        case CSTII_record: {
            auto* t = static_cast<TPSRecordType*>(NewType(TPSTypeKind::Record, btRecord));
            p.Next();
            if (p.CurrTokenID() == CSTII_end) {
                ParserError(p, ecIdentifierExpected);
                return nullptr;
            }
            while (p.CurrTokenID() != CSTII_end) {
                size_t first = t->RecordSubVals.size();
                for (;;) {
                    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
                    uint32_t hash = HashName(p.GetToken());
                    for (const auto& f : t->RecordSubVals)
                        if (f.FieldName.Is(hash, p.GetToken())) {
                            ParserError(p, ecDuplicateIdentifier, p.OriginalToken());
                            return nullptr;
                        }
                    t->AddRecVal().FieldName.Set(p.OriginalToken());
                    p.Next();
                    if (p.CurrTokenID() != CSTI_Comma) break;
                    p.Next();
                }
                if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return nullptr;
                TPSType* ft = ParseType(p, {}, false);
                if (!ft) return nullptr;
                for (size_t i = first; i < t->RecordSubVals.size(); ++i) t->RecordSubVals[i].aType = ft;
                if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return nullptr;
            }
            p.Next();
            return finish(t);
        }
        case CSTII_Interface:
            return ParseInterfaceType(p, orgName);
        case CSTI_Identifier: {
            TPSType* target = FindTypeUpper(p.GetToken());
            if (!target) {
                ParserError(p, ecUnknownType, p.OriginalToken());
                return nullptr;
            }
            p.Next();
            if (orgName.empty()) return target;
            auto* link = static_cast<TPSTypeLink*>(NewType(TPSTypeKind::Link, btTypeLink));
            link->LinkTypeNo = target;
            return finish(link);
        }
        default:
            ParserError(p, ecIdentifierExpected);
            return nullptr;
    }
}

TPSType* TPSPascalCompiler::ParseProceduralType(TPSPascalParser& p, TPSProceduralType& t) {
    bool isFunction = p.CurrTokenID() == CSTII_function;
    p.Next();
    auto typeName = [this](TPSPascalParser& q, TPSType*& type) {
        return (type = ReadTypeName(q, ecUnknownIdentifier)) != nullptr;
    };
    if (!ParseParamGroups(p, t.ProcDef, nullptr, typeName)) return nullptr;
    // The type is written as a result byte and a byte per parameter, which the loader takes only
    // below kShortTextLimit bytes.
    if (t.ProcDef.Params.size() + 1 >= kShortTextLimit) {
        ParserError(p, ecTypeMismatch);
        return nullptr;
    }
    if (isFunction) {
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return nullptr;
        if (!(t.ProcDef.Result = ReadTypeName(p, ecUnknownIdentifier))) return nullptr;
    }
    return &t;
}

TPSType* TPSPascalCompiler::ParseArrayType(TPSPascalParser& p, std::string_view orgName) {
    const uint32_t pos = p.CurrTokenPos(), row = p.Row(), col = p.Col();
    p.Next();
    bool isStatic = false;
    int64_t low = 0, high = 0;
    if (p.CurrTokenID() == CSTI_OpenBlock) {
        isStatic = true;
        p.Next();
        auto readBound = [&](TPSPasToken stop, int64_t& out) {
            std::unique_ptr<TIfRVariant> v = ParseConstantExpression(p, stop);
            if (!v) return false;
            uint8_t c = v->FType->BaseType;
            if (!IsIntegerCode(c)) {
                ParserError(p, ecTypeMismatch);
                return false;
            }
            OrdinalValue(*v, out);
            return true;
        };
        if (!readBound(CSTI_TwoDots, low)) return nullptr;
        if (!ExpectNext(p, CSTI_TwoDots, ecPeriodExpected)) return nullptr;
        if (!readBound(CSTI_CloseBlock, high)) return nullptr;
        if (!ExpectNext(p, CSTI_CloseBlock, ecCloseBlockExpected)) return nullptr;
        // The start index must fit 32 bits and the length lie in 0 .. 0x1FFFFFFF (tested in that
        // order, so that no bound of any 64-bit value overflows the arithmetic).
        if (low < INT32_MIN || low > INT32_MAX || high < low - 1 ||
            high > low + static_cast<int64_t>(kStaticArrayLengthLimit) - 2) {
            ParserError(p, ecTypeMismatch);
            return nullptr;
        }
    }
    if (!ExpectNext(p, CSTII_of, ecOfExpected)) return nullptr;
    TPSType* element = ParseType(p, {}, false);
    if (!element) return nullptr;
    if (!isStatic && orgName.empty() && element->Used) {
        for (const auto& t : types_)
            if (t->Kind == TPSTypeKind::Array &&
                static_cast<TPSArrayType*>(t.get())->ArrayTypeNo == element &&
                (t->Name.empty() || t->Name[0] != '!'))
                return t.get();
    }
    TPSArrayType* t;
    if (isStatic) {
        auto* s = static_cast<TPSStaticArrayType*>(NewType(TPSTypeKind::StaticArray, btStaticArray));
        s->StartOffset = static_cast<int32_t>(low);
        s->Length = static_cast<uint32_t>(high - low + 1);
        t = s;
    } else {
        t = static_cast<TPSArrayType*>(NewType(TPSTypeKind::Array, btArray));
    }
    t->ArrayTypeNo = element;
    if (!orgName.empty())
        t->SetName(orgName);
    else
        t->SetName("array of " + (element->OriginalName.empty() ? element->Name : element->OriginalName));
    t->DeclarePos = static_cast<int32_t>(pos);
    t->DeclareRow = row;
    t->DeclareCol = col;
    return t;
}

TPSType* TPSPascalCompiler::ParseInterfaceType(TPSPascalParser& p, std::string_view orgName) {
    p.Next();
    if (!ExpectNext(p, CSTI_OpenRound, ecOpenRoundExpected)) return nullptr;
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return nullptr;
    TPSType* parentType = FindTypeUpper(p.GetToken());
    if (!parentType) {
        ParserError(p, ecUnknownType, p.OriginalToken());
        return nullptr;
    }
    if (parentType->BaseType != btInterface) {
        ParserError(p, ecTypeMismatch);
        return nullptr;
    }
    p.Next();
    if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return nullptr;
    if (!ExpectNext(p, CSTI_OpenBlock, ecOpenBlockExpected)) return nullptr;
    if (!Expect(p, CSTI_String, ecStringExpected)) return nullptr;
    std::string guidText = p.GetToken().substr(1, p.GetToken().size() - 2);
    TPSGuid guid{};
    if (!ParseGuid(guidText, guid)) {
        ParserError(p, ecCustomError, FormatOne(kInvalidGuid, guidText));
        return nullptr;
    }
    p.Next();
    if (!ExpectNext(p, CSTI_CloseBlock, ecCloseBlockExpected)) return nullptr;
    TPSInterface* intf = AddInterface(static_cast<TPSInterfaceType*>(parentType)->Intf, guid, orgName);
    while (p.CurrTokenID() != CSTII_end) {
        if ((p.CurrTokenID() != CSTII_procedure && p.CurrTokenID() != CSTII_function) ||
            !intf->RegisterMethodEx({}, cdStdCall, &p)) {
            ParserError(p, ecCustomError, kInvalidMethod);
            return nullptr;
        }
        while (p.CurrTokenID() == CSTI_SemiColon) p.Next();
    }
    p.Next();
    return intf->aType();
}

bool TPSPascalCompiler::ParseAttribute(TPSAttributes& into) {
    TPSPascalParser& p = parser_;
    if (p.CurrTokenID() != AttributesOpenTokenID) return true;
    p.Next();
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
    TPSAttributeType* type = FindAttributeType(p.GetToken());
    if (!type) {
        MakeError({}, ecUnknownIdentifier, p.OriginalToken());
        return false;
    }
    TPSAttribute& attr = into.Add(type);
    attr.DeclarePos = static_cast<int32_t>(p.CurrTokenPos());
    attr.DeclareRow = p.Row();
    attr.DeclareCol = p.Col();
    p.Next();
    size_t field = 0;
    auto zeroHidden = [&] {
        while (field < type->Fields.size() && type->Fields[field].Hidden)
            attr.Values.push_back(NewValue(UseType(type->Fields[field++].FieldType)));
    };
    zeroHidden();
    if (!ExpectNext(p, CSTI_OpenRound, ecOpenRoundExpected)) return false;
    bool firstValue = true;
    while (field < type->Fields.size()) {
        if (!firstValue) {
            if (!ExpectNext(p, CSTI_Comma, ecCommaExpected)) return false;
        }
        firstValue = false;
        std::unique_ptr<TIfRVariant> v = ParseConstantExpression(p, CSTI_CloseRound);
        if (!v) return false;
        if (!TypesCompatible(type->Fields[field].FieldType, v->FType, false)) {
            MakeError({}, ecTypeMismatch, {});
            return false;
        }
        UseType(v->FType);
        attr.Values.push_back(std::move(v));
        ++field;
        zeroHidden();
    }
    if (!ExpectNext(p, CSTI_CloseRound, ecCloseRoundExpected)) return false;
    if (!ExpectNext(p, AttributesCloseTokenID, ecUnClosedAttributes)) return false;
    return true;
}

bool TPSPascalCompiler::ApplyTypeAttributes(TPSType& type) {
    for (auto& a : type.Attributes.Items)
        if (a->AttribType && a->AttribType->OnApplyAttributeToType &&
            !a->AttribType->OnApplyAttributeToType(*this, type, *a))
            return false;
    return true;
}

bool TPSPascalCompiler::ApplyProcAttributes(TPSProcedure& proc) {
    for (auto& a : proc.Attributes.Items)
        if (a->AttribType && a->AttribType->OnApplyAttributeToProc &&
            !a->AttribType->OnApplyAttributeToProc(*this, proc, *a))
            return false;
    return true;
}

bool TPSPascalCompiler::ProcessConstSection() {
    TPSPascalParser& p = parser_;
    p.Next();
    do {
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
        if (NameClashes(p.GetToken(), nkProc | nkVar | nkConst)) {
            MakeError({}, ecDuplicateIdentifier, p.OriginalToken());
            return false;
        }
        auto c = std::make_unique<TPSConstant>();
        c->SetName(p.OriginalToken());
        c->DeclarePos = static_cast<int32_t>(p.CurrTokenPos());
        c->DeclareRow = p.Row();
        c->DeclareCol = p.Col();
        p.Next();
        if (!ExpectNext(p, CSTI_Equal, ecIsExpected)) return false;
        c->Value = ParseConstantExpression(p, CSTI_SemiColon);
        if (!c->Value) return false;
        if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
        constants_.push_back(std::move(c));
    } while (p.CurrTokenID() == CSTI_Identifier);
    return true;
}

bool TPSPascalCompiler::ProcessTypeSection() {
    TPSPascalParser& p = parser_;
    p.Next();
    do {
        TPSAttributes attributes;
        if (!ParseAttribute(attributes)) return false;
        if (p.CurrTokenID() == CSTII_procedure || p.CurrTokenID() == CSTII_function)
            return ParseProcedure(false, &attributes);
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
        if (NameClashes(p.GetToken(), nkType | nkProc | nkVar)) {
            MakeError({}, ecDuplicateIdentifier, p.OriginalToken());
            return false;
        }
        std::string orgName = p.OriginalToken();
        p.Next();
        if (!ExpectNext(p, CSTI_Equal, ecIsExpected)) return false;
        TPSType* t = ParseType(p, orgName, true);
        if (!t) return false;
        t->Attributes.Assign(attributes, true);
        if (!ApplyTypeAttributes(*t)) return false;
        if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
    } while (p.CurrTokenID() == CSTI_Identifier || p.CurrTokenID() == AttributesOpenTokenID);
    return true;
}

bool TPSPascalCompiler::VariableClashes(std::string_view upperName, TPSInternalProcedure* proc) {
    if (NameClashes(upperName, nkProc | nkConst)) return true;
    uint32_t hash = HashName(upperName);
    if (proc) {
        for (const auto& v : proc->ProcVars)
            if (v.Name.Is(hash, upperName)) return true;
        for (const auto& prm : proc->Decl.Params)
            if (prm.Name == upperName) return true;
        return false;
    }
    return FindGlobalVar(upperName, hash) >= 0;
}

bool TPSPascalCompiler::ProcessVarSection(TPSInternalProcedure* proc) {
    TPSPascalParser& p = parser_;
    p.Next();
    do {
        struct Pending {
            TPSName name;
            uint32_t pos, row, col;
        };
        std::vector<Pending> group;
        for (;;) {
            if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
            const std::string& upper = p.GetToken();
            bool clash = VariableClashes(upper, proc);
            const uint32_t hash = HashName(upper);
            for (const auto& g : group)
                if (g.name.Is(hash, upper)) clash = true;
            if (clash) {
                MakeError({}, ecDuplicateIdentifier, p.OriginalToken());
                return false;
            }
            int32_t number =
                static_cast<int32_t>((proc ? proc->ProcVars.size() : vars_.size()) + group.size());
            if (OnUseVariable)
                OnUseVariable(*this, proc ? ivtVariable : ivtGlobal, number, proc ? block_->ProcNo : -1,
                              p.CurrTokenPos(), {});
            Pending& added = group.emplace_back();
            added.name.Set(p.OriginalToken());
            added.pos = p.CurrTokenPos();
            added.row = p.Row();
            added.col = p.Col();
            p.Next();
            if (p.CurrTokenID() != CSTI_Comma) break;
            p.Next();
        }
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
        TPSType* t = ParseType(p, {}, false);
        if (!t) return false;
        if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
        for (const auto& g : group) {
            if (proc) {
                TPSProcVar& v = proc->ProcVars.emplace_back();
                v.Name = g.name;
                v.aType = t;
                v.DeclarePos = static_cast<int32_t>(g.pos);
                v.DeclareRow = g.row;
                v.DeclareCol = g.col;
            } else {
                auto v = std::make_unique<TPSVar>();
                v->SetName(g.name.OrgName);
                v->aType = t;
                v->DeclarePos = static_cast<int32_t>(g.pos);
                v->DeclareRow = g.row;
                v->DeclareCol = g.col;
                vars_.push_back(std::move(v));
            }
        }
    } while (p.CurrTokenID() == CSTI_Identifier);
    return true;
}

int32_t TPSPascalCompiler::FindLabel(TPSInternalProcedure& proc, std::string_view upperName) const {
    uint32_t hash = HashName(upperName);
    for (size_t i = 0; i < proc.Labels.size(); ++i)
        if (proc.Labels[i].NameHash == hash && proc.Labels[i].Name == upperName)
            return static_cast<int32_t>(i);
    return -1;
}

bool TPSPascalCompiler::LabelClashes(std::string_view upperName, TPSInternalProcedure& proc) {
    if (proc.Name.Name == upperName || NameClashes(upperName, nkProc | nkVar | nkConst)) return true;
    uint32_t hash = HashName(upperName);
    for (const auto& prm : proc.Decl.Params)
        if (prm.Name == upperName) return true;
    for (const auto& v : proc.ProcVars)
        if (v.Name.Is(hash, upperName)) return true;
    return FindLabel(proc, upperName) >= 0;
}

bool TPSPascalCompiler::ProcessLabelSection(TPSInternalProcedure& proc) {
    TPSPascalParser& p = parser_;
    p.Next();
    for (;;) {
        if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
        if (LabelClashes(p.GetToken(), proc)) {
            MakeError({}, ecDuplicateIdentifier, p.OriginalToken());
            return false;
        }
        TPSLabel& label = proc.Labels.emplace_back();
        label.Name = p.GetToken();
        label.NameHash = HashName(label.Name);
        p.Next();
        if (p.CurrTokenID() == CSTI_SemiColon) break;
        if (!ExpectNext(p, CSTI_Comma, ecCommaExpected)) return false;
    }
    p.Next();
    return true;
}

bool TPSPascalCompiler::ParseParameterList(TPSParametersDecl& decl, TPSInternalProcedure* forward,
                                           bool isFunction, std::string_view procName) {
    // A name must not be the procedure's, an earlier parameter's, or (completing a forward) one of
    // its locals or labels.
    auto acceptName = [&](TPSPascalParser& p, bool firstOfGroup) {
        const std::string& upper = p.GetToken();
        bool clash = upper == procName || upper == "RESULT";
        for (const auto& prm : decl.Params) clash |= prm.Name == upper;
        if (forward) {
            clash |= FindLabel(*forward, upper) >= 0;
            for (const auto& v : forward->ProcVars) clash |= v.Name.Name == upper;
        }
        if (clash) {
            MakeError({}, ecDuplicateIdentifier, firstOfGroup ? p.OriginalToken() : std::string());
            return false;
        }
        if (OnUseVariable)
            OnUseVariable(*this, ivtParam, static_cast<int32_t>(decl.Params.size() + (isFunction ? 1 : 0)),
                          static_cast<int32_t>(procs_.size()), p.CurrTokenPos(), {});
        return true;
    };
    auto anyType = [this](TPSPascalParser& p, TPSType*& t) {
        return (t = ParseType(p, {}, false)) != nullptr;
    };
    return ParseParamGroups(parser_, decl, acceptName, anyType);
}

bool TPSPascalCompiler::ParseProcedure(bool interfaceOnly, TPSAttributes* attributes) {
    TPSPascalParser& p = parser_;
    TPSAttributes ownAttributes;
    if (!attributes) {
        if (!ParseAttribute(ownAttributes)) return false;
        attributes = &ownAttributes;
    }
    if (p.CurrTokenID() != CSTII_procedure && p.CurrTokenID() != CSTII_function) {
        MakeError({}, ecBeginExpected, {});
        return false;
    }
    bool isFunction = p.CurrTokenID() == CSTII_function;
    uint32_t keyPos = p.CurrTokenPos(), keyRow = p.Row(), keyCol = p.Col();
    p.Next();
    if (!Expect(p, CSTI_Identifier, ecIdentifierExpected)) return false;
    std::string orgName = p.OriginalToken();
    std::string upper = p.GetToken();
    uint32_t namePos = p.CurrTokenPos(), nameRow = p.Row(), nameCol = p.Col();
    if (OnFunctionStart) OnFunctionStart(*this, orgName, keyPos, keyRow, keyCol);

    TPSInternalProcedure* forward = nullptr;
    uint32_t forwardNo = 0;
    if (const int32_t f = FindForwardProc(upper, HashName(upper)); f >= 0) {
        forward = static_cast<TPSInternalProcedure*>(procs_[static_cast<size_t>(f)].get());
        forwardNo = static_cast<uint32_t>(f);
    }
    if (!forward && NameClashes(upper, nkType | nkProc | nkVar | nkConst)) {
        MakeError({}, ecDuplicateIdentifier, upper);
        return false;
    }
    p.Next();
    TPSParametersDecl decl;
    if (!ParseParameterList(decl, forward, isFunction, upper)) return false;
    if (isFunction) {
        if (!ExpectNext(p, CSTI_Colon, ecColonExpected)) return false;
        decl.Result = ParseType(p, {}, false);
        if (!decl.Result) return false;
    }
    if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;

    auto newInternal = [&](bool forwarded) {
        auto ip = std::make_unique<TPSInternalProcedure>();
        ip->SetName(orgName);
        ip->Forwarded = forwarded;
        ip->Decl = decl;
        ip->Attributes.Assign(*attributes, true);
        ip->DeclarePos = static_cast<int32_t>(namePos);
        ip->DeclareRow = nameRow;
        ip->DeclareCol = nameCol;
        procs_.push_back(std::move(ip));
        return static_cast<TPSInternalProcedure*>(procs_.back().get());
    };

    if (!forward && p.CurrTokenID() == CSTII_External) {
        p.Next();
        if (!Expect(p, CSTI_String, ecStringExpected)) return false;
        std::string raw = p.GetToken();
        std::string reference;
        for (size_t i = 1; i + 1 < raw.size(); ++i) {
            reference.push_back(raw[i]);
            if (raw[i] == '\'') ++i;
        }
        p.Next();
        if (p.CurrTokenID() != CSTI_SemiColon || !OnExternalProc) {
            MakeError({}, ecSemicolonExpected, {});
            return false;
        }
        p.Next();
        std::unique_ptr<TPSRegProc> reg = OnExternalProc(*this, decl, orgName, reference);
        if (!reg) {
            MakeError({}, ecCustomError, {});
            return false;
        }
        auto ext = std::make_unique<TPSExternalProcedure>();
        ext->RegProc = reg.get();
        ext->Attributes.Assign(*attributes, true);
        regProcs_.push_back(std::move(reg));
        procs_.push_back(std::move(ext));
        return ApplyProcAttributes(*procs_.back());
    }
    if (p.CurrTokenID() == CSTII_Forward || interfaceOnly) {
        if (forward) {
            MakeError({}, ecBeginExpected, {});
            return false;
        }
        if (!interfaceOnly) {
            p.Next();
            if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
        }
        return ApplyProcAttributes(*newInternal(true));
    }
    TPSInternalProcedure* proc;
    uint32_t procNo;
    if (forward) {
        if (!decl.Same(forward->Decl)) {
            MakeError({}, ecForwardParameterMismatch, {});
            return false;
        }
        forward->Forwarded = false;
        forward->Decl = decl;
        proc = forward;
        procNo = forwardNo;
    } else {
        proc = newInternal(false);
        procNo = static_cast<uint32_t>(procs_.size() - 1);
        if (!ApplyProcAttributes(*proc)) return false;
    }

    // The body: an optional "export;", local variable and label sections, then the block.
    if (p.CurrTokenID() == CSTII_Export) {
        p.Next();
        if (!ExpectNext(p, CSTI_SemiColon, ecSemicolonExpected)) return false;
    }
    TPSBlockInfo block(globalBlock_.get(), tProcBegin);
    block.ProcNo = procNo;
    block.Proc = proc;
    TPSBlockInfo* savedBlock = block_;
    block_ = &block;
    struct Restore {
        TPSBlockInfo*& target;
        TPSBlockInfo* value;
        ~Restore() { target = value; }
    } restore{block_, savedBlock};
    for (;;) {
        if (p.CurrTokenID() == CSTII_var) {
            if (!ProcessVarSection(proc)) return false;
        } else if (p.CurrTokenID() == CSTII_Label) {
            if (!ProcessLabelSection(*proc)) return false;
        } else if (p.CurrTokenID() == CSTII_begin) {
            break;
        } else {
            MakeError({}, ecBeginExpected, {});
            return false;
        }
    }
    WriteDebugParamsAndLocals(procNo, *proc);
    for (const TPSProcVar& v : proc->ProcVars) {
        WriteByte(opPushNew);
        WriteLong(static_cast<uint32_t>(UseType(v.aType)->FinalTypeNo));
    }
    if (!CompileBlock(block)) return false;
    for (const TPSProcVar& v : proc->ProcVars) {
        if (!v.Used && !v.Name.Name.empty())
            MakeHint({}, ehVariableNotUsed, v.Name.Name)
                ->SetCustomPos(static_cast<uint32_t>(v.DeclarePos), v.DeclareRow, v.DeclareCol);
    }
    if (proc->Decl.Result && !proc->ResultUsed)
        MakeHint({}, ehVariableNotUsed, "Result")
            ->SetCustomPos(static_cast<uint32_t>(proc->DeclarePos), proc->DeclareRow, proc->DeclareCol);
    if (!ResolveGotos(*proc)) return false;
    if (OnFunctionEnd) OnFunctionEnd(*this, orgName, p.CurrTokenPos(), p.Row(), p.Col());
    return true;
}

}  // namespace tv::script
