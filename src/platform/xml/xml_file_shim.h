#pragma once
// TEMPORARY: stands in for the run-time library's file routines until they land; replaced before
// this code is merged.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/rtl/ascii_case.h"
#include "platform/rtl/exception.h"
#include <sys/stat.h>

namespace tv::xmlshim {

inline bool SameText(std::string_view a, std::string_view b) { return SameTextAscii(a, b); }
inline bool FileExists(const std::string& name) {
    struct stat st;
    return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

inline std::string ReadFileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + name + "\". " + std::strerror(errno));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileReplacing(const std::string& name, const std::string& bytes) {
    std::string tmp = name + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw EFCreateError("Cannot create file \"" + tmp + "\"");
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::remove(tmp.c_str());
            throw EFCreateError("Cannot write file \"" + tmp + "\"");
        }
    }
    if (std::rename(tmp.c_str(), name.c_str()) != 0) {
        std::remove(tmp.c_str());
        throw EFCreateError("Cannot replace file \"" + name + "\"");
    }
}

}  // namespace tv::xmlshim
