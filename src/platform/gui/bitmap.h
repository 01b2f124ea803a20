#pragma once
// A bitmap: a true-colour image with a canvas to draw on it. Files are read as BMP or PNG (the
// content decides) and written as BMP, or as PNG when the file name ends in ".png". Handles and
// palettes are numbers only here: there is no device to hold them.

#include <memory>

#include "platform/gui/canvas.h"
#include "platform/gui/color.h"
#include "platform/gui/graphic.h"

class QImage;

namespace tv {

class TStream;

class TBitmap : public TGraphic {
    TV_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    ~TBitmap() override;

    TCanvas* Canvas() const { return fCanvas.get(); }

    bool Empty() const override;
    int Width() const override;
    void SetWidth(int value) override { SetSize(value, Height()); }
    int Height() const override;
    void SetHeight(int value) override { SetSize(Width(), value); }
    // Keeps the pixels that stay inside; new pixels are white. A size of 0 empties the bitmap.
    void SetSize(int AWidth, int AHeight);

    void LoadFromFile(std::string_view FileName) override;
    void SaveToFile(std::string_view FileName) const override;
    // One image from the stream's position (BMP or PNG); BMP out.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    // The image file's bytes: BMP or PNG in, BMP out.
    void LoadFromBytes(std::string_view Bytes);
    std::string SaveToBytes() const;

    // A number standing for the image, 0 while the bitmap is empty. Setting the number of another
    // bitmap copies its image; 0 empties this one.
    int32_t Handle() const;
    void SetHandle(int32_t value);
    int32_t ReleaseHandle() { return Handle(); }
    // Nothing is held apart from the image itself.
    void Dormant() {}
    void FreeImage() {}
    // There is no clipboard image format and there are no resources: these raise.
    void LoadFromClipboardFormat(uint16_t AFormat, int32_t AData, int32_t APalette);
    void SaveToClipboardFormat(uint16_t& Format, int32_t& Data, int32_t& APalette) const;
    void LoadFromResourceName(int32_t Instance, std::string_view ResName);
    void LoadFromResourceID(int32_t Instance, int32_t ResID);

    // Black and white only: switching it on turns every pixel black or white.
    bool Monochrome() const { return fMonochrome; }
    void SetMonochrome(bool value);
    // A palette is only a stored number: the image is true colour.
    int32_t Palette() const { return fPalette; }
    void SetPalette(int32_t value) { fPalette = value; }
    int32_t ReleasePalette();
    bool IgnorePalette = false;
    // The colour left out when the bitmap is drawn transparently: the one set, else the colour of
    // the bottom-left pixel; clDefault while the bitmap is empty.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);

    void Assign(TPersistent* Source) override;
    void DrawTo(QPainter& painter, const QRect& target) const override;

    // The image itself, for the library's controls and image lists.
    const QImage& Image() const { return *fImage; }
    void SetImage(const QImage& image);

private:
    std::unique_ptr<QImage> fImage;
    std::unique_ptr<TCanvas> fCanvas;
    bool fMonochrome = false;
    int32_t fPalette = 0;
    TColor fTransparentColor = clDefault;
    // The size asked for while one side is 0 (the image is then empty): Width := 4 on an empty bitmap
    // stays 4 until Height makes an image of it.
    int fEmptyWidth = 0;
    int fEmptyHeight = 0;
};

}  // namespace tv
