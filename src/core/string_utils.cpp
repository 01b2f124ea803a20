#include "core/string_utils.h"

#include <cstdint>

#include "core/app_logger.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/format.h"

namespace tv {
namespace {

struct Escape {
    char code;
    char letter;
};
constexpr Escape kEscapes[] = {
    {'\a', 'a'}, {'\b', 'b'}, {'\t', 't'},   {'\n', 'n'}, {'\v', 'v'},
    {'\f', 'f'}, {'\r', 'r'}, {'\x1B', 'e'}, {'"', '"'},  {'\\', '\\'},
};

constexpr std::string_view kUnsafeFileNameChars = ":\"/\\?<>|*";

}  // namespace

std::string ExtractToken(std::string_view text, std::string_view separators, int index) {
    if (index < 0) return {};
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t at = text.find_first_of(separators, start);
        if (at == std::string_view::npos) return {};
        start = at + 1;
    }
    size_t end = text.find_first_of(separators, start);
    return std::string(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string EscapeCString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const Escape* escape = nullptr;
        for (const auto& e : kEscapes)
            if (e.code == c) escape = &e;
        if (escape) {
            out += '\\';
            out += escape->letter;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeCString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const Escape* escape = nullptr;
        for (const auto& e : kEscapes)
            if (e.letter == text[i + 1]) escape = &e;
        if (escape) {
            out += escape->code;
            ++i;
        } else {
            out += '\\';
        }
    }
    return out;
}

std::string QuotedStr(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

std::string MakeSafeFileName(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32 && kUnsafeFileNameChars.find(c) == std::string_view::npos)
            out += c;
    return out;
}

std::string StripCharsInSet(std::string_view text, const std::array<bool, 256>& set) {
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        const char32_t c = NextUtf8(text, pos);
        if (c < 256 && set[c]) continue;
        result.append(text.substr(start, pos - start));
    }
    return result;
}

std::string StripCharsInSet2(std::string_view text) {
    // Codes 0 to 9, 11, 12, 14 to 31 and 127; every one is a single byte in UTF-8.
    static constexpr auto kStripped = [] {
        std::array<bool, 256> set{};
        for (int c = 0; c < 32; ++c) set[static_cast<size_t>(c)] = c != 10 && c != 13;
        set[127] = true;
        return set;
    }();
    std::string result;
    result.reserve(text.size());
    for (char c : text)
        if (!kStripped[static_cast<unsigned char>(c)]) result += c;
    return result;
}

std::unique_ptr<TStringList> GetChunk(const TStrings& source, int chunkno, int size) {
    auto chunk = std::make_unique<TStringList>();
    try {
        if (size <= 0 || chunkno < 0) return chunk;
        const int64_t first = static_cast<int64_t>(chunkno) * size;
        const int64_t end = std::min<int64_t>(first + size, source.Count());
        for (int64_t i = first; i < end; ++i) chunk->Add(source.Strings(static_cast<int>(i)));
    } catch (const std::exception& e) {
        AppLogger().LogFatal(Format(kGetChunkFailed, {e.what()}));
    }
    return chunk;
}

}  // namespace tv
