#include "platform/gui/image_file.h"

#include <QBuffer>
#include <cctype>

#include "platform/gui/gui_exceptions.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/streams.h"

namespace tv {

namespace {

constexpr std::string_view kInvalidImage = "Bitmap image is not valid";

uint32_t LittleEndian32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint32_t BigEndian32(const unsigned char* p) {
    return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

void ReadExactly(TStream& stream, std::string& out, size_t count) {
    const size_t at = out.size();
    out.resize(at + count);
    if (stream.Read(out.data() + at, static_cast<int64_t>(count)) != static_cast<int64_t>(count))
        throw EInvalidGraphic(std::string(kInvalidImage));
}

}  // namespace

std::string ReadImageBytes(TStream& stream) {
    // Larger images than this are not read from a stream (nor would a desktop show them).
    constexpr uint32_t kMaxImageBytes = 256u << 20;
    std::string bytes;
    ReadExactly(stream, bytes, 8);
    const auto* head = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.substr(0, 2) == "BM") {
        const uint32_t size = LittleEndian32(head + 2);
        if (size < 8 || size > kMaxImageBytes) throw EInvalidGraphic(std::string(kInvalidImage));
        ReadExactly(stream, bytes, size - 8);
        return bytes;
    }
    if (bytes != std::string_view("\x89PNG\r\n\x1a\n", 8)) throw EInvalidGraphic(std::string(kInvalidImage));
    // Chunks of length, type, data and check sum, up to the closing IEND chunk.
    for (;;) {
        const size_t at = bytes.size();
        ReadExactly(stream, bytes, 8);
        const auto* chunk = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        const uint32_t length = BigEndian32(chunk);
        if (length > kMaxImageBytes || bytes.size() + length > kMaxImageBytes)
            throw EInvalidGraphic(std::string(kInvalidImage));
        const bool last = bytes.compare(at + 4, 4, "IEND") == 0;
        ReadExactly(stream, bytes, length + 4);
        if (last) return bytes;
    }
}

const char* ImageFormatForName(std::string_view fileName) {
    if (fileName.size() >= 4) {
        std::string ext(fileName.substr(fileName.size() - 4));
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".png") return "PNG";
    }
    return "BMP";
}

QImage DecodeImage(std::string_view bytes) {
    const QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const bool bmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    const bool png = bytes.size() >= 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8);
    QImage img;
    if (bmp || png) img.loadFromData(data, bmp ? "BMP" : "PNG");
    if (img.isNull()) throw EInvalidGraphic(std::string(kInvalidImage));
    return img;
}

std::string EncodeImage(const QImage& image, const char* format) {
    if (image.isNull()) return {};
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) throw EInvalidGraphic(std::string(kInvalidImage));
    return std::string(out.constData(), static_cast<size_t>(out.size()));
}

QImage WithoutColor(const QImage& image, const QColor& key) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = key.rgb() & 0xFFFFFF;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] & 0xFFFFFF) == k) line[x] = 0;
    }
    return out;
}

}  // namespace tv
