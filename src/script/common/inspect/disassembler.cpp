#include "script/common/inspect/disassembler.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "script/common/byte_io.h"
#include "script/common/bytecode.h"
#include "script/common/extended.h"

namespace tv::script {

namespace {

constexpr const char* kCalcNames[] = {"+", "-", "*", "/", "mod", "shl", "shr", "and", "or", "xor", "as"};
constexpr const char* kCompareNames[] = {">=", "<=", ">", "<", "<>", "=", "in", "is"};

// A letter and a number (built by appending: GCC 12 misreads "x" + std::to_string(n) at -O3).
std::string Tagged(char tag, uint64_t n) {
    std::string s(1, tag);
    return s.append(std::to_string(n));
}

std::string VarName(uint32_t v) {
    if (v < kFirstStackVariable) return Tagged('G', v);
    if (v > kStackBaseVariable) return Tagged('L', v - kStackBaseVariable - 1);
    if (v < kStackBaseVariable) return Tagged('P', kStackBaseVariable - 1 - v);
    return "BASE";
}

// Characters (bytes or UTF-16 code units) as a quoted literal: printable ASCII as it is, every
// other character as #code.
template <class Char>
std::string QuoteText(std::basic_string_view<Char> s) {
    std::string out = "'";
    for (Char c : s) {
        const auto ch = static_cast<std::make_unsigned_t<Char>>(c);
        if (ch == '\'')
            out += "''";
        else if (ch < 32 || ch >= 127)
            out += "'#" + std::to_string(ch) + "'";
        else
            out.push_back(static_cast<char>(ch));
    }
    out += "'";
    return out;
}

template <class T>
std::string Shortest(T v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool ReadConstant(const Container& c, ByteReader& r, DecodedOperand& op, std::string& error) {
    if (!r.ReadU32(op.typeNo)) return error = "short constant", false;
    if (op.typeNo >= c.types.size()) return error = "constant type out of range", false;
    const ContainerType& t = c.types[op.typeNo];
    std::string value;
    uint8_t b8 = 0;
    uint16_t b16 = 0;
    uint32_t b32 = 0;
    uint64_t b64 = 0;
    std::string_view bytes;
    bool ok = true;
    switch (t.code) {
        case btU8:
            ok = r.ReadU8(b8);
            value = std::to_string(b8);
            break;
        case btS8:
            ok = r.ReadU8(b8);
            value = std::to_string(static_cast<int8_t>(b8));
            break;
        case btChar:
            ok = r.ReadU8(b8);
            value = Tagged('#', b8);
            break;
        case btU16:
            ok = r.ReadU16(b16);
            value = std::to_string(b16);
            break;
        case btS16:
            ok = r.ReadU16(b16);
            value = std::to_string(static_cast<int16_t>(b16));
            break;
        case btWideChar:
            ok = r.ReadU16(b16);
            value = Tagged('#', b16);
            break;
        case btU32:
        case btProcPtr:
            ok = r.ReadU32(b32);
            value = std::to_string(b32);
            break;
        case btS32:
            ok = r.ReadU32(b32);
            value = std::to_string(static_cast<int32_t>(b32));
            break;
        case btSingle: {
            ok = r.ReadU32(b32);
            float f;
            std::memcpy(&f, &b32, 4);
            value = Shortest(f);
            break;
        }
        case btDouble: {
            ok = r.ReadU64(b64);
            double d;
            std::memcpy(&d, &b64, 8);
            value = Shortest(d);
            break;
        }
        case btS64:
        case btCurrency:
            ok = r.ReadU64(b64);
            value = std::to_string(static_cast<int64_t>(b64));
            break;
        case btExtended:
            ok = r.ReadBytes(10, bytes);
            if (ok)
                value = Shortest(
                    static_cast<double>(DecodeExtended(reinterpret_cast<const uint8_t*>(bytes.data()))));
            break;
        case btString:
        case btPChar:
            ok = r.ReadString32(bytes);
            if (ok) value = QuoteText(bytes);
            break;
        case btWideString:
        case btUnicodeString: {
            ok = r.ReadU32(b32) && r.ReadBytes(static_cast<size_t>(b32) * 2, bytes);
            if (!ok) break;
            std::u16string units;
            for (size_t i = 0; i < bytes.size(); i += 2)
                units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                      static_cast<unsigned char>(bytes[i + 1]) << 8));
            value = "u";
            value += QuoteText(std::u16string_view(units));
            break;
        }
        case btSet: {
            ok = r.ReadBytes((t.setBits + 7) / 8, bytes);
            value = "[";
            char buf[4];
            for (size_t i = 0; ok && i < bytes.size(); ++i) {
                std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
                if (i) value += " ";
                value += buf;
            }
            value += "]";
            break;
        }
        default:
            error = "constant of type code ";
            error += std::to_string(t.code);
            return false;
    }
    if (!ok) return error = "short constant", false;
    op.text = Tagged('#', op.typeNo);
    op.text.append(":").append(value);
    return true;
}

bool ReadOperand(const Container& c, ByteReader& r, DecodedOperand& op, std::string& error) {
    if (!r.ReadU8(op.kind)) return error = "short operand", false;
    switch (op.kind) {
        case okVariable:
            if (!r.ReadU32(op.var)) return error = "short operand", false;
            op.text = VarName(op.var);
            return true;
        case okConstant:
            return ReadConstant(c, r, op, error);
        case okElementConstant:
            if (!r.ReadU32(op.var) || !r.ReadU32(op.index)) return error = "short operand", false;
            op.text = VarName(op.var) + "[" + std::to_string(op.index) + "]";
            return true;
        case okElementVariable:
            if (!r.ReadU32(op.var) || !r.ReadU32(op.index)) return error = "short operand", false;
            op.text = VarName(op.var) + "[" + VarName(op.index) + "]";
            return true;
        default:
            return error = "operand kind " + std::to_string(op.kind), false;
    }
}

}  // namespace

bool DecodeInstruction(const Container& c, std::string_view code, uint32_t pos, DecodedInstruction& ins,
                       std::string& error) {
    ByteReader r(code, pos);
    ins = DecodedInstruction();
    ins.offset = pos;
    if (!r.ReadU8(ins.opcode)) return error = "no instruction", false;
    auto operands = [&](int n) {
        for (int i = 0; i < n; ++i) {
            DecodedOperand op;
            if (!ReadOperand(c, r, op, error)) return false;
            ins.operands.push_back(op);
        }
        return true;
    };
    auto jump = [&]() {
        uint32_t d = 0;
        if (!r.ReadU32(d)) return error = "short jump", false;
        ins.targets.push_back(static_cast<int64_t>(r.Position()) + static_cast<int32_t>(d));
        return true;
    };
    bool ok = true;
    switch (ins.opcode) {
        case opAssign:
        case opSetPointer:
        case opSetPointerCopy:
            ok = operands(2);
            break;
        case opCalculate:
            ok = r.ReadU8(ins.sub) && ins.sub <= calcAs;
            if (!ok) return error = "bad operator byte", false;
            ok = operands(2);
            break;
        case opPushValue:
        case opCallValue:
        case opBooleanNot:
        case opNegate:
        case opBitwiseNot:
        case opIncrement:
        case opDecrement:
        case opPushReference:
            ok = operands(1);
            break;
        case opPop:
        case opReturn:
        case opNop:
            break;
        case opCall:
        case opPushNew:
            ok = r.ReadU32(ins.number);
            if (!ok) error = "short instruction";
            break;
        case opJump:
        case opJumpIfFlag:
        case opPopJump:
        case opPopPopJump:
            ok = jump();
            break;
        case opJumpIfNotZero:
        case opJumpIfZero: {
            uint32_t d = 0;
            if (!r.ReadU32(d)) return error = "short jump", false;
            ok = operands(1);
            if (ok) ins.targets.push_back(static_cast<int64_t>(r.Position()) + static_cast<int32_t>(d));
            break;
        }
        case opCompare:
            ok = r.ReadU8(ins.sub) && ins.sub <= cmpIs;
            if (!ok) return error = "bad comparison byte", false;
            ok = operands(3);
            break;
        case opSetFlag:
            ok = operands(1) && r.ReadU8(ins.sub);
            if (!ok && error.empty()) error = "short instruction";
            break;
        case opPushFrame: {
            uint32_t d[4];
            for (uint32_t& x : d)
                if (!r.ReadU32(x)) return error = "short frame", false;
            for (uint32_t x : d)
                ins.targets.push_back(
                    x == 0xFFFFFFFF ? -1 : static_cast<int64_t>(r.Position()) + static_cast<int32_t>(x));
            break;
        }
        case opPopFrame:
            ok = r.ReadU8(ins.sub);
            if (!ok) error = "short instruction";
            break;
        default:
            return error = "invalid opcode " + std::to_string(ins.opcode), false;
    }
    if (!ok) return false;
    ins.length = static_cast<uint32_t>(r.Position() - pos);
    return true;
}

std::string FormatInstruction(const DecodedInstruction& ins) {
    auto ops = [&](size_t from = 0) {
        std::string s;
        for (size_t i = from; i < ins.operands.size(); ++i)
            s += (i > from ? ", " : "") + ins.operands[i].text;
        return s;
    };
    auto target = [&](size_t i) {
        return ins.targets[i] < 0 ? std::string("-") : std::to_string(ins.targets[i]);
    };
    std::string s = std::to_string(ins.offset) + ": ";
    switch (ins.opcode) {
        case opAssign:
            return s + "ASSIGN " + ops();
        case opCalculate:
            return s + "CALC " + kCalcNames[ins.sub] + " " + ops();
        case opPushValue:
            return s + "PUSHV " + ops();
        case opPushReference:
            return s + "PUSHREF " + ops();
        case opPop:
            return s + "POP";
        case opCall:
            return s + "CALL " + std::to_string(ins.number);
        case opJump:
            return s + "JUMP " + target(0);
        case opJumpIfNotZero:
            return s + "JNZ " + target(0) + ", " + ops();
        case opJumpIfZero:
            return s + "JZ " + target(0) + ", " + ops();
        case opReturn:
            return s + "RET";
        case opPushNew:
            return s + "PUSHNEW " + std::to_string(ins.number);
        case opCompare:
            return s + "CMP " + kCompareNames[ins.sub] + " " + ops();
        case opCallValue:
            return s + "CALLV " + ops();
        case opSetPointer:
            return s + "SETPTR " + ops();
        case opBooleanNot:
            return s + "BNOT " + ops();
        case opNegate:
            return s + "NEG " + ops();
        case opSetFlag:
            return s + "SETFLAG " + ops() + ", " + std::to_string(ins.sub);
        case opJumpIfFlag:
            return s + "JF " + target(0);
        case opPushFrame:
            return s + "FRAME " + target(0) + ", " + target(1) + ", " + target(2) + ", " + target(3);
        case opPopFrame:
            return s + "POPFRAME " + std::to_string(ins.sub);
        case opBitwiseNot:
            return s + "INOT " + ops();
        case opSetPointerCopy:
            return s + "SETCOPY " + ops();
        case opIncrement:
            return s + "INC " + ops();
        case opDecrement:
            return s + "DEC " + ops();
        case opPopJump:
            return s + "POPJUMP " + target(0);
        case opPopPopJump:
            return s + "POP2JUMP " + target(0);
        case opNop:
            return s + "NOP";
        default:
            return s + "???";
    }
}

std::string DisassembleCode(const Container& c, std::string_view code) {
    std::string out;
    uint32_t pos = 0;
    while (pos < code.size()) {
        DecodedInstruction ins;
        std::string error;
        if (!DecodeInstruction(c, code, pos, ins, error)) {
            out += std::to_string(pos) + ": ??? " + error + "\n";
            break;
        }
        out += FormatInstruction(ins) + "\n";
        pos += ins.length;
    }
    return out;
}

std::string DisassembleContainer(const Container& c) {
    std::string out = "build " + std::to_string(c.build) + ", main " +
                      (c.mainProc == kNoMainProc ? std::string("none") : std::to_string(c.mainProc)) + "\n";
    for (size_t i = 0; i < c.types.size(); ++i) {
        const ContainerType& t = c.types[i];
        out += "type " + std::to_string(i) + ": code " + std::to_string(t.code);
        if (!t.exportName.empty()) out += " " + t.exportName;
        out += "\n";
    }
    for (size_t i = 0; i < c.procs.size(); ++i) {
        const ContainerProc& p = c.procs[i];
        if (p.external) {
            out += "proc " + std::to_string(i) + ": host " +
                   (p.name.empty() ? std::string("(member)") : p.name) + "\n";
            continue;
        }
        out += "proc " + std::to_string(i) + ": " + p.name + " " + p.decl + "\n" + DisassembleCode(c, p.code);
    }
    for (size_t i = 0; i < c.vars.size(); ++i)
        out += "var " + std::to_string(i) + ": type " + std::to_string(c.vars[i].type) +
               (c.vars[i].exportName.empty() ? "" : " " + c.vars[i].exportName) + "\n";
    return out;
}

}  // namespace tv::script
