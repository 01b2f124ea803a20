#pragma once
// Images that can be loaded, saved and drawn onto a canvas. TBitmap is the one kind there is; the
// base fixes what every kind offers and reports each change through OnChange.

#include <string>
#include <string_view>

#include "platform/rtl/event.h"
#include "platform/rtl/persistent.h"

class QPainter;
class QRect;

namespace tv {

class TGraphic : public TPersistent {
    TV_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int value) = 0;
    // Set by every change; setting it to true reports a change.
    bool Modified() const { return fModified; }
    void SetModified(bool value);
    // Drawn without the pixels of its transparent colour.
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool value);

    // Raise EFOpenError/EFCreateError for a file that cannot be opened or written and
    // EInvalidGraphic for content that is not an image of the kind.
    virtual void LoadFromFile(std::string_view FileName) = 0;
    virtual void SaveToFile(std::string_view FileName) const = 0;

    TNotifyEvent OnChange;

    // How a canvas draws the image into `target` (used by TCanvas).
    virtual void DrawTo(QPainter& painter, const QRect& target) const = 0;

protected:
    virtual void Changed();

private:
    bool fModified = false;
    bool fTransparent = false;
};

}  // namespace tv
