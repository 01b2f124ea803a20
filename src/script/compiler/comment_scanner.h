#pragma once
// How script text skips its comments and string literals, one rule for the tokenizer and the
// pre-processor: "{...}" and "(*...*)" may span lines, "//" runs to the line end, and a string in
// quotes ('' stands for one quote) ends at its line.

#include <cstdint>

namespace tv::script {

enum class TSkippedText : uint8_t { None, Comment, String };

struct TSkipResult {
    TSkippedText kind = TSkippedText::None;
    bool closed = true;  // false: the text (for a string: the line) ended first
};

// Skips the comment or string that starts at d[p] in a zero-terminated text and leaves p after it;
// None (p unmoved) when none starts there, as at a lone "(" or "/". Each line break inside a comment
// is passed to `lineBreak(p)`, which steps p past it. An unclosed comment leaves p at the text's end,
// an unclosed string at its line break or the text's end.
template <class LineBreak>
TSkipResult SkipCommentOrString(const char* d, uint32_t& p, LineBreak&& lineBreak) {
    auto isBreak = [d](uint32_t at) { return d[at] == '\r' || d[at] == '\n'; };
    auto skipUntil = [&](auto atEnd) {
        while (!atEnd()) {
            if (d[p] == '\0') return false;
            if (isBreak(p))
                lineBreak(p);
            else
                ++p;
        }
        return true;
    };
    switch (d[p]) {
        case '{': {
            ++p;
            if (!skipUntil([&] { return d[p] == '}'; })) return {TSkippedText::Comment, false};
            ++p;
            return {TSkippedText::Comment, true};
        }
        case '(': {
            if (d[p + 1] != '*') return {};
            p += 2;
            if (!skipUntil([&] { return d[p] == '*' && d[p + 1] == ')'; }))
                return {TSkippedText::Comment, false};
            p += 2;
            return {TSkippedText::Comment, true};
        }
        case '/':
            if (d[p + 1] != '/') return {};
            while (d[p] != '\0' && !isBreak(p)) ++p;
            return {TSkippedText::Comment, true};
        case '\'':
            ++p;
            for (;;) {
                if (d[p] == '\0' || isBreak(p)) return {TSkippedText::String, false};
                if (d[p] == '\'') {
                    if (d[p + 1] != '\'') break;
                    ++p;
                }
                ++p;
            }
            ++p;
            return {TSkippedText::String, true};
        default:
            return {};
    }
}

}  // namespace tv::script
