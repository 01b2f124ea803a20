#pragma once
// Reading the container, code and debug bytes, little-endian (written with the Append functions of
// platform/rtl/little_endian.h). The reader never reads past its end: every read answers false
// instead.

#include <cstdint>
#include <string_view>

#include "platform/rtl/little_endian.h"

namespace tv::script {

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
        v = PeekU16(data_, pos_);
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
        if (Remaining() < 8) return false;
        v = PeekU64(data_, pos_);
        pos_ += 8;
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
