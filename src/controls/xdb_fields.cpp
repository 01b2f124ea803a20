#include "controls/xdb_fields.h"

#include <QByteArray>
#include <QImage>

#include "platform/data/db_error.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/gui_exceptions.h"
#include "platform/gui/picture.h"

namespace tv {

namespace {

constexpr std::string_view kNotBlobField = "Field '%s' holds no picture bytes";
constexpr std::string_view kNoMetafileReader = "A metafile cannot be shown on this system";

struct TMagic {
    std::string_view bytes;
    TXGraphicClass graphic;
};
// The first bytes of each picture format, as a table.
constexpr TMagic kMagics[] = {
    {std::string_view("BM", 2), TXGraphicClass::Bitmap},
    {std::string_view("\xD7\xCD\xC6\x9A", 4), TXGraphicClass::Metafile},
    {std::string_view("\xFF\xD8\xFF\xE0", 4), TXGraphicClass::Jpeg},
    {std::string_view("\xFF\xD8\xFF\xE1", 4), TXGraphicClass::Jpeg},
    {std::string_view("\x00\x00\x01\x00", 4), TXGraphicClass::Icon},
};

bool HasBlobHeader(std::string_view bytes) {
    return bytes.size() >= 8 && bytes.substr(0, 4) == std::string_view("\x01\x00\x00\x01", 4);
}

}  // namespace

std::string_view PictureBytes(std::string_view bytes) {
    return HasBlobHeader(bytes) ? bytes.substr(8) : bytes;
}

TXGraphicClass GraphicClassOf(std::string_view bytes) {
    if (bytes.size() <= 8) return TXGraphicClass::None;
    const std::string_view picture = PictureBytes(bytes);
    for (const TMagic& magic : kMagics)
        if (picture.substr(0, magic.bytes.size()) == magic.bytes) return magic.graphic;
    return TXGraphicClass::None;
}

TXBlobField::TXBlobField(TField& field) : fField(field) {
    if (!IsBlobType(field.DataType())) DatabaseError(kNotBlobField, {field.DisplayName()});
}

TXGraphicField::TXGraphicField(TField& field) : TXBlobField(field) {
    if (field.DataType() != TFieldType::ftGraphic) DatabaseError(kNotBlobField, {field.DisplayName()});
}

TXGraphicClass TXBlobField::GraphicClass() const {
    return GraphicClassOf(fField.AsString());
}

void TXBlobField::AssignTo(TPersistent* dest) const {
    const std::string bytes = fField.AsString();
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (bytes.size() >= 8) bitmap->LoadFromBytes(PictureBytes(bytes));
        return;
    }
    auto* picture = dynamic_cast<TPicture*>(dest);
    if (!picture) return dest->Assign(&fField);
    const TXGraphicClass graphic = GraphicClassOf(bytes);
    if (graphic == TXGraphicClass::None) return;
    if (graphic == TXGraphicClass::Metafile) throw EInvalidGraphic(std::string(kNoMetafileReader));
    const std::string_view data = PictureBytes(bytes);
    TBitmap loaded;
    if (graphic == TXGraphicClass::Bitmap) {
        loaded.LoadFromBytes(data);
    } else {
        const QImage image = QImage::fromData(QByteArray::fromRawData(data.data(), static_cast<int>(data.size())),
                                              graphic == TXGraphicClass::Jpeg ? "JPG" : "ICO");
        if (image.isNull()) throw EInvalidGraphic("The picture in field '" + fField.DisplayName() + "' cannot be read");
        loaded.SetImage(image);
    }
    picture->SetGraphic(&loaded);
}

void TXBlobField::Assign(TPersistent* source) {
    if (!source) return fField.Clear();
    if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (!picture->Graphic()) return fField.Clear();
        return fField.SetAsString(picture->Bitmap()->SaveToBytes());
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) return fField.SetAsString(bitmap->SaveToBytes());
    fField.Assign(source);
}

}  // namespace tv
