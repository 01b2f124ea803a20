#pragma once
// Gives the main window its about box (MainFormServices().ShowAbout) and its developer test
// window (MainFormServices().ShowDebugFile).

namespace tv {

void InstallUtilityWindows();

}  // namespace tv
