// Compile-time values: literal readers, the constant-expression parser and the folding of an
// operator on two constant values (shared with the expression compiler).

#include <cstring>

#include "script/common/ansi_text.h"
#include "script/common/arith.h"
#include "script/common/number_text.h"
#include "script/compiler/expr_nodes.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

bool IsUnsignedCode(uint8_t c) {
    return c == btU8 || c == btU16 || c == btU32;
}

bool ValueAsReal(const TIfRVariant& r, long double& out) {
    int64_t i = 0;
    switch (r.FType->BaseType) {
        case btSingle:
            out = r.v.tsingle;
            return true;
        case btDouble:
            out = r.v.tdouble;
            return true;
        case btExtended:
            out = r.v.textended;
            return true;
        case btCurrency:
            out = CurrencyToReal(r.v.ts64);
            return true;
        case btChar:
        case btWideChar:
            return false;
        default:
            if (!OrdinalValue(r, i)) return false;
            out = static_cast<long double>(i);
            return true;
    }
}

bool ValueAsAnsi(const TIfRVariant& r, std::string& out) {
    switch (r.FType->BaseType) {
        case btString:
            out = r.Str;
            return true;
        case btChar:
            out.assign(1, r.v.tchar);
            return true;
        case btWideChar:
            out = WideToAnsi(std::u16string_view(&r.v.twidechar, 1));
            return true;
        case btWideString:
        case btUnicodeString:
            out = WideToAnsi(r.WStr);
            return true;
        default:
            return false;
    }
}

bool ValueAsWide(const TIfRVariant& r, std::u16string& out) {
    switch (r.FType->BaseType) {
        case btString:
            out = AnsiToWide(r.Str);
            return true;
        case btChar:
            out = AnsiToWide(std::string_view(&r.v.tchar, 1));
            return true;
        case btWideChar:
            out.assign(1, r.v.twidechar);
            return true;
        case btWideString:
        case btUnicodeString:
            out = r.WStr;
            return true;
        default:
            return false;
    }
}

// Stores a 32- or 64-bit lane result in the value at its type's width.
void StoreInteger(TIfRVariant& l, int64_t v) {
    switch (l.FType->BaseType) {
        case btU8:
        case btS8:
            l.v.tu8 = static_cast<uint8_t>(v);
            break;
        case btU16:
        case btS16:
            l.v.tu16 = static_cast<uint16_t>(v);
            break;
        case btS64:
            l.v.ts64 = v;
            break;
        default:
            l.v.tu32 = static_cast<uint32_t>(v);
            break;
    }
}

template <class T>
bool CompareResult(TPSBinOperatorType op, const T& a, const T& b, bool& result) {
    switch (op) {
        case otGreaterEqual:
            result = a >= b;
            return true;
        case otLessEqual:
            result = a <= b;
            return true;
        case otGreater:
            result = a > b;
            return true;
        case otLess:
            result = a < b;
            return true;
        case otEqual:
            result = a == b;
            return true;
        case otNotEqual:
            result = a != b;
            return true;
        default:
            return false;
    }
}

// The six comparisons of two values (not "in" or "is").
bool IsRelational(TPSBinOperatorType op) {
    return op >= otGreaterEqual && op <= otNotEqual;
}

bool SetContains(const std::string& big, const std::string& small) {
    for (size_t i = 0; i < big.size() && i < small.size(); ++i)
        if ((static_cast<unsigned char>(small[i]) & ~static_cast<unsigned char>(big[i])) != 0) return false;
    return true;
}

enum class FoldOutcome { Done, Failed, Fault };

// Integer operations on a 32-bit lane (T = uint32_t or int32_t) or the 64-bit lane.
template <class T>
FoldOutcome FoldIntegerLane(TPSBinOperatorType op, T a, T b, T& r, bool& isCompare, bool& cmp,
                            ArithFault& fault) {
    using U = std::make_unsigned_t<T>;
    isCompare = false;
    switch (op) {
        case otAdd:
            r = WrapAdd(a, b);
            return FoldOutcome::Done;
        case otSub:
            r = WrapSubtract(a, b);
            return FoldOutcome::Done;
        case otMul:
            r = WrapMultiply(a, b);
            return FoldOutcome::Done;
        case otDiv:
        case otIntDiv:
            fault = DivideTruncated(a, b, r);
            return fault == ArithFault::None ? FoldOutcome::Done : FoldOutcome::Fault;
        case otMod:
            fault = Remainder(a, b, r);
            return fault == ArithFault::None ? FoldOutcome::Done : FoldOutcome::Fault;
        case otShl:
            if constexpr (sizeof(T) == 8)
                r = static_cast<T>(ShiftLeft64(static_cast<uint64_t>(a), static_cast<uint64_t>(b)));
            else
                r = static_cast<T>(ShiftLeft32(static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
            return FoldOutcome::Done;
        case otShr:
            if constexpr (sizeof(T) == 8)
                r = static_cast<T>(ShiftRight64(static_cast<uint64_t>(a), static_cast<uint64_t>(b)));
            else
                r = static_cast<T>(ShiftRight32(static_cast<uint32_t>(a), static_cast<uint32_t>(b)));
            return FoldOutcome::Done;
        case otAnd:
            r = static_cast<T>(static_cast<U>(a) & static_cast<U>(b));
            return FoldOutcome::Done;
        case otOr:
            r = static_cast<T>(static_cast<U>(a) | static_cast<U>(b));
            return FoldOutcome::Done;
        case otXor:
            r = static_cast<T>(static_cast<U>(a) ^ static_cast<U>(b));
            return FoldOutcome::Done;
        default:
            isCompare = true;
            return CompareResult(op, a, b, cmp) ? FoldOutcome::Done : FoldOutcome::Failed;
    }
}

}  // namespace

std::unique_ptr<TIfRVariant> TPSPascalCompiler::NewValue(TPSType* type) {
    return std::make_unique<TIfRVariant>(type);
}

TPSType* TPSPascalCompiler::BoolResultType(bool markUsed) {
    if (markUsed) UseType(defaultBoolType_);
    return defaultBoolType_;
}

std::unique_ptr<TIfRVariant> TPSPascalCompiler::ReadInteger(std::string_view text, bool recordErrors) {
    uint64_t bits = 0;
    bool hex = !text.empty() && text[0] == '$';
    if (!ParseIntegerLiteral(text, bits) || (!hex && bits > static_cast<uint64_t>(INT64_MAX))) {
        // A literal beyond 64 bits (or a "$" without digits) would otherwise silently read as 0.
        if (recordErrors) MakeError({}, text == "$" ? ecSyntaxError : ecMathError, kIntOverflowText);
        return nullptr;
    }
    int64_t v = static_cast<int64_t>(bits);
    std::unique_ptr<TIfRVariant> r;
    if (v >= 0 && v <= INT32_MAX) {
        r = NewValue(BaseTypeDef(btS32));
        r->v.ts32 = static_cast<int32_t>(v);
    } else if (v > INT32_MAX && v <= UINT32_MAX) {
        r = NewValue(BaseTypeDef(btU32));
        r->v.tu32 = static_cast<uint32_t>(v);
    } else {
        r = NewValue(BaseTypeDef(btS64));
        r->v.ts64 = v;
    }
    return r;
}

std::unique_ptr<TIfRVariant> TPSPascalCompiler::ReadReal(std::string_view text, bool recordErrors) {
    long double x = 0;
    try {
        x = TextToFloat(text);
    } catch (const Exception& e) {
        if (recordErrors) MakeError({}, ecMathError, e.Message);
        return nullptr;
    }
    auto r = NewValue(BaseTypeDef(btExtended));
    r->v.textended = x;
    return r;
}

std::unique_ptr<TIfRVariant> TPSPascalCompiler::ReadString(TPSPascalParser& p) {
    std::string ansi;
    std::u16string wide;
    bool isWide = false;
    bool lastWasString = false;
    auto widen = [&] {
        if (!isWide) {
            wide = AnsiToWide(ansi);
            isWide = true;
        }
    };
    while (p.CurrTokenID() == CSTI_String || p.CurrTokenID() == CSTI_Char) {
        const std::string& raw = p.GetToken();
        if (p.CurrTokenID() == CSTI_String) {
            if (lastWasString) {
                ParserError(p, ecSyntaxError);
                return nullptr;
            }
            lastWasString = true;
            std::string text;
            text.reserve(raw.size());
            for (size_t i = 1; i + 1 < raw.size(); ++i) {
                text.push_back(raw[i]);
                if (raw[i] == '\'') ++i;  // a doubled quote stands for one
            }
            if (UTF8Decode) {
                widen();
                wide += Utf8ToWide(text);
            } else if (isWide) {
                wide += AnsiToWide(text);
            } else {
                ansi += text;
            }
        } else {
            lastWasString = false;
            uint64_t code = 0;
            std::string_view digits = std::string_view(raw).substr(1);
            // A code no WideChar holds is refused rather than cut to another character.
            if ((!digits.empty() && digits != "$" && !ParseIntegerLiteral(digits, code)) || code > 0xFFFF) {
                ParserError(p, ecCharError);
                return nullptr;
            }
            if (code > 255) widen();
            if (isWide)
                wide.push_back(static_cast<char16_t>(code));
            else
                ansi.push_back(static_cast<char>(code));
        }
        p.Next();
    }
    std::unique_ptr<TIfRVariant> r;
    if (isWide) {
        if (wide.size() == 1) {
            r = NewValue(BaseTypeDef(btWideChar));
            r->v.twidechar = wide[0];
        } else {
            r = NewValue(BaseTypeDef(btUnicodeString));
            r->WStr = std::move(wide);
        }
    } else if (ansi.size() == 1) {
        r = NewValue(BaseTypeDef(btChar));
        r->v.tchar = ansi[0];
    } else {
        r = NewValue(BaseTypeDef(btString));
        r->Str = std::move(ansi);
    }
    return r;
}

// --- constant expressions ---

struct TPSPascalCompiler::ConstNode {
    std::unique_ptr<TIfRVariant> Data;  // a leaf
    std::unique_ptr<ConstNode> Left, Right;
    int Op = -1;  // binary TPSBinOperatorType, or unary (UnaryBase + TPSUnOperatorType)
    uint32_t Pos = 0, Row = 0, Col = 0;
};

namespace {
constexpr int kUnaryBase = 100;
}

std::unique_ptr<TIfRVariant> TPSPascalCompiler::ParseConstantExpression(TPSPascalParser& p, TPSPasToken) {
    std::unique_ptr<ConstNode> tree = ParseConstNode(p, 0);
    if (!tree) return nullptr;
    return EvalConstNode(p, *tree);
}

std::unique_ptr<TPSPascalCompiler::ConstNode> TPSPascalCompiler::ParseConstNode(TPSPascalParser& p,
                                                                                int level) {
    DepthGuard depth(*this, p);
    if (level == 3) {
        // Factor.
        if (!depth.Take(DepthGuard::kNestingUnits)) return nullptr;
        auto node = std::make_unique<ConstNode>();
        node->Pos = p.CurrTokenPos();
        node->Row = p.Row();
        node->Col = p.Col();
        switch (p.CurrTokenID()) {
            case CSTI_Identifier: {
                TPSConstant* c = FindConstantUpper(p.GetToken(), HashName(p.GetToken()));
                if (!c || !c->Value) {
                    ParserError(p, ecUnknownIdentifier);
                    return nullptr;
                }
                node->Data = std::make_unique<TIfRVariant>(*c->Value);
                p.Next();
                return node;
            }
            case CSTI_OpenRound: {
                p.Next();
                auto inner = ParseConstNode(p, 0);
                if (!inner) return nullptr;
                if (p.CurrTokenID() != CSTI_CloseRound) {
                    ParserError(p, ecCloseRoundExpected);
                    return nullptr;
                }
                p.Next();
                return inner;
            }
            case CSTI_Minus:
            case CSTII_not: {
                node->Op = kUnaryBase + (p.CurrTokenID() == CSTI_Minus ? otMinus : otNot);
                p.Next();
                node->Left = ParseConstNode(p, 3);
                if (!node->Left) return nullptr;
                return node;
            }
            case CSTI_Integer:
            case CSTI_HexInt:
                node->Data = ReadInteger(p.GetToken(), IsOwnParser(p));
                if (!node->Data) return nullptr;
                p.Next();
                return node;
            case CSTI_Real:
                node->Data = ReadReal(p.GetToken(), IsOwnParser(p));
                if (!node->Data) return nullptr;
                p.Next();
                return node;
            case CSTI_String:
            case CSTI_Char:
                node->Data = ReadString(p);
                if (!node->Data) return nullptr;
                return node;
            default:
                ParserError(p, ecSyntaxError);
                return nullptr;
        }
    }
    std::unique_ptr<ConstNode> left = ParseConstNode(p, level + 1);
    if (!left) return nullptr;
    for (;;) {
        int op = -1;
        TPSPasToken t = p.CurrTokenID();
        if (level == 0) {
            op = t == CSTI_Equal          ? otEqual
                 : t == CSTI_NotEqual     ? otNotEqual
                 : t == CSTI_Greater      ? otGreater
                 : t == CSTI_GreaterEqual ? otGreaterEqual
                 : t == CSTI_Less         ? otLess
                 : t == CSTI_LessEqual    ? otLessEqual
                                          : -1;
        } else if (level == 1) {
            op = t == CSTI_Plus    ? otAdd
                 : t == CSTI_Minus ? otSub
                 : t == CSTII_or   ? otOr
                 : t == CSTII_xor  ? otXor
                                   : -1;
        } else {
            op = t == CSTI_Divide     ? otDiv
                 : t == CSTI_Multiply ? otMul
                 : t == CSTII_and     ? otAnd
                 : t == CSTII_div     ? otIntDiv
                 : t == CSTII_mod     ? otMod
                 : t == CSTII_shl     ? otShl
                 : t == CSTII_shr     ? otShr
                                      : -1;
        }
        if (op < 0) return left;
        if (!depth.Take(1)) return nullptr;  // every operator nests the tree one level deeper
        auto node = std::make_unique<ConstNode>();
        node->Op = op;
        node->Pos = p.CurrTokenPos();
        node->Row = p.Row();
        node->Col = p.Col();
        p.Next();
        node->Left = std::move(left);
        node->Right = ParseConstNode(p, level + 1);
        if (!node->Right) return nullptr;
        left = std::move(node);
    }
}

std::unique_ptr<TIfRVariant> TPSPascalCompiler::EvalConstNode(TPSPascalParser& p, ConstNode& node) {
    if (node.Data) {
        std::unique_ptr<TIfRVariant> v = std::move(node.Data);
        if (v->FType->BaseType == btString && v->Str.size() == 1) {
            char c = v->Str[0];
            v = NewValue(BaseTypeDef(btChar));
            v->v.tchar = c;
        }
        return v;
    }
    if (node.Op >= kUnaryBase) {
        std::unique_ptr<TIfRVariant> v = EvalConstNode(p, *node.Left);
        if (!v) return nullptr;
        if (!FoldUnaryConstant(static_cast<uint8_t>(node.Op - kUnaryBase), *v, true)) {
            ParserError(p, ecTypeMismatch);
            return nullptr;
        }
        return v;
    }
    std::unique_ptr<TIfRVariant> l = EvalConstNode(p, *node.Left);
    if (!l) return nullptr;
    std::unique_ptr<TIfRVariant> r = EvalConstNode(p, *node.Right);
    if (!r) return nullptr;
    if (!FoldBinaryConstants(false, static_cast<TPSBinOperatorType>(node.Op), *r, *l, IsOwnParser(p)))
        return nullptr;
    return l;
}

bool TPSPascalCompiler::FoldUnaryConstant(uint8_t op, TIfRVariant& v, bool constSection) {
    uint8_t code = v.FType->BaseType;
    if (op == otMinus) {
        switch (code) {
            case btU8:
            case btS8:
                v.v.tu8 = static_cast<uint8_t>(0u - v.v.tu8);
                return true;
            case btU16:
            case btS16:
                v.v.tu16 = static_cast<uint16_t>(0u - v.v.tu16);
                return true;
            case btU32:
            case btS32:
                v.v.tu32 = 0u - v.v.tu32;
                return true;
            case btS64:
            case btCurrency:
                v.v.ts64 = WrapNegate(v.v.ts64);
                return true;
            case btSingle:
                v.v.tsingle = -v.v.tsingle;
                return true;
            case btDouble:
                v.v.tdouble = -v.v.tdouble;
                return true;
            case btExtended:
                v.v.textended = -v.v.textended;
                return true;
            default:
                return false;
        }
    }
    if (op == otNot) {
        switch (code) {
            case btU8:
            case btS8:
                v.v.tu8 = static_cast<uint8_t>(~v.v.tu8);
                return true;
            case btU16:
            case btS16:
                v.v.tu16 = static_cast<uint16_t>(~v.v.tu16);
                return true;
            case btU32:
            case btS32:
                v.v.tu32 = ~v.v.tu32;
                return true;
            case btS64:
                v.v.ts64 = ~v.v.ts64;
                return true;
            case btEnum:
                if (constSection || !IsBooleanType(v.FType)) return false;
                v.v.tu32 = (~v.v.tu32) & 1;
                return true;
            default:
                return false;
        }
    }
    return false;
}

bool TPSPascalCompiler::FoldBinaryConstants(bool markUsed, TPSBinOperatorType op, const TIfRVariant& right,
                                            TIfRVariant& left, bool recordErrors) {
    TIfRVariant& l = left;
    const TIfRVariant& r = right;
    // An integer combined with a real becomes that real type first.
    if (IsRealCode(r.FType->BaseType) && IsIntegerCode(l.FType->BaseType)) {
        int64_t i = 0;
        OrdinalValue(l, i);
        TPSType* rt = r.FType;
        TIfRVariant conv(rt);
        switch (rt->BaseType) {
            case btSingle:
                conv.v.tsingle = static_cast<float>(i);
                break;
            case btDouble:
                conv.v.tdouble = static_cast<double>(i);
                break;
            case btExtended:
                conv.v.textended = static_cast<long double>(i);
                break;
            default:
                conv.v.ts64 = WrapMultiply<int64_t>(i, kCurrencyScale);
                break;
        }
        l = conv;
    }
    const uint8_t code = l.FType->BaseType;
    bool cmp = false;
    bool isCompare = false;
    ArithFault fault = ArithFault::None;
    FoldOutcome outcome = FoldOutcome::Failed;

    auto setBool = [&](bool b) {
        TIfRVariant res(BoolResultType(markUsed));
        res.v.tu32 = b ? 1 : 0;
        l = res;
    };

    if (op == otIn) {
        int64_t ord = 0;
        if (IsOrdinalTypeCode(code) && r.FType->BaseType == btSet &&
            Unlink(static_cast<TPSSetType*>(r.FType)->SetType) == Unlink(l.FType) && OrdinalValue(l, ord)) {
            bool bit = ord >= 0 && static_cast<uint64_t>(ord) / 8 < r.Str.size() &&
                       (static_cast<unsigned char>(r.Str[static_cast<size_t>(ord / 8)]) >> (ord % 8)) & 1;
            setBool(bit);
            return true;
        }
    } else if (op == otAs || op == otIs) {
        // never folded
    } else if (IsNarrowIntegerCode(code) || code == btEnum) {
        bool isEnum = code == btEnum;
        bool enumOk = op == otAdd || op == otSub || op == otAnd || op == otOr || op == otXor ||
                      op == otEqual || op == otNotEqual;
        int64_t rv = 0;
        // With an Int64 right operand a LongWord or LongInt divides by the whole 64-bit value, and a
        // LongInt compares with it as a 64-bit value, as the run-time operators do.
        const bool wideRight =
            r.FType->BaseType == btS64 && (code == btU32 || code == btS32) &&
            (op == otDiv || op == otIntDiv || op == otMod || (code == btS32 && IsRelational(op)));
        if ((!isEnum || enumOk) && OrdinalValue(r, rv)) {
            if (wideRight) {
                int64_t lv = 0, res = 0;
                OrdinalValue(l, lv);
                outcome = FoldIntegerLane<int64_t>(op, lv, rv, res, isCompare, cmp, fault);
                if (outcome == FoldOutcome::Done && !isCompare) StoreInteger(l, res);
            } else if (IsUnsignedCode(code) || isEnum) {
                uint32_t a = 0, res = 0;
                int64_t lv = 0;
                OrdinalValue(l, lv);
                a = static_cast<uint32_t>(lv);
                outcome =
                    FoldIntegerLane<uint32_t>(op, a, static_cast<uint32_t>(rv), res, isCompare, cmp, fault);
                if (outcome == FoldOutcome::Done && !isCompare) StoreInteger(l, res);
            } else {
                int64_t lv = 0;
                OrdinalValue(l, lv);
                int32_t res = 0;
                outcome = FoldIntegerLane<int32_t>(op, static_cast<int32_t>(lv), static_cast<int32_t>(rv),
                                                   res, isCompare, cmp, fault);
                if (outcome == FoldOutcome::Done && !isCompare) StoreInteger(l, res);
            }
        }
    } else if (code == btS64) {
        int64_t rv = 0, res = 0;
        if (OrdinalValue(r, rv)) {
            outcome = FoldIntegerLane<int64_t>(op, l.v.ts64, rv, res, isCompare, cmp, fault);
            if (outcome == FoldOutcome::Done && !isCompare) l.v.ts64 = res;
        }
    } else if (code == btSingle || code == btDouble || code == btExtended) {
        long double a = 0, b = 0, res = 0;
        ValueAsReal(l, a);
        if (ValueAsReal(r, b)) {
            outcome = FoldOutcome::Done;
            switch (op) {
                case otAdd:
                    fault = RealAdd(a, b, res);
                    break;
                case otSub:
                    fault = RealSubtract(a, b, res);
                    break;
                case otMul:
                    fault = RealMultiply(a, b, res);
                    break;
                case otDiv:
                case otIntDiv:
                    fault = RealDivide(a, b, res);
                    break;
                default:
                    isCompare = true;
                    if (!CompareResult(op, a, b, cmp)) outcome = FoldOutcome::Failed;
                    break;
            }
            if (fault != ArithFault::None) {
                outcome = FoldOutcome::Fault;
            } else if (outcome == FoldOutcome::Done && !isCompare) {
                if (code == btSingle)
                    fault = NarrowReal(res, l.v.tsingle);
                else if (code == btDouble)
                    fault = NarrowReal(res, l.v.tdouble);
                else
                    l.v.textended = res;
                if (fault != ArithFault::None) outcome = FoldOutcome::Fault;
            }
        }
    } else if (code == btCurrency) {
        long double b = 0;
        if (ValueAsReal(r, b)) {
            long double raw = static_cast<long double>(l.v.ts64), res = 0;
            outcome = FoldOutcome::Done;
            switch (op) {
                case otAdd:
                    fault = RealAdd(raw, b * kCurrencyScale, res);
                    break;
                case otSub:
                    fault = RealSubtract(raw, b * kCurrencyScale, res);
                    break;
                case otMul:
                    fault = RealMultiply(raw, b, res);
                    break;
                case otDiv:
                case otIntDiv:
                    fault = RealDivide(raw, b, res);
                    break;
                default:
                    isCompare = true;
                    if (!CompareResult(op, raw, b * kCurrencyScale, cmp)) outcome = FoldOutcome::Failed;
                    break;
            }
            if (fault == ArithFault::None && outcome == FoldOutcome::Done && !isCompare)
                fault = RoundToInt64(res, l.v.ts64);
            if (fault != ArithFault::None) outcome = FoldOutcome::Fault;
        }
    } else if (code == btString || code == btChar) {
        std::string a, b;
        ValueAsAnsi(l, a);
        const uint8_t rc = r.FType->BaseType;
        std::u16string wa, wb;
        if (op == otAdd && (rc == btWideChar || rc == btWideString || rc == btUnicodeString) &&
            ValueAsWide(l, wa) && ValueAsWide(r, wb)) {
            // Joined with wide text the result is a UnicodeString, as the expression is typed;
            // made single-byte, characters without a Windows-1252 form would be lost.
            TIfRVariant res(BaseTypeDef(btUnicodeString));
            res.WStr = wa + wb;
            l = res;
            outcome = FoldOutcome::Done;
        } else if (op == otAdd && ValueAsAnsi(r, b)) {
            TIfRVariant res(code == btChar ? BaseTypeDef(btString) : l.FType);
            res.Str = a + b;
            l = res;
            outcome = FoldOutcome::Done;
        } else if (IsRelational(op) && ValueAsAnsi(r, b)) {
            // Texts and characters compare byte by byte, as the run-time comparison does.
            isCompare = true;
            CompareResult(op, a, b, cmp);
            outcome = FoldOutcome::Done;
        }
    } else if (code == btWideString || code == btUnicodeString || code == btWideChar) {
        std::u16string a, b;
        ValueAsWide(l, a);
        if (op == otAdd && ValueAsWide(r, b)) {
            TIfRVariant res(code == btWideChar ? BaseTypeDef(btUnicodeString) : l.FType);
            res.WStr = a + b;
            l = res;
            outcome = FoldOutcome::Done;
        } else if (IsRelational(op) && ValueAsWide(r, b)) {
            // Wide texts compare by UTF-16 code unit, as the run-time comparison does.
            isCompare = true;
            CompareResult(op, a, b, cmp);
            outcome = FoldOutcome::Done;
        }
    } else if (code == btSet && r.FType->BaseType == btSet && Unlink(r.FType) == Unlink(l.FType)) {
        outcome = FoldOutcome::Done;
        switch (op) {
            case otAdd:
                for (size_t i = 0; i < l.Str.size(); ++i) l.Str[i] = static_cast<char>(l.Str[i] | r.Str[i]);
                break;
            case otSub:
                for (size_t i = 0; i < l.Str.size(); ++i) l.Str[i] = static_cast<char>(l.Str[i] & ~r.Str[i]);
                break;
            case otMul:
                for (size_t i = 0; i < l.Str.size(); ++i) l.Str[i] = static_cast<char>(l.Str[i] & r.Str[i]);
                break;
            case otGreaterEqual:
                isCompare = true;
                cmp = SetContains(l.Str, r.Str);
                break;
            case otLessEqual:
                isCompare = true;
                cmp = SetContains(r.Str, l.Str);
                break;
            case otEqual:
                isCompare = true;
                cmp = l.Str == r.Str;
                break;
            case otNotEqual:
                isCompare = true;
                cmp = l.Str != r.Str;
                break;
            default:
                outcome = FoldOutcome::Failed;
                break;
        }
    }

    if (outcome == FoldOutcome::Fault) {
        if (recordErrors) {
            if (IsDivideByZero(fault))
                MakeError({}, ecDivideByZero, {});
            else
                MakeError({}, ecMathError, ArithFaultMessage(fault));
        }
        return false;
    }
    if (outcome == FoldOutcome::Failed) {
        if (recordErrors) MakeError({}, ecTypeMismatch, {});
        return false;
    }
    if (isCompare) setBool(cmp);
    return true;
}

}  // namespace tv::script
