#include "platform/gui/image.h"

#include "platform/rtl/class_info.h"

namespace tv {

const TClassInfo& TImage::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TImage>("TImage").Build();
    return info;
}

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), fPicture(std::make_unique<TPicture>()) {
    fPicture->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    fPicture->OnChange = nullptr;
}

void TImage::PictureChanged() {
    if (TGraphic* g = fPicture->Graphic()) g->SetTransparent(fTransparent);
    if (fAutoSize && fPicture->Width() > 0) SetBounds(Left(), Top(), fPicture->Width(), fPicture->Height());
    Invalidate();
}

void TImage::SetCenter(bool value) {
    fCenter = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    fStretch = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    fProportional = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    fTransparent = value;
    PictureChanged();
}

void TImage::SetAutoSize(bool value) {
    fAutoSize = value;
    PictureChanged();
}

TRect TImage::DestRect() const {
    int w = fPicture->Width();
    int h = fPicture->Height();
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    if (fStretch && w > 0 && h > 0) {
        if (!fProportional) return Bounds(0, 0, cw, ch);
        // The larger of the two ratios decides, so that the whole picture fits.
        if (static_cast<int64_t>(w) * ch > static_cast<int64_t>(h) * cw) {
            h = static_cast<int>(static_cast<int64_t>(h) * cw / w);
            w = cw;
        } else {
            w = static_cast<int>(static_cast<int64_t>(w) * ch / h);
            h = ch;
        }
    }
    if (fCenter) return Bounds((cw - w) / 2, (ch - h) / 2, w, h);
    return Bounds(0, 0, w, h);
}

void TImage::Paint() {
    TGraphic* g = fPicture->Graphic();
    if (!g || g->Empty()) return;
    Canvas()->StretchDraw(DestRect(), g);
}

}  // namespace tv
