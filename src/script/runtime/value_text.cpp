#include "script/runtime/value_text.h"

#include "platform/rtl/class_info.h"
#include "platform/rtl/format.h"
#include "platform/rtl/number_text.h"
#include "platform/rtl/parser.h"
#include "script/common/number_text.h"
#include "script/runtime/value_access.h"

namespace tv::script {

namespace {
constexpr std::string_view kNil = "nil";
constexpr std::string_view kPointerNil = "Nil";

// Reals the way the debugger shows them: scientific notation with "." whatever the locale.
std::string RealText(long double v) {
    TFormatSettings fs;
    fs.DecimalSeparator = '.';
    return FloatToStrF(static_cast<double>(v), TFloatFormat::ffExponent, 15, 4, fs);
}
}  // namespace

std::string TrimSpaces(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && s[a] == ' ') ++a;
    while (b > a && s[b - 1] == ' ') --b;
    return std::string(s.substr(a, b - a));
}

std::string QuoteAsLiteral(std::string_view s) {
    return QuotedFormString(s);
}

std::string QuoteAsLiteral(const UnicodeString& s) {
    const AnsiString a = UnicodeToAnsi(s);
    return QuoteAsLiteral(a.view());
}

std::string CutAtControlChar(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) >= 32) ++i;
    return std::string(s.substr(0, i));
}

std::string PropertyPathToText(TObject* obj, std::string_view path) {
    for (;;) {
        if (path.empty()) return obj->ClassName();
        const size_t dot = path.find('.');
        const std::string name = TrimSpaces(path.substr(0, dot));
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
        const TPropInfo* p = obj->ClassInfo().FindProperty(name);
        if (!p || !p->Readable()) return std::string(kUnknownIdentifier);
        const TTypeInfo& t = *p->PropType;
        switch (t.Kind) {
            case TTypeKind::Integer:
            case TTypeKind::Int64:
                return std::to_string(p->GetOrd(*obj));
            case TTypeKind::Char:
            case TTypeKind::WChar:
                return std::string("#").append(std::to_string(p->GetOrd(*obj)));
            case TTypeKind::Enumeration: {
                const int64_t v = p->GetOrd(*obj);
                return v >= 0 && static_cast<size_t>(v) < t.EnumNames.size()
                           ? t.EnumNames[static_cast<size_t>(v)]
                           : std::to_string(v);
            }
            case TTypeKind::Float:
                return FloatToText(p->GetFloat(*obj));
            case TTypeKind::String:
                return std::string("'").append(p->GetStr(*obj)).append("'");
            case TTypeKind::Set:
                return "[Set]";
            case TTypeKind::Method:
                return "[Method]";
            case TTypeKind::Variant:
                return "[Variant]";
            case TTypeKind::Record:
                return "[Record]";
            case TTypeKind::Class:
                obj = p->GetObj(*obj);
                if (!obj) return std::string(kNil);
                continue;
        }
        return "[Unknown]";
    }
}

std::string ObjectValueToText(const TPSValueRef& v, std::string_view path) {
    if (v.TypeRec->FBaseType == btClass) {
        if (!LoadPtr(v.Data)) return std::string(kNil);
        TObject* obj = LiveObjectOf(v.Data);
        return obj ? PropertyPathToText(obj, path) : std::string(kDeadObject);
    }
    if (v.TypeRec->FBaseType == btInterface) return "Interface";
    return std::string(kInvalidType);
}

std::string ValueToText(const TPSValueRef& v, std::string_view path) {
    if (!v.Data || !v.TypeRec) return std::string(kNil);
    const void* d = v.Data;
    switch (v.TypeRec->FBaseType) {
        case btU8:
        case btS8:
        case btU16:
        case btS16:
        case btS32:
        case btS64:
            return std::to_string(GetValueAsInt64(d, v.TypeRec));
        case btU32:
            return std::to_string(Load<uint32_t>(d));
        case btSingle:
        case btDouble:
        case btExtended:
            return RealText(GetValueAsReal(d, v.TypeRec));
        case btString:
        case btChar:
            return QuoteAsLiteral(GetValueAsAnsiString(d, v.TypeRec).view());
        case btWideString:
        case btWideChar:
        case btUnicodeString:
            return QuoteAsLiteral(GetValueAsUnicodeString(d, v.TypeRec));
        case btPChar: {
            const AnsiString s = AnsiString::RawGet(d);
            return s.empty() ? std::string(kNil) : QuoteAsLiteral(s.view());
        }
        case btRecord: {
            auto* rt = static_cast<const TPSTypeRec_Record*>(v.TypeRec);
            std::string out = "(";
            for (size_t i = 0; i < rt->FFieldTypes.size(); ++i) {
                if (i) out += ", ";
                out += ValueToText(FieldRef(v, static_cast<int32_t>(i)), {});
            }
            return out + ")";
        }
        case btArray:
        case btStaticArray: {
            const int32_t n =
                v.TypeRec->FBaseType == btArray
                    ? DynamicArrayLength(d, v.TypeRec)
                    : static_cast<int32_t>(static_cast<const TPSTypeRec_StaticArray*>(v.TypeRec)->FSize);
            std::string out = "[";
            for (int32_t i = 0; i < n; ++i) {
                if (i) out += ", ";
                out += ValueToText(ElementRef(v, i), {});
            }
            return out + "]";
        }
        case btPointer:
            return std::string(kPointerNil);
        case btProcPtr:
            return "Proc: " + std::to_string(Load<ProcPtrValue>(d).ProcNo);
        case btClass:
        case btInterface:
            return ObjectValueToText(v, path);
        case btVariant: {
            const Variant var = LoadVariant(d);
            try {
                if (var.VarType() == varDispatch) return "Variant(IDispatch)";
                if (var.IsNull()) return "Null";
                if (var.IsString()) return QuoteAsLiteral(var.AsUnicode());
                return var.AsUtf8();
            } catch (const std::exception& e) {
                return Format(kExceptionText, {std::string_view(e.what())});
            }
        }
        default:
            return std::string(kInvalidValue);
    }
}

}  // namespace tv::script
