#include "core/string_utils.h"

#include <cstdint>

#include "core/app_logger.h"
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

std::string MakeSafeFileName(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 32 && kUnsafeFileNameChars.find(c) == std::string_view::npos)
            out += c;
    return out;
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
