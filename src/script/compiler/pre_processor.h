#pragma once
// The pre-processor: turns a main script file and the files it includes into one text for the
// compiler, evaluates the conditional directives ({$IFDEF X} ... {$ELSE} ... {$ENDIF}, {$DEFINE X},
// {$UNDEF X}, {$I file}), and keeps a line map that leads every position of the produced text back
// to its file, row and column. Inactive text and directives become blanks of the same length, so
// every produced offset stands for an offset of its own file.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"

namespace tv::script {

class TPSPascalCompiler;

TV_DECLARE_EXCEPTION(EPSPreProcessor, Exception);

inline constexpr std::string_view kPreTooManyIncludes =
    "Too many nested include files while processing '%s' from '%s'";
inline constexpr std::string_view kPreFileNotFound = "Unable to find file '%s' used from '%s'";
inline constexpr std::string_view kPreDefineNotClosed = "Define not closed";
inline constexpr std::string_view kPreTooManyParameters = "Too many parameters in '%s' at %d:%d";
inline constexpr std::string_view kPreNoIfdefForElse = "No IFDEF for ELSE in '%s' at %d:%d";
inline constexpr std::string_view kPreElseTwice = "Can't use ELSE twice in '%s' at %d:%d";
inline constexpr std::string_view kPreNoIfdefForEndif = "No IFDEF for ENDIF in '%s' at %d:%d";
inline constexpr std::string_view kPreUnknownDirective = "Unknown compiler directives in '%s' at %d:%d";

enum TPSPascalPreProcessorType : uint8_t { ptEOF, ptOther, ptDefine };

// A coarse tokenizer over one file: strings, comments, directives and runs of other text.
class TPSPascalPreProcessorParser {
public:
    void SetText(std::string_view text);
    void Next();

    TPSPascalPreProcessorType TokenId = ptEOF;
    std::string_view Token;
    uint32_t Pos = 0;  // the token's offset in the file
    uint32_t Row = 1;
    uint32_t Col = 1;
    // Called at the start of the text and after every line break with the new line's offset.
    std::function<void(uint32_t lineStart)> OnNewLine;

private:
    void LineBreak(uint32_t& p);

    std::string text_;  // followed by a zero byte
    uint32_t next_ = 0;
    uint32_t row_ = 1;
    uint32_t lineStart_ = 0;
};

// One range of the produced text: the file it came from and where its lines start.
struct TPSLineInfo {
    std::string FileName;
    uint32_t StartPos = 0;
    uint32_t EndPos = 0;                // exclusive
    std::vector<uint32_t> LineOffsets;  // relative to StartPos
};

struct TPSLineInfoResults {
    std::string Name;
    uint32_t Pos = 0;
    uint32_t Row = 0;
    uint32_t Col = 0;
};

class TPSLineInfoList {
public:
    // The file, position, row and column of a produced position: searches the ranges from the last
    // created; with a module name, the range of that file.
    bool GetLineInfo(std::string_view moduleName, uint32_t pos, TPSLineInfoResults& result) const;
    void Clear() {
        Items.clear();
        Current = -1;
    }

    std::vector<TPSLineInfo> Items;
    int Current = -1;
};

class TPSPreProcessor {
public:
    using TPSOnNeedFile = std::function<bool(TPSPreProcessor&, const std::string& includingFile,
                                             std::string& fileName, std::string& output)>;
    using TPSOnProcessDirective =
        std::function<void(TPSPreProcessor&, TPSPascalPreProcessorParser&, bool active,
                           const std::string& param, const std::string& directive, bool& continueProcessing)>;

    TPSPreProcessor();
    virtual ~TPSPreProcessor() = default;

    // Adds the symbols every pre-processing knows: VER23, CPU386, MSWINDOWS and WIN32.
    virtual void AddPredefinedDefines();
    // Empties the define states, the defines, the line map and the main file.
    void Clear();
    // Processes `fileName` (the main file: MainFile's text) and its includes into `output`.
    void PreProcess(const std::string& fileName, std::string& output);
    // Rewrites every message of the compiler to the file, row and column it stands for.
    void AdjustMessages(TPSPascalCompiler& compiler) const;

    TPSLineInfoList& CurrentLineInfo() { return lineInfo_; }

    std::vector<std::string> Defines;  // the host's symbols
    std::string MainFile;
    std::string MainFileName;
    int MaxLevel = 20;
    void* ID = nullptr;
    TPSOnNeedFile OnNeedFile;
    TPSOnProcessDirective OnProcessDirective;
    TPSOnProcessDirective OnProcessUnknowDirective;

private:
    struct DefineState {
        bool InElse = false;
        bool DoWrite = true;
    };
    void ProcessFile(int level, const std::string& includingFile, const std::string& fileName,
                     std::string& output);
    bool Active() const { return states_.empty() || states_.back().DoWrite; }
    bool EnclosingActive() const { return states_.size() < 2 || states_[states_.size() - 2].DoWrite; }
    void AddDefine(std::string_view name);
    bool IsDefined(std::string_view name) const;

    std::vector<std::string> currentDefines_;
    std::vector<DefineState> states_;
    TPSLineInfoList lineInfo_;
    uint32_t positionShift_ = 0;
};

}  // namespace tv::script
