#pragma once
// The layout is measured in "Arial" and "Courier New"; on this system their
// metric-compatible twins stand in for them. Call once after the
// application object exists.
void InstallFontSubstitutes();
