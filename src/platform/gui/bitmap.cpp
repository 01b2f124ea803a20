#include "platform/gui/bitmap.h"

#include <QImage>
#include <QPainter>

#include "platform/gui/gui_exceptions.h"
#include "platform/gui/image_file.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/format.h"
#include "platform/rtl/object_handles.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/text_file.h"

namespace tv {

namespace {

constexpr std::string_view kNoClipboardFormat = "Unsupported clipboard format";
constexpr std::string_view kResourceNotFound = "Resource %s not found";
constexpr std::string_view kInvalidBitmapHandle = "Invalid bitmap handle ";

constexpr std::string_view kBitmapTooLarge = "Bitmap too large: %d x %d pixels";
// The most pixels a bitmap holds (256 MiB of them), as no image a file or stream gives is larger:
// a size beyond it is refused before anything is allocated.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 26;

// Pixels of new areas are white, as a fresh bitmap is.
QImage BlankImage(int w, int h) {
    QImage img;
    if (static_cast<int64_t>(w) * h <= kMaxBitmapPixels) img = QImage(w, h, QImage::Format_RGB32);
    if (img.isNull()) throw EOutOfResources(Format(kBitmapTooLarge, {TVarRec(w), TVarRec(h)}));
    img.fill(Qt::white);
    return img;
}

}  // namespace

const TClassInfo& TBitmap::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TBitmap>("TBitmap").Build();
    return info;
}

TBitmap::TBitmap() : fImage(std::make_unique<QImage>()), fCanvas(std::make_unique<TCanvas>()) {
    fCanvas->AttachImage(fImage.get());
    fCanvas->OnChange = [this](TObject*) { Changed(); };
}

TBitmap::~TBitmap() {
    fCanvas->OnChange = nullptr;
}

bool TBitmap::Empty() const {
    return fImage->isNull();
}

int TBitmap::Width() const {
    return fImage->isNull() ? fEmptyWidth : fImage->width();
}

int TBitmap::Height() const {
    return fImage->isNull() ? fEmptyHeight : fImage->height();
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == Width() && AHeight == Height()) return;
    if (AWidth == 0 || AHeight == 0) {
        *fImage = QImage();
    } else {
        QImage img = BlankImage(AWidth, AHeight);  // a size refused leaves the bitmap as it was
        if (!fImage->isNull()) {
            QPainter p(&img);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, *fImage);
        }
        *fImage = std::move(img);
    }
    fEmptyWidth = AWidth;
    fEmptyHeight = AHeight;
    Changed();
}

void TBitmap::SetImage(const QImage& image) {
    fEmptyWidth = fEmptyHeight = 0;
    // Images with an alpha channel (glyphs from PNG files) keep it.
    if (image.isNull())
        *fImage = QImage();
    else
        *fImage =
            image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (fMonochrome) SetMonochrome(true);
    Changed();
}

void TBitmap::LoadFromFile(std::string_view FileName) {
    LoadFromBytes(ReadFileBytes(FileName));
}

void TBitmap::SaveToFile(std::string_view FileName) const {
    WriteFileBytes(FileName, EncodeImage(*fImage, ImageFormatForName(FileName)));
}

void TBitmap::LoadFromStream(TStream& Stream) {
    LoadFromBytes(ReadImageBytes(Stream));
}

void TBitmap::SaveToStream(TStream& Stream) const {
    const std::string bytes = SaveToBytes();
    Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::LoadFromBytes(std::string_view Bytes) {
    SetImage(DecodeImage(Bytes));
}

std::string TBitmap::SaveToBytes() const {
    return EncodeImage(*fImage, "BMP");
}

int32_t TBitmap::Handle() const {
    return Empty() ? 0 : TObjectHandles::HandleOf(this);
}

void TBitmap::SetHandle(int32_t value) {
    if (value == 0) {
        SetSize(0, 0);
        return;
    }
    auto* other = dynamic_cast<TBitmap*>(TObjectHandles::ObjectOf(value));
    if (!other) throw EInvalidHandle(std::string(kInvalidBitmapHandle) + std::to_string(value));
    if (other != this) SetImage(*other->fImage);
}

void TBitmap::LoadFromClipboardFormat(uint16_t, int32_t, int32_t) {
    throw EInvalidGraphic(std::string(kNoClipboardFormat));
}

void TBitmap::SaveToClipboardFormat(uint16_t&, int32_t&, int32_t&) const {
    throw EInvalidGraphic(std::string(kNoClipboardFormat));
}

void TBitmap::LoadFromResourceName(int32_t, std::string_view ResName) {
    std::string text(kResourceNotFound);
    text.replace(text.find("%s"), 2, ResName);
    throw EResNotFound(text);
}

void TBitmap::LoadFromResourceID(int32_t Instance, int32_t ResID) {
    LoadFromResourceName(Instance, std::to_string(ResID));
}

void TBitmap::SetMonochrome(bool value) {
    if (value == fMonochrome) return;
    fMonochrome = value;
    if (value && !fImage->isNull()) {
        *fImage = fImage->convertToFormat(QImage::Format_Mono, Qt::ThresholdDither)
                      .convertToFormat(QImage::Format_RGB32);
    }
    Changed();
}

int32_t TBitmap::ReleasePalette() {
    const int32_t p = fPalette;
    fPalette = 0;
    return p;
}

TColor TBitmap::TransparentColor() const {
    if (fTransparentColor != clDefault) return fTransparentColor;
    if (Empty()) return clDefault;
    return FromQColor(QColor(fImage->pixel(0, fImage->height() - 1)));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == fTransparentColor) return;
    fTransparentColor = value;
    Changed();
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        SetSize(0, 0);
        return;
    }
    auto* b = dynamic_cast<TBitmap*>(Source);
    if (!b) return TGraphic::Assign(Source);
    if (b == this) return;
    *fImage = *b->fImage;
    fEmptyWidth = b->fEmptyWidth;
    fEmptyHeight = b->fEmptyHeight;
    fMonochrome = b->fMonochrome;
    fPalette = b->fPalette;
    fTransparentColor = b->fTransparentColor;
    if (b->Transparent() != Transparent()) SetTransparent(b->Transparent());
    Changed();
}

void TBitmap::DrawTo(QPainter& painter, const QRect& target) const {
    if (Empty()) return;
    if (!Transparent()) {
        painter.drawImage(target, *fImage);
        return;
    }
    painter.drawImage(target, WithoutColor(*fImage, ToQColor(TransparentColor())));
}

}  // namespace tv
