#pragma once
// Image controls: show a picture as it is, centred, stretched to the control, or scaled keeping
// its proportions.

#include <memory>

#include "platform/gui/graphic_control.h"
#include "platform/gui/picture.h"

namespace tv {

class TImage : public TGraphicControl {
    TV_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* AOwner = nullptr);
    ~TImage() override;

    TPicture* Picture() const { return fPicture.get(); }
    void SetPicture(TPicture* value) { fPicture->Assign(value); }
    bool Center() const { return fCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return fStretch; }
    void SetStretch(bool value);
    // With Stretch: scaled as far as it fits without distortion.
    bool Proportional() const { return fProportional; }
    void SetProportional(bool value);
    // The picture's transparent colour lets the background show.
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool value);
    // The control takes the picture's size.
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool value);

protected:
    void Paint() override;

private:
    void PictureChanged();
    // Where the picture goes in the client area.
    TRect DestRect() const;

    std::unique_ptr<TPicture> fPicture;
    bool fCenter = false;
    bool fStretch = false;
    bool fProportional = false;
    bool fTransparent = false;
    bool fAutoSize = false;
};

}  // namespace tv
