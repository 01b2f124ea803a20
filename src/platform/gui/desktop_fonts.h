#pragma once
// The fonts the desktop names for windows: the one it titles its icons with, and the one a window
// gets when it names none.

namespace tv {

class TFont;

// The font the desktop titles its icons with (the toolkit's general font) into `font`: its face,
// size and style. False, leaving `font` as it was, when the desktop names none.
bool GetIconTitleFont(TFont& font);
// The font the platform gives a window that names none: the library's default face and size.
void GetDefaultGuiFont(TFont& font);

}  // namespace tv
