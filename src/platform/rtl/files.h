#pragma once
// The file system as the system uses it: path texts with "/" as the delimiter, existence of files
// and folders, creating and removing them, copies and the Windows-style moves (a plain move refuses
// an existing target; a replacing move is one atomic rename; both copy and delete across file
// systems), listings with Windows masks, temporary files and the program's own folder. Every
// failure raises EInOutError with the file name and the system's error text.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

inline constexpr char PathDelim = '/';

// Path texts. A folder text "with a delimiter" ends in "/".
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
// "a/b/c.txt" → "a/b/"; a name without a folder → "".
std::string ExtractFilePath(std::string_view fileName);
// "a/b/c.txt" → "a/b"; "/c.txt" → "/".
std::string ExtractFileDir(std::string_view fileName);
// "a/b/c.txt" → "c.txt".
std::string ExtractFileName(std::string_view fileName);
// "a/b/c.tar.gz" → ".gz"; no dot in the name part → "".
std::string ExtractFileExt(std::string_view fileName);
// Replaces the extension (or appends one); `extension` includes its dot, "" removes it.
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

// The system's text for an errno value.
std::string SysErrorMessage(int errorCode);
// The class library's wording of a failed file operation:
// <action> "<name>"[ to "<target>"]. <system text>
std::string FileErrorText(std::string_view action, std::string_view name, int errorCode,
                          std::string_view target = {});
// Raises EInOutError for a name no file can have: empty, or holding a NUL character.
void CheckFileName(std::string_view fileName);

// A file (not a folder), following symbolic links.
bool FileExists(std::string_view fileName);
bool DirectoryExists(std::string_view folder);
int64_t FileSize(std::string_view fileName);
std::chrono::system_clock::time_point FileModificationTime(std::string_view fileName);

// Creates the folder and every missing parent; an existing folder is fine.
void ForceDirectories(std::string_view folder);
void DeleteFile(std::string_view fileName);
// Removes an empty folder.
void RemoveDir(std::string_view folder);
std::string GetCurrentDir();
void SetCurrentDir(std::string_view folder);

// Copies a file's content, permissions and modification time. Without `overwrite` an existing
// target is an error. The target appears complete or not at all (written beside it, then renamed).
void CopyFile(std::string_view source, std::string_view target, bool overwrite);
// Moves (renames) a file or folder; refuses when the target exists. Across file systems a file is
// copied and the source deleted.
void MoveFile(std::string_view source, std::string_view target);
// Moves a file over an existing target in one atomic rename, so the old target is never lost
// without the new one in its place. Across file systems: copy (itself atomic), then delete.
void MoveFileReplace(std::string_view source, std::string_view target);

// The rename step of the moves: returns 0 or -1 with errno set, like rename(2). Tests replace it
// to simulate a move across file systems (EXDEV). nullptr restores the system's; the previous
// step is returned.
using TRenameCall = int (*)(const char* from, const char* to, bool replace);
TRenameCall SetRenameCall(TRenameCall call);

enum class TListKind { Files, Folders, All };
// The names (not paths) of the entries of `folder` that match the Windows `mask`, hidden ones
// included, in the order the file system gives them. A folder that does not exist lists nothing.
std::vector<std::string> ListFolder(std::string_view folder, std::string_view mask, TListKind kind);
// The name an entry of `folder` really has when `name` matches it without regard to case: the
// exact name when it exists, else the first entry that matches; nothing when none does.
std::optional<std::string> FindNameInFolder(std::string_view folder, std::string_view name);

// The temporary folder ($TMPDIR, else /tmp), with a delimiter.
std::string GetTempFolder();
// Creates a new, empty file with a unique name beginning with `prefix` in `folder` (the
// temporary folder when empty) and returns its path.
std::string CreateTempFile(std::string_view prefix = "KV_", std::string_view folder = {});

// The running program's file and its folder (with a delimiter), from /proc/self/exe unless a
// test has named another file.
std::string ProgramFileName();
std::string ProgramFolder();
// Makes ProgramFileName answer `fileName` (tests); empty restores the real one.
void SetProgramFileName(std::string fileName);

}  // namespace tv
