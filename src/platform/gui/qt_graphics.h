#pragma once
// Qt forms of the drawing tools, for the library's own sources.

#include <QFont>
#include <QImage>

#include "platform/gui/font.h"

namespace tv {

QFont ToQFont(const TFont& font);

}  // namespace tv
