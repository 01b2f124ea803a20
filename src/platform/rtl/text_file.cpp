#include "platform/rtl/text_file.h"

#include "platform/rtl/files.h"
#include "platform/rtl/streams.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace tv {

std::string ReadFileBytes(std::string_view fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    return ReadStreamToEnd(file);
}

void WriteFileBytes(std::string_view fileName, std::string_view bytes) {
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void WriteFileBytesReplacing(std::string_view fileName, std::string_view bytes) {
    CheckFileName(fileName);
    const std::string target(fileName);
    const std::string folder = ExtractFilePath(target);
    const std::string temp = CreateTempFile(".~tvsave.", folder.empty() ? "." : folder);
    try {
        struct stat st;
        mode_t mode;
        if (::stat(target.c_str(), &st) == 0) {
            mode = st.st_mode & 07777;
        } else {
            mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::chmod(temp.c_str(), mode) != 0)
            throw EFCreateError(FileErrorText("Cannot create file", temp, errno));
        WriteFileBytes(temp, bytes);
        MoveFileReplace(temp, target);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
}

std::string ReadTextFile(std::string_view fileName, TextEncoding* detected) {
    return DecodeTextBytes(ReadFileBytes(fileName), detected);
}

void WriteTextFile(std::string_view fileName, std::string_view text, TextEncoding encoding,
                   std::string_view lineEnd) {
    WriteFileBytes(fileName, EncodeTextBytes(NormalizeLineEnds(text, lineEnd), encoding));
}

}  // namespace tv
