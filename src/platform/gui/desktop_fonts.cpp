#include "platform/gui/desktop_fonts.h"

#include <QFont>
#include <QFontDatabase>

#include "platform/gui/font.h"
#include "platform/gui/qt_support.h"

namespace tv {

bool GetIconTitleFont(TFont& font) {
    EnsureQtApplication();
    const QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (f.family().isEmpty() || (f.pointSize() <= 0 && f.pixelSize() <= 0)) return false;
    TFont desktop;
    desktop.SetName(FromQString(f.family()));
    if (f.pointSize() > 0)
        desktop.SetSize(f.pointSize());
    else
        desktop.SetHeight(-f.pixelSize());
    TFontStyles style;
    if (f.bold()) style.Include(fsBold);
    if (f.italic()) style.Include(fsItalic);
    if (f.underline()) style.Include(fsUnderline);
    if (f.strikeOut()) style.Include(fsStrikeOut);
    desktop.SetStyle(style);
    font.Assign(&desktop);
    return true;
}

void GetDefaultGuiFont(TFont& font) {
    TFont standard;
    font.Assign(&standard);
}

}  // namespace tv
