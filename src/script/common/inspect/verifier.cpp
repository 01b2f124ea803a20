#include "script/common/inspect/verifier.h"

#include <map>

#include "script/common/bytecode.h"
#include "script/common/inspect/disassembler.h"

namespace tv::script {

namespace {

// Number of parameter slots (a function's result included) from an export declaration.
uint32_t ParamSlots(const std::string& decl) {
    uint32_t words = 0;
    bool inWord = false;
    for (char ch : decl) {
        if (ch == ' ') {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    if (words == 0) return 0;
    bool function = decl.rfind("-1", 0) != 0;
    return (words - 1) + (function ? 1 : 0);
}

struct ProcChecker {
    const Container& c;
    const ContainerProc& proc;
    size_t procNo;
    std::vector<std::string>& problems;
    std::map<uint32_t, DecodedInstruction> code;

    void Problem(uint32_t at, const std::string& what) {
        problems.push_back("proc " + std::to_string(procNo) + " @" + std::to_string(at) + ": " + what);
    }

    bool Decode() {
        uint32_t pos = 0;
        while (pos < proc.code.size()) {
            DecodedInstruction ins;
            std::string error;
            if (!DecodeInstruction(c, proc.code, pos, ins, error)) {
                Problem(pos, error);
                return false;
            }
            code[pos] = ins;
            pos += ins.length;
        }
        return true;
    }

    void CheckVar(uint32_t at, uint32_t var, uint32_t depth, uint32_t paramSlots) {
        if (var < kFirstStackVariable) {
            if (var >= c.vars.size()) Problem(at, "global " + std::to_string(var) + " beyond the variables");
        } else if (var > kStackBaseVariable) {
            uint32_t slot = var - kStackBaseVariable - 1;
            if (slot >= depth)
                Problem(at, "stack slot L" + std::to_string(slot) + " not pushed (depth " +
                                std::to_string(depth) + ")");
        } else if (var < kStackBaseVariable) {
            uint32_t n = kStackBaseVariable - 1 - var;
            if (n >= paramSlots) Problem(at, "parameter P" + std::to_string(n) + " beyond the declaration");
        } else {
            Problem(at, "the stack base is no variable");
        }
    }

    void Run() {
        if (!Decode()) return;
        const uint32_t paramSlots = ParamSlots(proc.decl);
        std::map<uint32_t, uint32_t> depthAt;
        std::vector<uint32_t> work;
        auto reach = [&](uint32_t from, int64_t target, uint32_t depth) {
            if (target < 0 || !code.count(static_cast<uint32_t>(target))) {
                Problem(from,
                        "jump to " + std::to_string(target) + " is not an instruction of the procedure");
                return;
            }
            auto [it, fresh] = depthAt.emplace(static_cast<uint32_t>(target), depth);
            if (fresh)
                work.push_back(static_cast<uint32_t>(target));
            else if (it->second != depth)
                Problem(from, "stack depth " + std::to_string(depth) + " meets " +
                                  std::to_string(it->second) + " at " + std::to_string(target));
        };
        depthAt[0] = 0;
        work.push_back(0);
        while (!work.empty()) {
            uint32_t at = work.back();
            work.pop_back();
            const DecodedInstruction& ins = code[at];
            uint32_t depth = depthAt[at];
            for (const DecodedOperand& op : ins.operands) {
                if (op.kind == okConstant) continue;
                CheckVar(at, op.var, depth, paramSlots);
                if (op.kind == okElementVariable) CheckVar(at, op.index, depth, paramSlots);
            }
            const uint32_t next = at + ins.length;
            auto fall = [&](uint32_t d) {
                if (next >= proc.code.size())
                    Problem(at, "runs past the end of the code");
                else
                    reach(at, next, d);
            };
            switch (ins.opcode) {
                case opPushNew:
                    if (ins.number >= c.types.size())
                        Problem(at, "type " + std::to_string(ins.number) + " out of range");
                    fall(depth + 1);
                    break;
                case opPushValue:
                case opPushReference:
                    fall(depth + 1);
                    break;
                case opPop:
                    if (depth == 0)
                        Problem(at, "pop of an empty stack");
                    else
                        fall(depth - 1);
                    break;
                case opCall:
                    if (ins.number >= c.procs.size())
                        Problem(at, "procedure " + std::to_string(ins.number) + " out of range");
                    fall(depth);
                    break;
                case opJump:
                    reach(at, ins.targets[0], depth);
                    break;
                case opPopJump:
                case opPopPopJump: {
                    uint32_t n = ins.opcode == opPopJump ? 1 : 2;
                    if (depth < n)
                        Problem(at, "pop of an empty stack");
                    else
                        reach(at, ins.targets[0], depth - n);
                    break;
                }
                case opJumpIfNotZero:
                case opJumpIfZero:
                case opJumpIfFlag:
                    reach(at, ins.targets[0], depth);
                    fall(depth);
                    break;
                case opReturn:
                    break;
                case opPushFrame:
                    for (int64_t t : ins.targets)
                        if (t >= 0) reach(at, t, depth);
                    fall(depth);
                    break;
                case opPopFrame:
                    if (ins.sub == frameLeave)
                        fall(depth);
                    else if (ins.sub > frameLeave)
                        Problem(at, "unknown frame subcode " + std::to_string(ins.sub));
                    break;
                default:
                    fall(depth);
                    break;
            }
        }
    }
};

}  // namespace

std::vector<std::string> VerifyContainer(std::string_view bytes) {
    std::vector<std::string> problems;
    Container c;
    std::string error;
    if (!ReadContainer(bytes, c, error)) {
        problems.push_back("container: " + error);
        return problems;
    }
    for (size_t i = 0; i < c.procs.size(); ++i) {
        if (c.procs[i].external) continue;
        ProcChecker checker{c, c.procs[i], i, problems, {}};
        checker.Run();
    }
    return problems;
}

}  // namespace tv::script
