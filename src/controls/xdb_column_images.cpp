// A column's cell pictures: the box of a check-box column as a bitmap in its box style, the image
// a cell takes from the column's Images, and the picture of a graphic field.

#include <QImage>

#include "controls/xdb_columns.h"
#include "controls/xdb_fields.h"
#include "controls/xdb_grid.h"
#include "controls/xdb_grid_boxes.h"
#include "controls/xdb_grid_data_link.h"
#include "platform/data/data_set.h"
#include "platform/data/field.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/image_list.h"
#include "platform/gui/picture.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/number_text.h"

namespace tv {
namespace {

// `image` half and half with `colour`, its transparent pixels kept: how a disabled grid shows it.
QImage Blended(const QImage& image, TColor colour) {
    QImage blended = image.convertToFormat(QImage::Format_ARGB32);
    const QColor with = ToQColor(ColorToRGB(colour));
    for (int y = 0; y < blended.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(blended.scanLine(y));
        for (int x = 0; x < blended.width(); ++x) {
            const QRgb p = line[x];
            if (qAlpha(p) == 0) continue;
            line[x] = qRgba((qRed(p) + with.red()) / 2, (qGreen(p) + with.green()) / 2,
                            (qBlue(p) + with.blue()) / 2, qAlpha(p));
        }
    }
    return blended;
}

// Image `index` of `list` as a bitmap, blended with the grid's fixed colour while it is disabled.
std::unique_ptr<TBitmap> ImageOf(const TImageList& list, int index, const TXCustomDBGrid& grid) {
    auto bitmap = std::make_unique<TBitmap>();
    if (!list.GetBitmap(index, bitmap.get())) return nullptr;
    if (!grid.Enabled()) bitmap->SetImage(Blended(bitmap->Image(), grid.FixedColor()));
    return bitmap;
}

}  // namespace

std::unique_ptr<TBitmap> TXColumn::CheckBoxBitmap() const {
    TXCustomDBGrid* grid = Grid();
    if (!grid) return nullptr;
    const TXGridDataLink* link = grid->DataLink();
    if (link->Active() && link->DataSet()->IsEmpty()) return nullptr;
    const TImageList* boxes = grid->CheckBoxes();
    int index = CheckBoxIndex();
    if (grid->IsGridThemed()) {
        // The theme's check box in the state the mouse gives the cell, on white (transparent).
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(boxes->Width(), boxes->Height());
        bitmap->Canvas()->Brush()->SetColor(clWhite);
        bitmap->Canvas()->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
        DrawThemedElement(*bitmap->Canvas(), grid->ThemedCheckBox(this, index),
                          Rect(0, 0, bitmap->Width(), bitmap->Height()));
        bitmap->SetTransparentColor(clWhite);
        return bitmap;
    }
    if (index >= boxes->Count()) index %= 3;
    std::unique_ptr<TBitmap> bitmap = ImageOf(*boxes, index, *grid);
    if (!bitmap) return nullptr;
    // The strip's plain frame gives way to the edges of the box style; a disabled grid shows the mild one.
    DrawBox(bitmap->Canvas(), Rect(0, 0, bitmap->Width(), bitmap->Height()),
            grid->Enabled() ? grid->GetBoxStyle(fCheckBoxStyle) : cbMild);
    bitmap->SetTransparentColor(clWhite);
    return bitmap;
}

int TXColumn::CellImageIndex() const {
    if (IsCheckBox()) return CheckBoxIndex();
    TField* field = Field();
    if (!field) return -1;
    if (field->DataType() == TFieldType::ftBoolean) return field->AsBoolean() ? 1 : 0;
    return StrToIntDef(field->Text(), -1);
}

std::unique_ptr<TBitmap> TXColumn::CellImageBitmap(int Index) const {
    TXCustomDBGrid* grid = Grid();
    if (!grid || !fImages) return nullptr;
    std::unique_ptr<TBitmap> bitmap = ImageOf(*fImages, Index, *grid);
    if (bitmap && fTransparentColor != clNone) bitmap->SetTransparentColor(fTransparentColor);
    return bitmap;
}

std::unique_ptr<TPicture> TXColumn::FieldGraphic() const {
    TField* field = Field();
    if (!field || field->DataType() != TFieldType::ftGraphic) return nullptr;
    const TXGraphicField graphic(*field);
    const TXGraphicClass kind = graphic.GraphicClass();
    // A bitmap, or bytes of no known format, are read from the field itself when drawn.
    if (kind == TXGraphicClass::Bitmap || kind == TXGraphicClass::None) return nullptr;
    auto picture = std::make_unique<TPicture>();
    graphic.AssignTo(picture.get());
    return picture;
}

}  // namespace tv
