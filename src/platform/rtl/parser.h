#pragma once
// The tokenizer of form texts ("object Form1: TForm1 ... end"): symbols, strings in quotes with #nn
// character codes, integers (decimal or $hex), floats with an optional type suffix, binary data in
// braces and single characters. The first token is read on construction. Text is UTF-8 inside;
// #nn codes above 127 are Unicode code points.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {
class TStream;
}

namespace tv {

TV_DECLARE_EXCEPTION(EParserError, Exception);  // "<message> on line <n>"

// A text as a form text string, which the parser reads back as it was: quoted parts with quotes
// doubled, control characters as #nn codes ('It''s'#13#10'ok'); an empty text is ''.
std::string QuotedFormString(std::string_view text);

// Token kinds; any other token is the character itself.
inline constexpr char toEOF = 0;
inline constexpr char toSymbol = 1;
inline constexpr char toString = 2;
inline constexpr char toInteger = 3;
inline constexpr char toFloat = 4;

class TParser : public TObject {
    TV_CLASS(TParser, TObject)
public:
    // `origin` is the position of the text's first byte in the stream it came from (for SourcePos).
    explicit TParser(std::string text, int64_t origin = 0);
    // Reads the stream from its position to its end.
    explicit TParser(TStream& stream);

    char Token() const { return fToken; }
    int SourceLine() const { return fSourceLine; }
    // Position of the current token's first byte in the stream.
    int64_t SourcePos() const { return fOrigin + static_cast<int64_t>(fTokenStart); }

    char NextToken();
    // Raises unless the current token is T: "Identifier expected", "String expected",
    // "Number expected" or "'c' expected".
    void CheckToken(char T);
    // Raises "<S> expected" unless the current token is the symbol S (compared without case).
    void CheckTokenSymbol(std::string_view S);
    [[noreturn]] void Error(std::string_view Message) { ErrorStr(Message); }
    [[noreturn]] void ErrorStr(std::string_view Message);
    // The bytes of a binary value: pairs of hex digits after "{", up to "}", which becomes the
    // current token. Raises "Invalid binary value" for anything else.
    std::string HexToBinary();
    // The same, writing the bytes to `stream`.
    void HexToBinary(TStream& stream);
    // The symbol with any ".name" parts that follow it ("Form1.Button1").
    std::string TokenComponentIdent();
    // The token as text; strings decoded.
    std::string TokenString() const;
    long double TokenFloat() const;
    int64_t TokenInt() const;
    bool TokenSymbolIs(std::string_view S) const;
    // The type suffix of a float token ('s', 'c', 'd' or 'f', as written), '\0' without one.
    char FloatType() const { return fFloatType; }

private:
    char At(size_t p) const { return p < fText.size() ? fText[p] : '\0'; }
    void SkipBlanks();
    void ReadString();

    std::string fText;
    int64_t fOrigin;
    size_t fPos = 0;         // next byte to read
    size_t fTokenStart = 0;  // first byte of the current token
    std::string fStringValue;
    char fToken = toEOF;
    char fFloatType = '\0';
    int fSourceLine = 1;
};

}  // namespace tv
