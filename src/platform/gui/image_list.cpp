#include "platform/gui/image_list.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <vector>

#include "platform/gui/canvas_recorder.h"
#include "platform/gui/image_file.h"
#include "platform/gui/qt_support.h"
#include "platform/rtl/class_info.h"
#include "platform/rtl/text_file.h"

namespace tv {

struct TImageList::TImages {
    std::vector<QImage> list;
};

namespace {

// The disabled look: grey, half transparent.
QImage Greyed(const QImage& img) {
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]) / 2);
        }
    }
    return out;
}

}  // namespace

const TClassInfo& TImageList::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TImageList>("TImageList").Build();
    return info;
}

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner), fImages(std::make_unique<TImages>()) {}

TImageList::~TImageList() = default;

int TImageList::Count() const {
    return static_cast<int>(fImages->list.size());
}

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int value) {
    value = std::max(value, 1);
    if (value == fWidth) return;
    fWidth = value;
    Clear();
}

void TImageList::SetHeight(int value) {
    value = std::max(value, 1);
    if (value == fHeight) return;
    fHeight = value;
    Clear();
}

int TImageList::AddImage(const QImage& image) {
    if (image.isNull()) return -1;
    const QImage src = image.convertToFormat(QImage::Format_ARGB32);
    const int first = Count();
    const int count = std::max(1, src.width() / fWidth);
    for (int i = 0; i < count; ++i) {
        QImage tile(fWidth, fHeight, QImage::Format_ARGB32);
        tile.fill(Qt::transparent);
        QPainter p(&tile);
        p.drawImage(0, 0, src, i * fWidth, 0, fWidth, fHeight);
        p.end();
        fImages->list.push_back(std::move(tile));
    }
    Changed();
    return first;
}

int TImageList::Add(TBitmap* Image, TBitmap* Mask) {
    if (!Image || Image->Empty()) return -1;
    QImage img = Image->Image().convertToFormat(QImage::Format_ARGB32);
    if (Mask && !Mask->Empty()) {
        const QImage& mask = Mask->Image();
        for (int y = 0; y < img.height() && y < mask.height(); ++y)
            for (int x = 0; x < img.width() && x < mask.width(); ++x)
                if ((mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) img.setPixel(x, y, 0);
    }
    return AddImage(img);
}

int TImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    if (!Image || Image->Empty()) return -1;
    return AddImage(WithoutColor(Image->Image(), ToQColor(MaskColor)));
}

int TImageList::AddFromFile(std::string_view FileName) {
    return AddImage(DecodeImage(ReadFileBytes(FileName)));
}

void TImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
    fImages->list.erase(fImages->list.begin() + Index);
    Changed();
}

void TImageList::Clear() {
    if (fImages->list.empty()) return;
    fImages->list.clear();
    Changed();
}

bool TImageList::GetBitmap(int Index, TBitmap* Image) const {
    if (!Image || Index < 0 || Index >= Count()) return false;
    Image->SetImage(fImages->list[Index]);
    return true;
}

void TImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled, bool Mirrored) const {
    if (!Canvas || Index < 0 || Index >= Count()) return;
    if (TCanvasRecorder* recorder = Canvas->Recorder()) {
        TCanvasRecord r;
        r.Op = TCanvasOp::Glyph;
        r.Index = Index;
        r.From = {X, Y};
        r.Rect = Bounds(X, Y, fWidth, fHeight);
        r.Source = this;
        r.Flags = (Enabled ? 0 : 1) | (Mirrored ? 2 : 0);
        recorder->Add(std::move(r), *Canvas);
        return;
    }
    TBitmap tile;
    const QImage shown = Enabled ? fImages->list[Index] : Greyed(fImages->list[Index]);
    tile.SetImage(Mirrored ? shown.mirrored(true, false) : shown);
    Canvas->Draw(X, Y, &tile);
}

QPixmap TImageList::Pixmap(int Index, bool Enabled) const {
    if (Index < 0 || Index >= Count()) return {};
    EnsureQtApplication();
    return QPixmap::fromImage(Enabled ? fImages->list[Index] : Greyed(fImages->list[Index]));
}

}  // namespace tv
