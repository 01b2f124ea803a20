#pragma once
// Pictures in large-object fields. TXBlobField works on a blob field (ftBlob or ftGraphic) and
// tells the picture's format from the stored bytes, so that bitmaps, JPEG images, metafiles and
// icons can share one field; TXGraphicField is the same on an ftGraphic field. The bytes may start
// with the 8-byte header of a graphic blob (16-bit words 1 and 0x0100), which is skipped; nothing
// writes one back.

#include <string>
#include <string_view>

#include "platform/data/field.h"
#include "platform/rtl/persistent.h"

namespace tv {

// The picture formats told apart by their first bytes.
enum class TXGraphicClass : uint8_t { None, Bitmap, Metafile, Jpeg, Icon };

// The format of stored picture bytes: "BM" a bitmap; D7 CD C6 9A a placeable metafile; FF D8 FF E0
// or E1 a JPEG image; 00 00 01 00 an icon; anything else, or 8 bytes or fewer, none.
TXGraphicClass GraphicClassOf(std::string_view bytes);
// The picture's own bytes: without the graphic-blob header when one is there.
std::string_view PictureBytes(std::string_view bytes);

class TXBlobField {
public:
    // `field` must be a blob field; EDatabaseError otherwise.
    explicit TXBlobField(TField& field);

    TField& Field() const { return fField; }
    // The format of the stored bytes (see GraphicClassOf).
    TXGraphicClass GraphicClass() const;
    // A bitmap takes the stored bitmap; a picture takes the stored picture of any readable format
    // (a metafile cannot be read here: EInvalidGraphic); nothing happens when the bytes are of no
    // format. Anything else is assigned the field as persistent objects are.
    void AssignTo(TPersistent* dest) const;
    // Stores a bitmap, or a picture's bitmap, as its bytes; nil empties the field.
    void Assign(TPersistent* source);

private:
    TField& fField;
};

class TXGraphicField : public TXBlobField {
public:
    // `field` must be an ftGraphic field; EDatabaseError otherwise.
    explicit TXGraphicField(TField& field);
};

}  // namespace tv
