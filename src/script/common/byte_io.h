#pragma once
// Little-endian reading and writing of the container, code and debug bytes. The reader never reads
// past its end: every read answers false instead.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tv::script {

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
// Overwrites four bytes at `pos` (used to patch jump distances and code offsets).
inline void PatchU32(std::string& out, size_t pos, uint32_t v) {
    out[pos] = static_cast<char>(v);
    out[pos + 1] = static_cast<char>(v >> 8);
    out[pos + 2] = static_cast<char>(v >> 16);
    out[pos + 3] = static_cast<char>(v >> 24);
}
inline uint32_t PeekU32(std::string_view in, size_t pos) {
    return static_cast<uint32_t>(static_cast<unsigned char>(in[pos])) |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(in[pos + 3])) << 24;
}

class ByteReader {
public:
    explicit ByteReader(std::string_view data, size_t pos = 0) : data_(data), pos_(pos) {}

    size_t Position() const { return pos_; }
    size_t Remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
    bool AtEnd() const { return Remaining() == 0; }
    std::string_view Data() const { return data_; }

    bool ReadU8(uint8_t& v) {
        if (Remaining() < 1) return false;
        v = static_cast<uint8_t>(data_[pos_++]);
        return true;
    }
    bool ReadU16(uint16_t& v) {
        if (Remaining() < 2) return false;
        v = static_cast<uint16_t>(static_cast<unsigned char>(data_[pos_]) |
                                  static_cast<unsigned char>(data_[pos_ + 1]) << 8);
        pos_ += 2;
        return true;
    }
    bool ReadU32(uint32_t& v) {
        if (Remaining() < 4) return false;
        v = PeekU32(data_, pos_);
        pos_ += 4;
        return true;
    }
    bool ReadU64(uint64_t& v) {
        uint32_t lo = 0, hi = 0;
        if (Remaining() < 8) return false;
        ReadU32(lo);
        ReadU32(hi);
        v = static_cast<uint64_t>(hi) << 32 | lo;
        return true;
    }
    bool ReadBytes(size_t n, std::string_view& out) {
        if (Remaining() < n) return false;
        out = data_.substr(pos_, n);
        pos_ += n;
        return true;
    }
    // A 32-bit count followed by that many bytes; false when the count exceeds `maxLength`.
    bool ReadString32(std::string_view& out, uint32_t maxLength = UINT32_MAX) {
        uint32_t n = 0;
        size_t at = pos_;
        if (!ReadU32(n) || n > maxLength || !ReadBytes(n, out)) {
            pos_ = at;
            return false;
        }
        return true;
    }
    bool Skip(size_t n) {
        if (Remaining() < n) return false;
        pos_ += n;
        return true;
    }

private:
    std::string_view data_;
    size_t pos_;
};

}  // namespace tv::script
