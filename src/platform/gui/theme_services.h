#pragma once
// Whether the desktop's visual themes apply to the library's controls. No theme service is built
// yet, so they never do: every control that has a themed look and a plain one draws the plain one
// (fixed styles, gradients). A theme service that is switched on will answer here.

namespace tv {

bool ThemesEnabled();

}  // namespace tv
