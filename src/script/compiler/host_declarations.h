#pragma once
// A host's declarations written as text, one registration per line, and registered into a compiler
// from its OnUses handler. Used by pscc, the tests and the fuzz targets to compile scripts against
// the job API and the import units without the program itself.
//
//   # comment                      unit NAME        (following lines register for that unit;
//   type NAME = TEXT                                  "SYSTEM" until the first unit line)
//   basetype NAME CODE             const NAME TYPE VALUE   (VALUE: 12, -3, $FF, 'text' or #13)
//   var NAME TYPE                  function ... / procedure ...   (a host routine)
//   class NAME [: PARENT]          interface NAME [: PARENT] {GUID}
//     constructor|function|procedure ...   (an indented member of the class or interface above)
//     property NAME "TYPES" rw|r|w
//     default NAME

#include <string>
#include <string_view>
#include <vector>

namespace tv::script {

class TPSPascalCompiler;

class THostDeclarations {
public:
    // Raises tv::Exception "line N: ..." for a line it cannot read.
    static THostDeclarations Parse(std::string_view text);
    // Parses every file in turn, as if they were one text.
    static THostDeclarations ParseFiles(const std::vector<std::string>& paths);

    // Registers the lines of `unitName` (upper case); false when the text declares no such unit.
    // Methods and properties the compiler drops (unknown types) are appended to `dropped` as
    // "CLASS.MEMBER". Registration exceptions pass through.
    bool Register(TPSPascalCompiler& compiler, std::string_view unitName,
                  std::vector<std::string>* dropped = nullptr) const;

private:
    struct Line {
        std::string unit;
        int number;
        bool member;
        std::string text;
    };
    std::vector<Line> lines_;
};

}  // namespace tv::script
