#pragma once
// Image bytes for the library's graphics: decoding BMP or PNG by their content, encoding BMP or
// PNG, reading one image from a stream, and the colour-keyed transparency of bitmaps and image lists.

#include <QColor>
#include <QImage>
#include <string>
#include <string_view>

namespace tv {

class TStream;

// "PNG" for a name ending in ".png" (any case), else "BMP".
const char* ImageFormatForName(std::string_view fileName);
// A BMP or PNG image; EInvalidGraphic for anything else.
QImage DecodeImage(std::string_view bytes);
// The bytes of one BMP or PNG image from the stream's position (the image's own length decides
// where it ends, so that images can follow each other); the stream is left after it.
// EInvalidGraphic for anything else.
std::string ReadImageBytes(TStream& stream);
// An empty image gives no bytes.
std::string EncodeImage(const QImage& image, const char* format);
// The image with every pixel of `key` made fully transparent.
QImage WithoutColor(const QImage& image, const QColor& key);

}  // namespace tv
