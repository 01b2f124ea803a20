#pragma once
// The tokenizer of the script language: splits single-byte script text into tokens with their byte
// positions, rows and columns. The compiler reads every script and every host declaration text
// through it. It never raises: a bad token is reported through OnParserError and the parser then
// stands at the end of the input.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tv::script {

// Token kinds, numbered in this order from 0 (the attribute tokens of the compiler store numbers).
enum TPSPasToken : uint8_t {
    CSTI_EOF,
    CSTIINT_Comment,
    CSTIINT_WhiteSpace,
    CSTI_Identifier,
    CSTI_SemiColon,
    CSTI_Comma,
    CSTI_Period,
    CSTI_Colon,
    CSTI_OpenRound,
    CSTI_CloseRound,
    CSTI_OpenBlock,
    CSTI_CloseBlock,
    CSTI_Assignment,
    CSTI_Equal,
    CSTI_NotEqual,
    CSTI_Greater,
    CSTI_GreaterEqual,
    CSTI_Less,
    CSTI_LessEqual,
    CSTI_Plus,
    CSTI_Minus,
    CSTI_Divide,
    CSTI_Multiply,
    CSTI_Integer,
    CSTI_Real,
    CSTI_String,
    CSTI_Char,
    CSTI_HexInt,
    CSTI_AddressOf,
    CSTI_Dereference,
    CSTI_TwoDots,
    CSTII_and,
    CSTII_array,
    CSTII_begin,
    CSTII_case,
    CSTII_const,
    CSTII_div,
    CSTII_do,
    CSTII_downto,
    CSTII_else,
    CSTII_end,
    CSTII_for,
    CSTII_function,
    CSTII_if,
    CSTII_in,
    CSTII_mod,
    CSTII_not,
    CSTII_of,
    CSTII_or,
    CSTII_procedure,
    CSTII_program,
    CSTII_repeat,
    CSTII_record,
    CSTII_set,
    CSTII_shl,
    CSTII_shr,
    CSTII_then,
    CSTII_to,
    CSTII_type,
    CSTII_until,
    CSTII_uses,
    CSTII_var,
    CSTII_while,
    CSTII_with,
    CSTII_xor,
    CSTII_exit,
    CSTII_class,
    CSTII_constructor,
    CSTII_destructor,
    CSTII_inherited,
    CSTII_private,
    CSTII_public,
    CSTII_published,
    CSTII_protected,
    CSTII_property,
    CSTII_virtual,
    CSTII_override,
    CSTII_As,
    CSTII_Is,
    CSTII_Unit,
    CSTII_Try,
    CSTII_Except,
    CSTII_Finally,
    CSTII_External,
    CSTII_Forward,
    CSTII_Export,
    CSTII_Label,
    CSTII_Goto,
    CSTII_Chr,
    CSTII_Ord,
    CSTII_Interface,
    CSTII_Implementation,
    CSTII_initialization,
    CSTII_finalization,
    CSTII_out,
    CSTII_nil,
};

enum TPSParserErrorKind : uint8_t { iNoError, iCommentError, iStringError, iCharError, iSyntaxError };

class TPSPascalParser {
public:
    using TPSParserErrorEvent = std::function<void(TPSPascalParser&, TPSParserErrorKind)>;

    // Copies the text, starts at position 0, row 1, and reads the first token.
    void SetText(std::string_view text);
    // Advances to the next token, skipping comments and white space unless they are enabled.
    void Next();

    TPSPasToken CurrTokenID() const { return tokenId_; }
    uint32_t CurrTokenPos() const { return realPosition_; }
    // Identifiers: the upper-case form; literals: the raw text; keywords and symbols: empty.
    const std::string& GetToken() const { return token_; }
    // Identifiers as written; otherwise as GetToken.
    const std::string& OriginalToken() const { return originalToken_; }
    uint32_t Row() const { return row_; }
    uint32_t Col() const { return realPosition_ - lastEnterPos_ + 1; }
    // Length in bytes of the current token.
    uint32_t TokenLength() const { return tokenLength_; }

    TPSParserErrorEvent OnParserError;
    bool EnableComments = false;
    bool EnableWhitespaces = false;

private:
    TPSParserErrorKind Scan();  // one token at realPosition_, sets tokenId_ and tokenLength_
    void CountLineBreak(uint32_t& pos);

    std::string data_;  // the text, always followed by a zero byte
    bool hasText_ = false;
    bool stopped_ = false;  // after a scanner error: end of input until the next SetText
    uint32_t realPosition_ = 0;
    uint32_t tokenLength_ = 0;
    TPSPasToken tokenId_ = CSTI_EOF;
    uint32_t row_ = 1;
    uint32_t lastEnterPos_ = 0;
    std::string token_;
    std::string originalToken_;
};

// The keyword token of an upper-case word, or CSTI_Identifier.
TPSPasToken KeywordToken(std::string_view upperWord);

}  // namespace tv::script
