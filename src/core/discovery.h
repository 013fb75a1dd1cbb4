// Which top-level windows the program manages, grouped into applications on a desktop.
#pragma once

#include "core/records.h"

namespace ombrix {

class Program;

// Rebuilds desktop n's applications from the windows on screen, makes it the current desktop
// and takes those windows away from the other desktops.
void ScanDesktop(Program& program, int16_t n);
// Tests one window and records it on the desktop when it is managed.
void AddWindow(Program& program, Hwnd h, clsDesktop& desktop, bool bTopLevelPass);

bool IsExplorerWindow(const clsWI& window);
// True when h is a shell window the program hid and it is still hidden; a listed window that
// has come back on screen is dropped from the list.
bool IsHiddenExplorer(Program& program, Hwnd h);

}  // namespace ombrix
