#include "script/compiler/pascal_parser.h"

#include <gtest/gtest.h>

#include <array>

namespace tv::script {
namespace {

struct Tok {
    TPSPasToken id;
    std::string token;
    std::string original;
    uint32_t pos, row, col;
    bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
    return os << "{" << static_cast<int>(t.id) << " '" << t.token << "' '" << t.original << "' " << t.pos
              << " " << t.row << ":" << t.col << "}";
}

struct Scan {
    std::vector<Tok> tokens;
    TPSParserErrorKind error = iNoError;
    int errorCalls = 0;
};

Scan ScanAll(std::string_view text, bool comments = false, bool blanks = false) {
    Scan s;
    TPSPascalParser p;
    p.EnableComments = comments;
    p.EnableWhitespaces = blanks;
    p.OnParserError = [&](TPSPascalParser&, TPSParserErrorKind k) {
        s.error = k;
        ++s.errorCalls;
    };
    p.SetText(text);
    for (int guard = 0; guard < 100; ++guard) {
        s.tokens.push_back(
            {p.CurrTokenID(), p.GetToken(), p.OriginalToken(), p.CurrTokenPos(), p.Row(), p.Col()});
        if (p.CurrTokenID() == CSTI_EOF) break;
        p.Next();
    }
    return s;
}

TEST(Tokenizer, NumbersRangesAndExponents) {
    // x:=1..3 scans as identifier, assignment, 1, two dots, 3.
    EXPECT_EQ(ScanAll("x:=1..3").tokens, (std::vector<Tok>{{CSTI_Identifier, "X", "x", 0, 1, 1},
                                                           {CSTI_Assignment, "", "", 1, 1, 2},
                                                           {CSTI_Integer, "1", "1", 3, 1, 4},
                                                           {CSTI_TwoDots, "", "", 4, 1, 5},
                                                           {CSTI_Integer, "3", "3", 6, 1, 7},
                                                           {CSTI_EOF, "", "", 7, 1, 8}}));
    EXPECT_EQ(ScanAll("1.5e-3").tokens[0], (Tok{CSTI_Real, "1.5e-3", "1.5e-3", 0, 1, 1}));
    // "1e" is the integer 1 followed by the identifier E.
    EXPECT_EQ(ScanAll("1e").tokens, (std::vector<Tok>{{CSTI_Integer, "1", "1", 0, 1, 1},
                                                      {CSTI_Identifier, "E", "e", 1, 1, 2},
                                                      {CSTI_EOF, "", "", 2, 1, 3}}));
    EXPECT_EQ(ScanAll("1.").tokens[0].id, CSTI_Real);
    EXPECT_EQ(ScanAll("2E+5").tokens[0], (Tok{CSTI_Real, "2E+5", "2E+5", 0, 1, 1}));
    EXPECT_EQ(ScanAll("2e+x").tokens[0], (Tok{CSTI_Integer, "2", "2", 0, 1, 1}));
    EXPECT_EQ(ScanAll("$1F").tokens[0], (Tok{CSTI_HexInt, "$1F", "$1F", 0, 1, 1}));
    EXPECT_EQ(ScanAll("$").tokens[0], (Tok{CSTI_HexInt, "$", "$", 0, 1, 1}));
}

TEST(Tokenizer, StringsKeepTheirQuotes) {
    EXPECT_EQ(ScanAll("'it''s'").tokens[0], (Tok{CSTI_String, "'it''s'", "'it''s'", 0, 1, 1}));
    EXPECT_EQ(ScanAll("''").tokens[0], (Tok{CSTI_String, "''", "''", 0, 1, 1}));
    // A string cut by a line break is a string error, and the parser stays at the end.
    Scan cut = ScanAll("x 'ab\ncd' y");
    EXPECT_EQ(cut.error, iStringError);
    EXPECT_EQ(cut.errorCalls, 1);
    ASSERT_EQ(cut.tokens.size(), 2u);
    EXPECT_EQ(cut.tokens[1], (Tok{CSTI_EOF, "", "", 2, 1, 3}));
    EXPECT_EQ(ScanAll("'open").error, iStringError);
}

TEST(Tokenizer, CharacterCodes) {
    EXPECT_EQ(ScanAll("#13#10").tokens, (std::vector<Tok>{{CSTI_Char, "#13", "#13", 0, 1, 1},
                                                          {CSTI_Char, "#10", "#10", 3, 1, 4},
                                                          {CSTI_EOF, "", "", 6, 1, 7}}));
    EXPECT_EQ(ScanAll("#$0D").tokens[0], (Tok{CSTI_Char, "#$0D", "#$0D", 0, 1, 1}));
    EXPECT_EQ(ScanAll("#").tokens[0], (Tok{CSTI_Char, "#", "#", 0, 1, 1}));
    EXPECT_EQ(ScanAll("#12a").error, iCharError);
    EXPECT_EQ(ScanAll("#12_").error, iCharError);
}

TEST(Tokenizer, CommentsAndLines) {
    EXPECT_EQ(ScanAll("{ never closed").error, iCommentError);
    EXPECT_EQ(ScanAll("(* never closed").error, iCommentError);
    // A comment over three lines advances the row by two.
    EXPECT_EQ(ScanAll("(* a\nb\nc *) x").tokens[0], (Tok{CSTI_Identifier, "X", "x", 12, 3, 6}));
    EXPECT_EQ(ScanAll("{a}{b}x").tokens[0].pos, 6u);
    EXPECT_EQ(ScanAll("// note\nx").tokens[0], (Tok{CSTI_Identifier, "X", "x", 8, 2, 1}));
    // CR LF counts one line, LF CR two, a lone CR one.
    EXPECT_EQ(ScanAll("a\r\n  b").tokens[1], (Tok{CSTI_Identifier, "B", "b", 5, 2, 3}));
    EXPECT_EQ(ScanAll("a\n\rb").tokens[1], (Tok{CSTI_Identifier, "B", "b", 3, 3, 1}));
    EXPECT_EQ(ScanAll("a\rb").tokens[1], (Tok{CSTI_Identifier, "B", "b", 2, 2, 1}));
    // A zero byte ends the text.
    EXPECT_EQ(ScanAll(std::string_view("a\0b", 3)).tokens[1].id, CSTI_EOF);
}

// A comment that is never closed is reported where it starts, whatever line breaks it ran over: the
// parser stands at the end there, with the row and column of the comment's first character.
TEST(Tokenizer, AnUnclosedCommentStandsWhereItStarts) {
    struct Case {
        const char* text;
        uint32_t pos, row, col;
    };
    const Case cases[] = {
        {"{ never closed", 0, 1, 1},
        {"begin\n  { never closed\nend.\n", 8, 2, 3},
        {"begin\r\n  (* never\r\n closed\r\nend.", 9, 2, 3},
        {"a\n\n   {\n\n\n", 6, 3, 4},
        {"x (* one line", 2, 1, 3},
    };
    for (const Case& c : cases) {
        const Scan s = ScanAll(c.text);
        EXPECT_EQ(s.error, iCommentError) << c.text;
        EXPECT_EQ(s.tokens.back(), (Tok{CSTI_EOF, "", "", c.pos, c.row, c.col})) << c.text;
    }
}

TEST(Tokenizer, CommentsAndBlanksWhenEnabled) {
    Scan s = ScanAll("a {c} b", true, true);
    ASSERT_GE(s.tokens.size(), 5u);
    EXPECT_EQ(s.tokens[1], (Tok{CSTIINT_WhiteSpace, " ", " ", 1, 1, 2}));
    EXPECT_EQ(s.tokens[2], (Tok{CSTIINT_Comment, "{c}", "{c}", 2, 1, 3}));
}

TEST(Tokenizer, KeywordsAndIdentifiers) {
    Scan s = ScanAll("begin BEGIN Begin1 _x1 ChR oRd");
    EXPECT_EQ(s.tokens[0], (Tok{CSTII_begin, "", "", 0, 1, 1}));
    EXPECT_EQ(s.tokens[1], (Tok{CSTII_begin, "", "", 6, 1, 7}));
    EXPECT_EQ(s.tokens[2], (Tok{CSTI_Identifier, "BEGIN1", "Begin1", 12, 1, 13}));
    EXPECT_EQ(s.tokens[3], (Tok{CSTI_Identifier, "_X1", "_x1", 19, 1, 20}));
    EXPECT_EQ(s.tokens[4].id, CSTII_Chr);
    EXPECT_EQ(s.tokens[5].id, CSTII_Ord);
}

TEST(Tokenizer, EveryKeywordOfTheTable) {
    struct K {
        const char* word;
        TPSPasToken token;
    };
    const K table[] = {
        {"and", CSTII_and},
        {"array", CSTII_array},
        {"as", CSTII_As},
        {"begin", CSTII_begin},
        {"case", CSTII_case},
        {"chr", CSTII_Chr},
        {"class", CSTII_class},
        {"const", CSTII_const},
        {"constructor", CSTII_constructor},
        {"destructor", CSTII_destructor},
        {"div", CSTII_div},
        {"do", CSTII_do},
        {"downto", CSTII_downto},
        {"else", CSTII_else},
        {"end", CSTII_end},
        {"except", CSTII_Except},
        {"exit", CSTII_exit},
        {"export", CSTII_Export},
        {"external", CSTII_External},
        {"finalization", CSTII_finalization},
        {"finally", CSTII_Finally},
        {"for", CSTII_for},
        {"forward", CSTII_Forward},
        {"function", CSTII_function},
        {"goto", CSTII_Goto},
        {"if", CSTII_if},
        {"implementation", CSTII_Implementation},
        {"in", CSTII_in},
        {"inherited", CSTII_inherited},
        {"initialization", CSTII_initialization},
        {"interface", CSTII_Interface},
        {"is", CSTII_Is},
        {"label", CSTII_Label},
        {"mod", CSTII_mod},
        {"nil", CSTII_nil},
        {"not", CSTII_not},
        {"of", CSTII_of},
        {"or", CSTII_or},
        {"ord", CSTII_Ord},
        {"out", CSTII_out},
        {"override", CSTII_override},
        {"private", CSTII_private},
        {"procedure", CSTII_procedure},
        {"program", CSTII_program},
        {"property", CSTII_property},
        {"protected", CSTII_protected},
        {"public", CSTII_public},
        {"published", CSTII_published},
        {"record", CSTII_record},
        {"repeat", CSTII_repeat},
        {"set", CSTII_set},
        {"shl", CSTII_shl},
        {"shr", CSTII_shr},
        {"then", CSTII_then},
        {"to", CSTII_to},
        {"try", CSTII_Try},
        {"type", CSTII_type},
        {"unit", CSTII_Unit},
        {"until", CSTII_until},
        {"uses", CSTII_uses},
        {"var", CSTII_var},
        {"virtual", CSTII_virtual},
        {"while", CSTII_while},
        {"with", CSTII_with},
        {"xor", CSTII_xor},
    };
    static_assert(std::size(table) == 65);
    for (const K& k : table) EXPECT_EQ(ScanAll(k.word).tokens[0].id, k.token) << k.word;
    for (const char* notKeyword : {"a", "ands", "beginx", "string", "result", "break", "true", "succ"})
        EXPECT_EQ(ScanAll(notKeyword).tokens[0].id, CSTI_Identifier) << notKeyword;
}

TEST(Tokenizer, Symbols) {
    Scan s = ScanAll(":= : <= <> < >= > = ; , ) [ ] + - * @ ^ / ( .. .");
    const TPSPasToken expected[] = {
        CSTI_Assignment, CSTI_Colon,     CSTI_LessEqual, CSTI_NotEqual, CSTI_Less,       CSTI_GreaterEqual,
        CSTI_Greater,    CSTI_Equal,     CSTI_SemiColon, CSTI_Comma,    CSTI_CloseRound, CSTI_OpenBlock,
        CSTI_CloseBlock, CSTI_Plus,      CSTI_Minus,     CSTI_Multiply, CSTI_AddressOf,  CSTI_Dereference,
        CSTI_Divide,     CSTI_OpenRound, CSTI_TwoDots,   CSTI_Period,   CSTI_EOF};
    ASSERT_EQ(s.tokens.size(), std::size(expected));
    for (size_t i = 0; i < s.tokens.size(); ++i) EXPECT_EQ(s.tokens[i].id, expected[i]) << i;
}

TEST(Tokenizer, OtherCharactersAreSyntaxErrors) {
    for (const char* bad :
         {"}", "!", "\"", "%", "&", "?", "\\", "`", "|", "~", "\x01", "\x7F", "\x80", "\xE5"}) {
        Scan s = ScanAll(std::string("x ") + bad);
        EXPECT_EQ(s.error, iSyntaxError) << static_cast<int>(static_cast<unsigned char>(bad[0]));
        EXPECT_EQ(s.tokens.back().id, CSTI_EOF);
        EXPECT_EQ(s.tokens.back().pos, 2u);  // stays at the bad character
    }
}

TEST(Tokenizer, WithoutTextStandsAtTheEnd) {
    TPSPascalParser p;
    p.Next();
    EXPECT_EQ(p.CurrTokenID(), CSTI_EOF);
    EXPECT_EQ(p.CurrTokenPos(), 0u);
}

}  // namespace
}  // namespace tv::script
