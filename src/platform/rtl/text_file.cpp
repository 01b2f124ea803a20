#include "platform/rtl/text_file.h"

#include "platform/rtl/streams.h"

namespace tv {

std::string ReadFileBytes(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    return ReadStreamToEnd(file);
}

void WriteFileBytes(std::string_view fileName, std::string_view bytes) {
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

std::string ReadTextFile(std::string_view fileName, TextEncoding* detected) {
    return DecodeTextBytes(ReadFileBytes(fileName), detected);
}

void WriteTextFile(std::string_view fileName, std::string_view text, TextEncoding encoding,
                   std::string_view lineEnd) {
    WriteFileBytes(fileName, EncodeTextBytes(NormalizeLineEnds(text, lineEnd), encoding));
}

}  // namespace tv
