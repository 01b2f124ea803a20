#pragma once
// Little-endian integers in byte strings, whatever the machine's byte order: the program's own binary
// formats (compiled scripts, saved datasets) write and read their numbers with these. Readers of
// untrusted bytes check the length before they peek.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

inline void AppendU8(std::string& out, uint8_t v) {
    out.push_back(static_cast<char>(v));
}
inline void AppendU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
}
inline void AppendU32(std::string& out, uint32_t v) {
    char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                 static_cast<char>(v >> 24)};
    out.append(b, 4);
}
inline void AppendU64(std::string& out, uint64_t v) {
    AppendU32(out, static_cast<uint32_t>(v));
    AppendU32(out, static_cast<uint32_t>(v >> 32));
}
// A 32-bit byte count followed by the bytes.
inline void AppendString32(std::string& out, std::string_view s) {
    AppendU32(out, static_cast<uint32_t>(s.size()));
    out.append(s);
}
// Overwrites four bytes at `pos` (a count or an offset known only after what follows is written).
inline void PatchU32(std::string& out, size_t pos, uint32_t v) {
    out[pos] = static_cast<char>(v);
    out[pos + 1] = static_cast<char>(v >> 8);
    out[pos + 2] = static_cast<char>(v >> 16);
    out[pos + 3] = static_cast<char>(v >> 24);
}

inline uint16_t PeekU16(std::string_view in, size_t pos) {
    return static_cast<uint16_t>(static_cast<unsigned char>(in[pos]) | static_cast<unsigned char>(in[pos + 1])
                                                                           << 8);
}
inline uint32_t PeekU32(std::string_view in, size_t pos) {
    return static_cast<uint32_t>(static_cast<unsigned char>(in[pos])) |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 3])) << 24;
}
inline uint64_t PeekU64(std::string_view in, size_t pos) {
    return static_cast<uint64_t>(PeekU32(in, pos + 4)) << 32 | PeekU32(in, pos);
}

}  // namespace tv
