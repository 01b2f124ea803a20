#pragma once
// The number formats tests pin: a Swedish desktop's (decimal comma, a blank between thousands) and
// the same with "forcedot" (a decimal point), whatever the locale the tests run under.

#include "platform/rtl/format_settings.h"

namespace tv::test {

inline TFormatSettings SwedishSettings() {
    return FormatSettingsForLocale("sv_SE.UTF-8");
}
inline TFormatSettings ForceDotSettings() {
    TFormatSettings settings = SwedishSettings();
    ApplyForceDot(settings);
    return settings;
}

}  // namespace tv::test
