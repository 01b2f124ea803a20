#pragma once
// The text a caller piped into the program's standard input, read once for the single-instance
// hand-off. A terminal is never read (that would wait for typing), and a pipe that stays open
// without sending ends the read after a short idle time, so the program never hangs here.

#include <cstddef>
#include <string>

namespace tv {

inline constexpr size_t kMaxStdInBytes = 1000000;
inline constexpr int kStdInIdleMs = 1000;

// Reads `fd` up to its end, `limit` bytes, or `idleMs` without new bytes, whichever comes first.
// Nothing is read from a terminal or a closed handle. The bytes are decoded as text files are (a BOM
// decides, else UTF-8 when valid, else Windows-1252).
std::string ReadInputText(int fd, size_t limit = kMaxStdInBytes, int idleMs = kStdInIdleMs);

// ReadInputText of the standard input.
void ReadStdIn(std::string& text);

}  // namespace tv
