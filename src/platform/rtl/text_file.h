#pragma once
// Whole files as bytes or as text. Text is read by the system's rule (a UTF-8 or UTF-16 BOM
// decides; else valid UTF-8 is UTF-8; else Windows-1252) and returned as UTF-8; "ANSI" files are
// written as Windows-1252 without a BOM and with CR LF line ends. Open failures raise EFOpenError
// or EFCreateError with the file name and the system's text.

#include "platform/rtl/codepage.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tv {

std::string ReadFileBytes(std::string_view fileName);
// Creates or empties the file and writes the bytes.
void WriteFileBytes(std::string_view fileName, std::string_view bytes);

// How far a whole-file replacement goes before it returns.
enum class TReplaceSync : unsigned char {
    // The new content and the rename are on the disk: after a power loss the file holds the old
    // content or the new one. For files that must never be lost (settings, running numbers).
    ToDisk,
    // Left to the system's write-back: readers and a crash of the program still see the old
    // content or the new one, but a power loss soon after can leave the file empty.
    Lazy,
};
// Writes the bytes to a new file beside `fileName` and renames it over the file, so that readers
// see the old content or the new one, never a part. A name that is a symbolic link is followed:
// the file it points at is replaced and the link stays. The new file keeps the mode of the one it
// replaces; a new one gets the mode any file created here gets. On failure the old file stays as
// it was.
void WriteFileBytesReplacing(std::string_view fileName, std::string_view bytes,
                             TReplaceSync sync = TReplaceSync::ToDisk);
// Takes the pieces of a content written in pieces, in order.
using TBytePieceSink = std::function<void(std::string_view piece)>;
// A content written in pieces: called once, it hands every piece to the sink it is given.
using TBytePieces = std::function<void(const TBytePieceSink& put)>;
// The same with the content written as `pieces` hands it over, so that a large content is never
// held whole; a failure of `pieces` leaves the old file as it was, as any other failure does.
void WriteFileBytesReplacing(std::string_view fileName, const TBytePieces& pieces,
                             TReplaceSync sync = TReplaceSync::ToDisk);

// Replaces many files with one wait for the disk. Write puts each new content under a temporary
// name beside its file (as WriteFileBytesReplacing does, without waiting); Commit waits once for all
// of them to reach the disk, renames each over its file in the order written, and waits once per
// folder for the renames. Until Commit every file keeps its old content (or stays absent); a group
// dropped without Commit removes what it wrote. Commit raises the file error of the first step that
// fails; the files renamed before it stay replaced.
class TFileReplaceGroup {
public:
    TFileReplaceGroup() = default;
    ~TFileReplaceGroup();
    TFileReplaceGroup(const TFileReplaceGroup&) = delete;
    TFileReplaceGroup& operator=(const TFileReplaceGroup&) = delete;

    void Write(std::string_view fileName, std::string_view bytes);
    void Write(std::string_view fileName, const TBytePieces& pieces);
    void Commit();
    bool Empty() const { return files_.empty(); }

private:
    struct TPending {
        std::string target, folder, temp;
        std::string name;  // as the caller gave it, for messages
    };
    std::vector<TPending> files_;
    std::vector<std::pair<uint64_t, int>> devices_;  // file system, an open folder on it
};

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
