#include "script/compiler/pre_processor.h"

#include <algorithm>

#include "script/common/names.h"
#include "script/compiler/comment_scanner.h"
#include "script/compiler/pascal_compiler.h"

namespace tv::script {

namespace {

// A pattern with its two "%s" filled in, in order (the first argument is never searched again).
std::string Fill(std::string_view pattern, std::string_view a, std::string_view b) {
    size_t first = pattern.find("%s");
    std::string rest = FormatOne(pattern.substr(first + 2), b);
    return std::string(pattern.substr(0, first)).append(a).append(rest);
}

// A pattern "... '%s' at %d:%d" with the file, row and column filled in.
std::string AtRowCol(std::string_view pattern, std::string_view file, uint32_t row, uint32_t col) {
    size_t name = pattern.find("%s");
    size_t at = pattern.find("%d:%d");
    return std::string(pattern.substr(0, name))
        .append(file)
        .append(pattern.substr(name + 2, at - name - 2))
        .append(std::to_string(row))
        .append(":")
        .append(std::to_string(col))
        .append(pattern.substr(at + 5));
}

}  // namespace

// --- tokenizer ---

void TPSPascalPreProcessorParser::SetText(std::string_view text) {
    text_.assign(text);
    text_.push_back('\0');
    next_ = 0;
    row_ = 1;
    lineStart_ = 0;
    if (OnNewLine) OnNewLine(0);
    Next();
}

void TPSPascalPreProcessorParser::LineBreak(uint32_t& p) {
    // A CR directly followed by LF is one line break.
    if (text_[p] == '\r' && text_[p + 1] == '\n') ++p;
    ++p;
    ++row_;
    lineStart_ = p;
    if (OnNewLine) OnNewLine(p);
}

void TPSPascalPreProcessorParser::Next() {
    const char* d = text_.data();
    uint32_t p = next_;
    Pos = p;
    Row = row_;
    Col = p - lineStart_ + 1;
    auto advance = [&](uint32_t& at) {
        if (d[at] == '\r' || d[at] == '\n')
            LineBreak(at);
        else
            ++at;
    };
    switch (d[p]) {
        case '\0':
            TokenId = ptEOF;
            Token = {};
            return;
        case '{':
        case '(':
        case '/':
        case '\'': {
            // Unclosed comments and strings are passed on as text: the compiler reports them.
            TokenId = d[p] == '{' && d[p + 1] == '$' ? ptDefine : ptOther;
            const TSkipResult skipped = SkipCommentOrString(d, p, [this](uint32_t& at) { LineBreak(at); });
            if (skipped.kind == TSkippedText::None)
                ++p;
            else if (skipped.kind == TSkippedText::String && !skipped.closed && d[p] != '\0')
                LineBreak(p);  // a string ends with its line
            break;
        }
        default:
            while (d[p] != '\0' && d[p] != '\'' && d[p] != '(' && d[p] != '/' && d[p] != '{') advance(p);
            TokenId = ptOther;
            break;
    }
    Token = std::string_view(d + Pos, p - Pos);
    next_ = p;
}

// --- line map ---

bool TPSLineInfoList::GetLineInfo(std::string_view moduleName, uint32_t pos,
                                  TPSLineInfoResults& result) const {
    const std::string module = AsciiUpperCase(moduleName);
    for (size_t i = Items.size(); i-- > 0;) {
        const TPSLineInfo& info = Items[i];
        bool match = module.empty() ? pos >= info.StartPos && pos < info.EndPos
                                    : AsciiUpperCase(info.FileName) == module;
        if (!match) continue;
        uint32_t rel = pos - info.StartPos;
        result.Name = info.FileName;
        result.Pos = rel;
        result.Row = 1;
        result.Col = 1;
        // The line starts are recorded in increasing order: the line is the last one starting at or
        // before the position, found by halving (every message and debug position asks here).
        const auto after = std::upper_bound(info.LineOffsets.begin(), info.LineOffsets.end(), rel);
        if (after != info.LineOffsets.begin()) {
            const size_t k = static_cast<size_t>(after - info.LineOffsets.begin()) - 1;
            result.Row = static_cast<uint32_t>(k + 1);
            result.Col = rel - info.LineOffsets[k] + 1;
        }
        return true;
    }
    return false;
}

// --- pre-processor ---

TPSPreProcessor::TPSPreProcessor() {
    AddPredefinedDefines();
}

void TPSPreProcessor::AddPredefinedDefines() {
    for (const char* name : {"VER23", "CPU386", "MSWINDOWS", "WIN32"}) AddDefine(name);
}

void TPSPreProcessor::AddDefine(std::string_view name) {
    std::string upper = AsciiUpperCase(name);
    if (!IsDefined(upper)) currentDefines_.push_back(upper);
}

bool TPSPreProcessor::IsDefined(std::string_view upperName) const {
    return std::find(currentDefines_.begin(), currentDefines_.end(), upperName) != currentDefines_.end();
}

void TPSPreProcessor::Clear() {
    states_.clear();
    Defines.clear();
    currentDefines_.clear();
    lineInfo_.Clear();
    MainFile.clear();
}

void TPSPreProcessor::PreProcess(const std::string& fileName, std::string& output) {
    positionShift_ = 0;
    currentDefines_.clear();
    for (const std::string& d : Defines) AddDefine(d);
    AddPredefinedDefines();
    output.clear();
    ProcessFile(0, {}, fileName, output);
    if (!states_.empty()) throw EPSPreProcessor(std::string(kPreDefineNotClosed));
}

void TPSPreProcessor::ProcessFile(int level, const std::string& includingFile, const std::string& fileNameIn,
                                  std::string& output) {
    if (level > MaxLevel) throw EPSPreProcessor(Fill(kPreTooManyIncludes, fileNameIn, includingFile));
    std::string fileName = fileNameIn;
    std::string text;
    if (level == 0) {
        text = MainFile;
    } else if (!OnNeedFile || !OnNeedFile(*this, includingFile, fileName, text)) {
        throw EPSPreProcessor(Fill(kPreFileNotFound, fileName, includingFile));
    }
    lineInfo_.Items.push_back({fileName, static_cast<uint32_t>(output.size()), 0, {}});
    const size_t range = lineInfo_.Items.size() - 1;
    lineInfo_.Current = static_cast<int>(range);

    TPSPascalPreProcessorParser parser;
    parser.OnNewLine = [this, range](uint32_t lineStart) {
        lineInfo_.Items[range].LineOffsets.push_back(lineStart + positionShift_);
    };
    parser.SetText(text);
    for (; parser.TokenId != ptEOF; parser.Next()) {
        if (parser.TokenId != ptDefine) {
            if (Active())
                output.append(parser.Token);
            else
                output.append(parser.Token.size(), ' ');
            continue;
        }
        // "{$NAME param}": the name upper-cased, the rest as the parameter.
        std::string_view body = parser.Token.substr(2);
        if (!body.empty() && body.back() == '}') body.remove_suffix(1);
        while (!body.empty() && body.back() == ' ') body.remove_suffix(1);
        size_t blank = body.find(' ');
        std::string name = AsciiUpperCase(body.substr(0, blank));
        std::string param =
            blank == std::string_view::npos ? std::string() : std::string(body.substr(blank + 1));
        const bool active = Active();
        const uint32_t row = parser.Row, col = parser.Col, offset = parser.Pos;
        const size_t length = parser.Token.size();
        auto fail = [&](std::string_view pattern) {
            throw EPSPreProcessor(AtRowCol(pattern, fileName, row, col));
        };
        auto oneWord = [&] {
            if (param.find(' ') != std::string::npos) fail(kPreTooManyParameters);
        };
        bool handle = true;
        if (OnProcessDirective) OnProcessDirective(*this, parser, active, param, name, handle);
        if (handle) {
            if (name == "I" || name == "INCLUDE") {
                if (active) {
                    positionShift_ = 0;
                    ProcessFile(level + 1, fileName, param, output);
                    lineInfo_.Current = static_cast<int>(range);
                    positionShift_ =
                        static_cast<uint32_t>(output.size() - lineInfo_.Items[range].StartPos - offset);
                }
            } else if (name == "DEFINE" || name == "UNDEF") {
                if (active) {
                    oneWord();
                    std::string upper = AsciiUpperCase(param);
                    if (name == "DEFINE")
                        AddDefine(upper);
                    else
                        currentDefines_.erase(
                            std::remove(currentDefines_.begin(), currentDefines_.end(), upper),
                            currentDefines_.end());
                }
            } else if (name == "IFDEF" || name == "IFNDEF") {
                oneWord();
                bool defined = IsDefined(AsciiUpperCase(param));
                states_.push_back({false, (name == "IFDEF" ? defined : !defined) && active});
            } else if (name == "ELSE") {
                if (!param.empty()) fail(kPreTooManyParameters);
                if (states_.empty()) fail(kPreNoIfdefForElse);
                if (states_.back().InElse) fail(kPreElseTwice);
                states_.back().InElse = true;
                states_.back().DoWrite = !states_.back().DoWrite && EnclosingActive();
            } else if (name == "ENDIF") {
                if (states_.empty()) fail(kPreNoIfdefForEndif);
                states_.pop_back();
            } else {
                bool unknown = true;
                if (OnProcessUnknowDirective)
                    OnProcessUnknowDirective(*this, parser, active, param, name, unknown);
                if (unknown) fail(kPreUnknownDirective);
            }
        }
        output.append(length, ' ');
    }
    lineInfo_.Items[range].EndPos = static_cast<uint32_t>(output.size());
}

void TPSPreProcessor::AdjustMessages(TPSPascalCompiler& compiler) const {
    for (size_t i = 0; i < compiler.MsgCount(); ++i) {
        TPSPascalCompilerMessage* m = compiler.Msg(i);
        TPSLineInfoResults r;
        if (!lineInfo_.GetLineInfo(m->ModuleName, m->Pos, r)) continue;
        m->SetCustomPos(r.Pos, r.Row, r.Col);
        m->ModuleName = r.Name;
    }
}

}  // namespace tv::script
