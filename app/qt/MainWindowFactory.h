#pragma once
// The one place where start-up gets its main window. The frame plugs in here.
class QMainWindow;

// Builds the main window (not yet shown); null when it cannot be made, which
// ends start-up.
QMainWindow* CreateMainWindow();
