#include "platform/gui/theme_services.h"

namespace tv {

bool ThemesEnabled() {
    return false;
}

}  // namespace tv
