#pragma once
// A list of small images of one size (16 x 16 unless set otherwise), added from bitmaps that may
// hold several side by side, with a mask or a mask colour for transparency. Tree views, buttons and
// menus show images from a list by index.

#include <memory>

#include "platform/gui/bitmap.h"
#include "platform/rtl/component.h"

class QImage;
class QPixmap;

namespace tv {

class TImageList : public TComponent {
    TV_CLASS(TImageList, TComponent)
public:
    explicit TImageList(TComponent* AOwner = nullptr);
    ~TImageList() override;

    int Width() const { return fWidth; }
    int Height() const { return fHeight; }
    // Changing the size empties the list.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const;

    // Adds the images of `Image` (cut into images Width wide, left to right); the white pixels of
    // `Mask`, when given, are transparent. Returns the index of the first, -1 when none was added.
    int Add(TBitmap* Image, TBitmap* Mask);
    // As Add, with the pixels of MaskColor transparent.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Adds the images of a BMP or PNG file (PNG transparency kept).
    int AddFromFile(std::string_view FileName);
    void Delete(int Index);
    void Clear();
    // Copies image Index into `Image`; false for an index outside the list.
    bool GetBitmap(int Index, TBitmap* Image) const;
    // Draws image Index at X, Y (greyed when not Enabled); an index outside the list draws nothing.
    // `Mirrored` draws the image flipped left to right (recorded with Flags bit 2; bit 1 is disabled).
    void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true, bool Mirrored = false) const;

    TNotifyEvent OnChange;

    // For the library's controls: image Index, null outside the list.
    QPixmap Pixmap(int Index, bool Enabled = true) const;
    int AddImage(const QImage& image);

private:
    void Changed();
    struct TImages;
    std::unique_ptr<TImages> fImages;
    int fWidth = 16;
    int fHeight = 16;
};

}  // namespace tv
