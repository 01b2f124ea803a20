#include "platform/rtl/version_info.h"

#include "platform/rtl/files.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tv {

inline constexpr std::string_view kCannotReadVersion = "Cannot read the version information of";
inline constexpr std::string_view kCannotWriteVersion = "Cannot write the version information of";
inline constexpr std::string_view kNoRoomForVersionTexts = "no room for the version texts";
inline constexpr std::string_view kNotAVersionNumber = "is not a version number a.b.c.d";

namespace {

constexpr size_t kBlockHeaderSize = 32;
constexpr uint64_t kMaxBlockSize = 1 << 20;
constexpr uint64_t kMaxSectionTableSize = 1 << 24;
constexpr uint64_t kMaxNameTableSize = 1 << 24;
constexpr uint32_t kSectionNoBits = 8;            // SHT_NOBITS: occupies no bytes in the file
constexpr uint16_t kSectionIndexEscape = 0xFFFF;  // SHN_XINDEX: the real index is elsewhere

[[noreturn]] void RaiseVersionFileError(std::string_view action, std::string_view fileName, int errorCode) {
    throw EInOutError(FileErrorText(action, fileName, errorCode));
}

// Bytes at an offset, from a file or from memory.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Exactly `count` bytes at `offset`, or false when they are not all there.
    virtual bool ReadAt(uint64_t offset, uint64_t count, std::string& out) const = 0;

protected:
    bool InRange(uint64_t offset, uint64_t count) const {
        return offset <= Size() && count <= Size() - offset;
    }
};

class TMemorySource : public TByteSource {
public:
    explicit TMemorySource(std::string_view bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, uint64_t count, std::string& out) const override {
        if (!InRange(offset, count)) return false;
        out.assign(bytes_.substr(offset, count));
        return true;
    }

private:
    std::string_view bytes_;
};

class TFileSource : public TByteSource {
public:
    TFileSource(int fd, std::string_view fileName) : fd_(fd), fileName_(fileName) {
        struct stat st;
        if (::fstat(fd, &st) != 0) RaiseVersionFileError(kCannotReadVersion, fileName, errno);
        if (S_ISDIR(st.st_mode)) RaiseVersionFileError(kCannotReadVersion, fileName, EISDIR);
        // A pipe or a device is no program file: nothing is read from it, so nothing can hang.
        size_ = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    }
    uint64_t Size() const override { return size_; }
    bool ReadAt(uint64_t offset, uint64_t count, std::string& out) const override {
        if (!InRange(offset, count)) return false;
        out.resize(count);
        for (uint64_t done = 0; done < count;) {
            ssize_t n = ::pread(fd_, out.data() + done, count - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) RaiseVersionFileError(kCannotReadVersion, fileName_, errno);
            if (n == 0) return false;  // the file became shorter
            done += static_cast<uint64_t>(n);
        }
        return true;
    }

private:
    int fd_;
    std::string fileName_;
    uint64_t size_ = 0;
};

uint64_t Unsigned(std::string_view bytes, size_t offset, size_t width, bool bigEndian) {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | static_cast<uint8_t>(bytes[offset + (bigEndian ? i : width - 1 - i)]);
    return value;
}

void PutLittleEndian(std::string& bytes, size_t offset, uint64_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct TSectionPlace {
    uint64_t Offset = 0;
    uint64_t Size = 0;
};

// Where the ELF file keeps its version section, found through the section headers.
class TElfSections {
public:
    explicit TElfSections(const TByteSource& source) : source_(source) {}

    std::optional<TSectionPlace> FindVersionSection() {
        std::string header;
        if (!source_.ReadAt(0, 16, header) || !header.starts_with("\x7F"
                                                                  "ELF"))
            return std::nullopt;
        if ((header[4] != 1 && header[4] != 2) || (header[5] != 1 && header[5] != 2)) return std::nullopt;
        is64_ = header[4] == 2;
        bigEndian_ = header[5] == 2;
        if (!source_.ReadAt(0, is64_ ? 64 : 52, header)) return std::nullopt;

        const uint64_t tableOffset = is64_ ? Field(header, 0x28, 8) : Field(header, 0x20, 4);
        entrySize_ = Field(header, is64_ ? 0x3A : 0x2E, 2);
        uint64_t count = Field(header, is64_ ? 0x3C : 0x30, 2);
        uint64_t namesIndex = Field(header, is64_ ? 0x3E : 0x32, 2);
        if (tableOffset == 0 || entrySize_ < (is64_ ? 64u : 40u)) return std::nullopt;

        // Many sections: the count and the name-table index move into section 0.
        if (count == 0 || namesIndex == kSectionIndexEscape) {
            std::string first;
            if (!source_.ReadAt(tableOffset, entrySize_, first)) return std::nullopt;
            if (count == 0) count = SectionSize(first);
            if (namesIndex == kSectionIndexEscape) namesIndex = Field(first, is64_ ? 40 : 24, 4);
        }
        if (count == 0 || count > kMaxSectionTableSize / entrySize_ || namesIndex >= count)
            return std::nullopt;
        if (!source_.ReadAt(tableOffset, count * entrySize_, table_)) return std::nullopt;

        const std::string_view namesEntry = Entry(namesIndex);
        std::string names;
        if (SectionSize(namesEntry) > kMaxNameTableSize ||
            !source_.ReadAt(SectionOffset(namesEntry), SectionSize(namesEntry), names))
            return std::nullopt;

        const std::string wanted = std::string(kVersionSectionName) + '\0';
        for (uint64_t i = 0; i < count; ++i) {
            const std::string_view entry = Entry(i);
            const uint64_t nameOffset = Field(entry, 0, 4);
            if (Field(entry, 4, 4) == kSectionNoBits || nameOffset >= names.size()) continue;
            if (names.compare(nameOffset, wanted.size(), wanted) != 0) continue;
            TSectionPlace place{SectionOffset(entry), SectionSize(entry)};
            if (place.Size == 0 || place.Offset > source_.Size() ||
                place.Size > source_.Size() - place.Offset)
                return std::nullopt;
            return place;
        }
        return std::nullopt;
    }

private:
    uint64_t Field(std::string_view bytes, size_t offset, size_t width) const {
        return Unsigned(bytes, offset, width, bigEndian_);
    }
    std::string_view Entry(uint64_t index) const {
        return std::string_view(table_).substr(index * entrySize_, entrySize_);
    }
    uint64_t SectionOffset(std::string_view entry) const {
        return is64_ ? Field(entry, 24, 8) : Field(entry, 16, 4);
    }
    uint64_t SectionSize(std::string_view entry) const {
        return is64_ ? Field(entry, 32, 8) : Field(entry, 20, 4);
    }

    const TByteSource& source_;
    bool is64_ = false;
    bool bigEndian_ = false;
    uint64_t entrySize_ = 0;
    std::string table_;
};

// The block at the start of the section, whole and checked; empty when it does not hold together.
std::optional<std::string> ReadBlock(const TByteSource& source, const TSectionPlace& place) {
    std::string header;
    if (place.Size < kBlockHeaderSize || !source.ReadAt(place.Offset, kBlockHeaderSize, header) ||
        !header.starts_with(kVersionBlockMagic))
        return std::nullopt;
    const uint64_t size = Unsigned(header, 8, 4, false);
    const uint64_t used = Unsigned(header, 28, 4, false);
    if (size < kBlockHeaderSize || size > place.Size || size > kMaxBlockSize ||
        used > size - kBlockHeaderSize)
        return std::nullopt;
    std::string block;
    if (!source.ReadAt(place.Offset, size, block)) return std::nullopt;
    return block;
}

TVersionNumbers NumbersAt(std::string_view block, size_t offset) {
    auto part = [&](size_t i) { return static_cast<uint16_t>(Unsigned(block, offset + 2 * i, 2, false)); };
    return TVersionNumbers{part(0), part(1), part(2), part(3)};
}

std::optional<TFileVersionInfo> ParseBlock(std::string_view block) {
    TFileVersionInfo info;
    info.FileVersion = NumbersAt(block, 12);
    info.ProductVersion = NumbersAt(block, 20);
    const std::string_view area = block.substr(kBlockHeaderSize, Unsigned(block, 28, 4, false));
    for (size_t pos = 0; pos < area.size();) {
        const size_t keyEnd = area.find('\0', pos);
        const size_t valueEnd = keyEnd == std::string_view::npos ? keyEnd : area.find('\0', keyEnd + 1);
        if (valueEnd == std::string_view::npos) return std::nullopt;
        info.Strings.emplace_back(area.substr(pos, keyEnd - pos),
                                  area.substr(keyEnd + 1, valueEnd - keyEnd - 1));
        pos = valueEnd + 1;
    }
    return info;
}

std::optional<TFileVersionInfo> ReadFrom(const TByteSource& source) {
    TElfSections sections(source);
    const auto place = sections.FindVersionSection();
    if (!place) return std::nullopt;
    const auto block = ReadBlock(source, *place);
    if (!block) return std::nullopt;
    return ParseBlock(*block);
}

// Owns a file descriptor; closes it once.
struct TFd {
    int fd;
    ~TFd() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::string TVersionNumbers::ToString() const {
    return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Release) + "." +
           std::to_string(Build);
}

TVersionNumbers ParseVersionNumbers(std::string_view text) {
    uint16_t parts[4];
    size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        uint32_t value = 0;
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 6)
            value = value * 10 + static_cast<uint32_t>(text[pos++] - '0'), ++digits;
        const bool separatorOk = i == 3 ? pos == text.size() : pos < text.size() && text[pos++] == '.';
        if (digits == 0 || value > 0xFFFF || !separatorOk)
            throw EConvertError("\"" + std::string(text) + "\" " + std::string(kNotAVersionNumber));
        parts[i] = static_cast<uint16_t>(value);
    }
    return TVersionNumbers{parts[0], parts[1], parts[2], parts[3]};
}

std::string TFileVersionInfo::Value(std::string_view key) const {
    for (const auto& [k, v] : Strings)
        if (k == key) return v;
    return {};
}

std::optional<TFileVersionInfo> ReadVersionInfoFromBytes(std::string_view fileBytes) {
    return ReadFrom(TMemorySource(fileBytes));
}

std::optional<TFileVersionInfo> ReadFileVersion(std::string_view fileName) {
    CheckFileName(fileName);
    TFd file{::open(std::string(fileName).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) RaiseVersionFileError(kCannotReadVersion, fileName, errno);
    return ReadFrom(TFileSource(file.fd, fileName));
}

void PatchFileVersion(std::string_view fileName, const TVersionNumbers& version) {
    CheckFileName(fileName);
    TFd file{::open(std::string(fileName).c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) RaiseVersionFileError(kCannotWriteVersion, fileName, errno);
    TFileSource source(file.fd, fileName);
    const auto place = TElfSections(source).FindVersionSection();
    auto block = place ? ReadBlock(source, *place) : std::nullopt;
    auto info = block ? ParseBlock(*block) : std::nullopt;
    if (!info) throw EInOutError(std::string(fileName) + ": " + std::string(kNoVersionInformation));

    info->FileVersion = version;
    bool found = false;
    for (auto& [key, value] : info->Strings)
        if (key == "FileVersion") value = version.ToString(), found = true;
    if (!found) info->Strings.emplace_back("FileVersion", version.ToString());

    std::string area;
    for (const auto& [key, value] : info->Strings) area += key + '\0' + value + '\0';
    if (area.size() > block->size() - kBlockHeaderSize)
        throw EInOutError(std::string(fileName) + ": " + std::string(kNoRoomForVersionTexts));
    const uint16_t parts[4] = {version.Major, version.Minor, version.Release, version.Build};
    for (size_t i = 0; i < 4; ++i) PutLittleEndian(*block, 12 + 2 * i, parts[i], 2);
    PutLittleEndian(*block, 28, area.size(), 4);
    block->replace(kBlockHeaderSize, area.size(), area);
    std::fill(block->begin() + static_cast<ptrdiff_t>(kBlockHeaderSize + area.size()), block->end(), '\0');

    for (size_t done = 0; done < block->size();) {
        ssize_t n = ::pwrite(file.fd, block->data() + done, block->size() - done,
                             static_cast<off_t>(place->Offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) RaiseVersionFileError(kCannotWriteVersion, fileName, errno);
        done += static_cast<size_t>(n);
    }
}

}  // namespace tv
