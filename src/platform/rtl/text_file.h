#pragma once
// Whole files as bytes or as text. Text is read by the system's rule (a UTF-8 or UTF-16 BOM
// decides; else valid UTF-8 is UTF-8; else Windows-1252) and returned as UTF-8; "ANSI" files are
// written as Windows-1252 without a BOM and with CR LF line ends. Open failures raise EFOpenError
// or EFCreateError with the file name and the system's text.

#include "platform/rtl/codepage.h"

#include <string>
#include <string_view>

namespace tv {

std::string ReadFileBytes(std::string_view fileName);
// Creates or empties the file and writes the bytes.
void WriteFileBytes(std::string_view fileName, std::string_view bytes);
// Writes the bytes to a new file beside `fileName` and renames it over the file, so that readers
// and a crash see the old content or the new one, never a part. The new file keeps the mode of the
// one it replaces (a new one gets the usual mode); on failure the old file stays as it was.
void WriteFileBytesReplacing(std::string_view fileName, std::string_view bytes);

// The file's text as UTF-8, line ends as they are; `detected` receives the encoding found.
std::string ReadTextFile(std::string_view fileName, TextEncoding* detected = nullptr);
// Writes UTF-8 text in `encoding` with every line end made `lineEnd`. Characters that
// Windows-1252 lacks become "?" in an ANSI file.
void WriteTextFile(std::string_view fileName, std::string_view text, TextEncoding encoding,
                   std::string_view lineEnd = "\r\n");
inline void WriteAnsiTextFile(std::string_view fileName, std::string_view text) {
    WriteTextFile(fileName, text, TextEncoding::Ansi);
}

}  // namespace tv
