#pragma once
// File version information. Where Windows keeps a version resource, our builds write an ELF section
// ".tvversion" into the program and the kit (tv_embed_version in cmake/VersionInfo.cmake). The
// reader takes it from any ELF file (32 or 64 bits, either byte order) through the section headers,
// without loading the file; PatchFileVersion rewrites the numbers in place, so that tests and tools
// can make copies that claim other versions.
//
// The section holds one block (when several objects bring one, the first counts), little-endian:
//
//     offset  size  field
//      0       8    magic "TVVERS01"
//      8       4    size of the whole block in bytes, a multiple of 8
//     12       8    file version: major, minor, release, build, 16 bits each
//     20       8    product version, likewise
//     28       4    bytes of the string area in use
//     32     ...    string area: pairs "key" NUL "value" NUL (UTF-8), then zero bytes up to the block
//                   size; the spare bytes let a patch lengthen the version texts
//
// The keys are those of a Windows version resource: "CompanyName", "ProductName", "FileVersion",
// "ProductVersion", "FileDescription", "LegalCopyright", "Comments" ...

#include "platform/rtl/exception.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tv {

inline constexpr std::string_view kNoVersionInformation = "no version information";
inline constexpr std::string_view kVersionBlockMagic = "TVVERS01";
inline constexpr std::string_view kVersionSectionName = ".tvversion";

struct TVersionNumbers {
    uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
    friend bool operator==(const TVersionNumbers&, const TVersionNumbers&) = default;
    // "a.b.c.d"
    std::string ToString() const;
};

// "a.b.c.d" with four numbers from 0 to 65535; anything else raises EConvertError.
TVersionNumbers ParseVersionNumbers(std::string_view text);

struct TFileVersionInfo {
    TVersionNumbers FileVersion;
    TVersionNumbers ProductVersion;
    std::vector<std::pair<std::string, std::string>> Strings;  // in the order of the block
    // The text of `key` (compared exactly), "" when the block has none.
    std::string Value(std::string_view key) const;
};

// The version information of a file; nothing when it has none (not an ELF file, no section, or a
// block that does not hold together). A file that cannot be read raises EInOutError.
std::optional<TFileVersionInfo> ReadFileVersion(std::string_view fileName);
// The same for the bytes of a whole file in memory.
std::optional<TFileVersionInfo> ReadVersionInfoFromBytes(std::string_view fileBytes);

// Rewrites the file version numbers and the "FileVersion" text of the file's block in place. A file
// without a block raises EInOutError "<file>: no version information".
void PatchFileVersion(std::string_view fileName, const TVersionNumbers& version);
inline void PatchFileVersion(std::string_view fileName, std::string_view version) {
    PatchFileVersion(fileName, ParseVersionNumbers(version));
}

}  // namespace tv
