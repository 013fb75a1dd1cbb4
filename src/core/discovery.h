// Which top-level windows the program manages, grouped into applications on a desktop.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/records.h"

namespace ombrix {

class Program;

// Rebuilds desktop n's applications from the windows on screen, makes it the current desktop
// and takes those windows away from the other desktops.
void ScanDesktop(Program& program, int16_t n);
// A visible top-level window of another process as a scan saw it. Each property is read from
// the system once per scan, however many passes look at it.
struct SeenWindow {
  Hwnd hwnd = 0;
  ThreadProcess ids;
  Hwnd owner = 0;
  uint32_t style = 0;  // read for windows of class "progman" only
  uint32_t exStyle = 0;
  std::string className;  // trimmed, at most 1023 characters
  std::string title;      // likewise
  Rect rect;
};

// The window as it is now; nothing when it is hidden (unless evenHidden) or belongs to this
// program.
std::optional<SeenWindow> LookAt(Program& program, Hwnd h, bool evenHidden = false);
// Records the windows on desktop n as a scan would, whether they are on screen or not, without
// showing or hiding any. The result holds those that are no managed windows (any more).
std::vector<Hwnd> AdoptWindows(Program& program, int16_t n, const std::vector<Hwnd>& windows);
// Tests one window and records it on the desktop when it is managed.
void AddWindow(Program& program, const SeenWindow& window, clsDesktop& desktop, bool bTopLevelPass);

bool IsExplorerWindow(const clsWI& window);
// True when h is a shell window the program hid and it is still hidden; a listed window that
// has come back on screen is dropped from the list.
bool IsHiddenExplorer(Program& program, Hwnd h);

}  // namespace ombrix
