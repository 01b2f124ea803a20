#pragma once
// A picture holds one graphic of any kind (here always a bitmap), loads it from a file and reports
// every change of it through OnChange.

#include <memory>
#include <string_view>

#include "platform/gui/bitmap.h"

namespace tv {

class TPicture : public TPersistent {
    TV_CLASS(TPicture, TPersistent)
public:
    TPicture();
    ~TPicture() override;

    // The graphic, or nil while the picture is empty.
    TGraphic* Graphic() const { return fGraphic.get(); }
    // A copy of `value` (nil empties the picture).
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap; an empty picture gets a new empty bitmap.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* value) { SetGraphic(value); }
    int Width() const { return fGraphic ? fGraphic->Width() : 0; }
    int Height() const { return fGraphic ? fGraphic->Height() : 0; }

    // BMP and PNG files, told apart by their content.
    void LoadFromFile(std::string_view FileName);
    // EInvalidGraphic when the picture is empty.
    void SaveToFile(std::string_view FileName) const;

    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;

private:
    void Adopt(std::unique_ptr<TBitmap> graphic);
    void Changed();

    std::unique_ptr<TBitmap> fGraphic;
};

}  // namespace tv
