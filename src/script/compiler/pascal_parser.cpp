#include "script/compiler/pascal_parser.h"

#include <algorithm>
#include <array>

#include "script/common/names.h"
#include "script/compiler/comment_scanner.h"

namespace tv::script {

namespace {

struct Keyword {
    std::string_view word;
    TPSPasToken token;
};

// Sorted by spelling for the binary search.
constexpr std::array<Keyword, 65> kKeywords = {{
    {"AND", CSTII_and},
    {"ARRAY", CSTII_array},
    {"AS", CSTII_As},
    {"BEGIN", CSTII_begin},
    {"CASE", CSTII_case},
    {"CHR", CSTII_Chr},
    {"CLASS", CSTII_class},
    {"CONST", CSTII_const},
    {"CONSTRUCTOR", CSTII_constructor},
    {"DESTRUCTOR", CSTII_destructor},
    {"DIV", CSTII_div},
    {"DO", CSTII_do},
    {"DOWNTO", CSTII_downto},
    {"ELSE", CSTII_else},
    {"END", CSTII_end},
    {"EXCEPT", CSTII_Except},
    {"EXIT", CSTII_exit},
    {"EXPORT", CSTII_Export},
    {"EXTERNAL", CSTII_External},
    {"FINALIZATION", CSTII_finalization},
    {"FINALLY", CSTII_Finally},
    {"FOR", CSTII_for},
    {"FORWARD", CSTII_Forward},
    {"FUNCTION", CSTII_function},
    {"GOTO", CSTII_Goto},
    {"IF", CSTII_if},
    {"IMPLEMENTATION", CSTII_Implementation},
    {"IN", CSTII_in},
    {"INHERITED", CSTII_inherited},
    {"INITIALIZATION", CSTII_initialization},
    {"INTERFACE", CSTII_Interface},
    {"IS", CSTII_Is},
    {"LABEL", CSTII_Label},
    {"MOD", CSTII_mod},
    {"NIL", CSTII_nil},
    {"NOT", CSTII_not},
    {"OF", CSTII_of},
    {"OR", CSTII_or},
    {"ORD", CSTII_Ord},
    {"OUT", CSTII_out},
    {"OVERRIDE", CSTII_override},
    {"PRIVATE", CSTII_private},
    {"PROCEDURE", CSTII_procedure},
    {"PROGRAM", CSTII_program},
    {"PROPERTY", CSTII_property},
    {"PROTECTED", CSTII_protected},
    {"PUBLIC", CSTII_public},
    {"PUBLISHED", CSTII_published},
    {"RECORD", CSTII_record},
    {"REPEAT", CSTII_repeat},
    {"SET", CSTII_set},
    {"SHL", CSTII_shl},
    {"SHR", CSTII_shr},
    {"THEN", CSTII_then},
    {"TO", CSTII_to},
    {"TRY", CSTII_Try},
    {"TYPE", CSTII_type},
    {"UNIT", CSTII_Unit},
    {"UNTIL", CSTII_until},
    {"USES", CSTII_uses},
    {"VAR", CSTII_var},
    {"VIRTUAL", CSTII_virtual},
    {"WHILE", CSTII_while},
    {"WITH", CSTII_with},
    {"XOR", CSTII_xor},
}};

constexpr bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

TPSPasToken KeywordToken(std::string_view upperWord) {
    if (upperWord.size() < 2 || upperWord.size() > 14) return CSTI_Identifier;
    auto it = std::lower_bound(kKeywords.begin(), kKeywords.end(), upperWord,
                               [](const Keyword& k, std::string_view w) { return k.word < w; });
    return it != kKeywords.end() && it->word == upperWord ? it->token : CSTI_Identifier;
}

void TPSPascalParser::SetText(std::string_view text) {
    data_.assign(text);
    data_.push_back('\0');
    hasText_ = true;
    stopped_ = false;
    realPosition_ = 0;
    tokenLength_ = 0;
    tokenId_ = CSTI_EOF;
    row_ = 1;
    lastEnterPos_ = 0;
    Next();
}

void TPSPascalParser::CountLineBreak(uint32_t& pos) {
    // A CR directly followed by LF counts once; a lone CR or LF counts one line each.
    if (data_[pos] == '\r' && data_[pos + 1] == '\n') ++pos;
    ++pos;
    ++row_;
    lastEnterPos_ = pos;
}

TPSParserErrorKind TPSPascalParser::Scan() {
    const char* d = data_.data();
    uint32_t start = realPosition_;
    uint32_t p = start;
    char c = d[p];
    switch (c) {
        case '\0':
            tokenId_ = CSTI_EOF;
            tokenLength_ = 0;
            return iNoError;
        case '\t':
        case '\n':
        case '\r':
        case ' ':
            while (d[p] == '\t' || d[p] == '\n' || d[p] == '\r' || d[p] == ' ') {
                if (d[p] == '\n' || d[p] == '\r')
                    CountLineBreak(p);
                else
                    ++p;
            }
            tokenId_ = CSTIINT_WhiteSpace;
            break;
        case '{':
        case '(':
        case '/':
        case '\'': {
            const TSkipResult skipped =
                SkipCommentOrString(d, p, [this](uint32_t& at) { CountLineBreak(at); });
            if (skipped.kind == TSkippedText::None) {
                ++p;
                tokenId_ = c == '(' ? CSTI_OpenRound : CSTI_Divide;
            } else if (skipped.kind == TSkippedText::String) {
                if (!skipped.closed) return iStringError;
                tokenId_ = CSTI_String;
            } else {
                if (!skipped.closed) return iCommentError;
                tokenId_ = CSTIINT_Comment;
            }
            break;
        }
        case '#':
            ++p;
            if (d[p] == '$') {
                ++p;
                while (IsHexDigit(d[p])) ++p;
            } else {
                while (IsDigit(d[p])) ++p;
                if (IsLetter(d[p])) return iCharError;
            }
            tokenId_ = CSTI_Char;
            break;
        case '$':
            ++p;
            while (IsHexDigit(d[p])) ++p;
            tokenId_ = CSTI_HexInt;
            break;
        case '.':
            if (d[p + 1] == '.') {
                p += 2;
                tokenId_ = CSTI_TwoDots;
            } else {
                ++p;
                tokenId_ = CSTI_Period;
            }
            break;
        case ':':
            if (d[p + 1] == '=') {
                p += 2;
                tokenId_ = CSTI_Assignment;
            } else {
                ++p;
                tokenId_ = CSTI_Colon;
            }
            break;
        case '<':
            if (d[p + 1] == '=') {
                p += 2;
                tokenId_ = CSTI_LessEqual;
            } else if (d[p + 1] == '>') {
                p += 2;
                tokenId_ = CSTI_NotEqual;
            } else {
                ++p;
                tokenId_ = CSTI_Less;
            }
            break;
        case '>':
            if (d[p + 1] == '=') {
                p += 2;
                tokenId_ = CSTI_GreaterEqual;
            } else {
                ++p;
                tokenId_ = CSTI_Greater;
            }
            break;
        case '=':
            ++p;
            tokenId_ = CSTI_Equal;
            break;
        case ';':
            ++p;
            tokenId_ = CSTI_SemiColon;
            break;
        case ',':
            ++p;
            tokenId_ = CSTI_Comma;
            break;
        case ')':
            ++p;
            tokenId_ = CSTI_CloseRound;
            break;
        case '[':
            ++p;
            tokenId_ = CSTI_OpenBlock;
            break;
        case ']':
            ++p;
            tokenId_ = CSTI_CloseBlock;
            break;
        case '+':
            ++p;
            tokenId_ = CSTI_Plus;
            break;
        case '-':
            ++p;
            tokenId_ = CSTI_Minus;
            break;
        case '*':
            ++p;
            tokenId_ = CSTI_Multiply;
            break;
        case '@':
            ++p;
            tokenId_ = CSTI_AddressOf;
            break;
        case '^':
            ++p;
            tokenId_ = CSTI_Dereference;
            break;
        default:
            if (IsDigit(c)) {
                bool real = false;
                while (IsDigit(d[p])) ++p;
                if (d[p] == '.' && d[p + 1] != '.') {
                    real = true;
                    ++p;
                    while (IsDigit(d[p])) ++p;
                }
                if ((d[p] == 'e' || d[p] == 'E') &&
                    (IsDigit(d[p + 1]) || ((d[p + 1] == '+' || d[p + 1] == '-') && IsDigit(d[p + 2])))) {
                    real = true;
                    p += 2;
                    while (IsDigit(d[p])) ++p;
                }
                tokenId_ = real ? CSTI_Real : CSTI_Integer;
            } else if (IsLetter(c)) {
                while (IsLetter(d[p]) || IsDigit(d[p])) ++p;
                token_.assign(d + start, p - start);
                AsciiUpperCaseInPlace(token_);
                tokenId_ = KeywordToken(token_);
            } else {
                return iSyntaxError;
            }
            break;
    }
    tokenLength_ = p - start;
    return iNoError;
}

void TPSPascalParser::Next() {
    if (!hasText_ || stopped_) {
        if (!hasText_) realPosition_ = 0;
        tokenLength_ = 0;
        tokenId_ = CSTI_EOF;
        token_.clear();
        originalToken_.clear();
        return;
    }
    for (;;) {
        realPosition_ += tokenLength_;
        tokenLength_ = 0;
        const uint32_t tokenRow = row_, tokenLineStart = lastEnterPos_;
        TPSParserErrorKind err = Scan();
        if (err != iNoError) {
            // The error stands at the start of the bad text: an unclosed comment has counted the
            // line breaks inside it, and the column must not be taken from a line start after it.
            row_ = tokenRow;
            lastEnterPos_ = tokenLineStart;
            tokenLength_ = 0;
            tokenId_ = CSTI_EOF;
            token_.clear();
            originalToken_.clear();
            stopped_ = true;
            if (OnParserError) OnParserError(*this, err);
            return;
        }
        std::string_view raw(data_.data() + realPosition_, tokenLength_);
        switch (tokenId_) {
            case CSTIINT_Comment:
                if (!EnableComments) continue;
                token_.assign(raw);
                originalToken_.assign(raw);
                return;
            case CSTIINT_WhiteSpace:
                if (!EnableWhitespaces) continue;
                token_.assign(raw);
                originalToken_.assign(raw);
                return;
            case CSTI_Identifier:
                originalToken_.assign(raw);  // token_ holds the upper-case form already
                return;
            case CSTI_Integer:
            case CSTI_Real:
            case CSTI_String:
            case CSTI_Char:
            case CSTI_HexInt:
                token_.assign(raw);
                originalToken_.assign(raw);
                return;
            default:
                token_.clear();
                originalToken_.clear();
                return;
        }
    }
}

}  // namespace tv::script
