#include "platform/gui/picture.h"

#include "platform/gui/gui_exceptions.h"
#include "platform/rtl/class_info.h"

namespace tv {

namespace {
constexpr std::string_view kEmptyPicture = "The picture holds no image to save";
}

const TClassInfo& TPicture::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPicture>("TPicture").Build();
    return info;
}

TPicture::TPicture() = default;

TPicture::~TPicture() {
    if (fGraphic) fGraphic->OnChange = nullptr;
}

void TPicture::Adopt(std::unique_ptr<TBitmap> graphic) {
    if (fGraphic) fGraphic->OnChange = nullptr;
    fGraphic = std::move(graphic);
    if (fGraphic) fGraphic->OnChange = [this](TObject*) { Changed(); };
    Changed();
}

void TPicture::Changed() {
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* value) {
    if (value == fGraphic.get()) return;
    if (!value) return Adopt(nullptr);
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(value);
    Adopt(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
    if (!fGraphic) Adopt(std::make_unique<TBitmap>());
    return fGraphic.get();
}

void TPicture::LoadFromFile(std::string_view FileName) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(FileName);
    Adopt(std::move(bitmap));
}

void TPicture::SaveToFile(std::string_view FileName) const {
    if (!fGraphic) throw EInvalidGraphic(std::string(kEmptyPicture));
    fGraphic->SaveToFile(FileName);
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) return SetGraphic(nullptr);
    if (auto* p = dynamic_cast<TPicture*>(Source)) return SetGraphic(p->fGraphic.get());
    if (auto* g = dynamic_cast<TGraphic*>(Source)) return SetGraphic(g);
    TPersistent::Assign(Source);
}

}  // namespace tv
