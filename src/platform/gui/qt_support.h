#pragma once
// The meeting point with Qt, for the library's own sources only (its public headers stay free of
// Qt): conversions of text, colours and rectangles, and the one Qt application the process has.

#include <QColor>
#include <QObject>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "platform/gui/color.h"
#include "platform/gui/control_types.h"
#include "platform/gui/rect.h"

namespace tv {

// Creates the Qt application on first use (on the main thread), with the Fusion style and the fixed
// system colours as its palette. Without a display it chooses the offscreen platform, so that tools
// and unattended runs never fail for want of a screen.
void EnsureQtApplication();

// True when EnsureQtApplication found no display and chose the offscreen platform itself: an
// unattended run, where no operator can answer a window. Tests that pick the offscreen platform
// on purpose are not screenless. The setter is for tests.
bool ScreenlessRun();
void SetScreenlessRun(bool screenless);

// Whether the toolkit is delivering an event to `object`, or to an object inside it, right now.
bool InEventDelivery(const QObject* object);
// Deletes `object` at once; but while the toolkit is delivering an event to it or to anything
// inside it (a choice in a combo box's list, a click in a tab bar or a menu whose handler frees
// its window), the toolkit would go on with freed objects: then the object is silenced, hidden and
// taken out of its parent now, and deleted once that delivery is done. With `afterAllEvents`, it
// waits until no event at all is being delivered (for objects a widget uses without owning them).
void DeleteWhenDelivered(QObject* object, bool afterAllEvents = false);

inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string FromQString(const QString& s) {
    return s.toStdString();
}

inline QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
inline TColor FromQColor(const QColor& c) {
    return RGB(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()),
               static_cast<uint8_t>(c.blue()));
}

inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
inline TRect FromQRect(const QRect& r) {
    return Bounds(r.x(), r.y(), r.width(), r.height());
}

// The toolkit's cursor for a cursor number, and the shift state of modifiers and mouse buttons.
Qt::CursorShape CursorShapeOf(TCursor cursor);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

}  // namespace tv
