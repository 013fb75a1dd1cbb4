#include "core/discovery.h"

#include <array>

#include "app/program.h"
#include "rules/apply.h"

namespace ombrix {

namespace {

constexpr uint32_t kTopMostStyle = 0x8;
constexpr uint32_t kOverlappedWindowBits = 0xCF0000;
// The last one is the notification area Wine shows when no desktop shell provides one; hiding
// it would take the program's own tray icon off the screen.
constexpr std::array<const char*, 6> kExcludedClasses = {
    "progman", "shell_traywnd", "basebar", "cursorxp", "workerw", "__winex11_standalone_tray"};
// Titles and class names are read into 1024-character buffers.
constexpr size_t kMaxTextLength = 1023;

std::string ReadTrimmed(std::string text) {
  // Cut at a character boundary so a long UTF-8 title stays valid text.
  if (text.size() > kMaxTextLength) {
    size_t cut = kMaxTextLength;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  return TrimBlanks(text);
}

bool IsExcludedClass(const std::string& className, uint32_t style) {
  const std::string lower = LowerText(className);
  for (const char* excluded : kExcludedClasses) {
    if (lower != excluded) continue;
    if (lower == "progman" && (style & kOverlappedWindowBits) != 0) continue;
    return true;
  }
  return false;
}

// Takes the windows of desktop n's applications away from the first application of the same
// process on every other desktop.
void CleanOtherDesktops(Program& program, int16_t n) {
  clsDesktop& current = program.desk.Desk(n);
  const int count = current.opi.Count();
  for (int a = 1; a <= count; ++a) {
    const clsPI& p = current.opi[a];
    for (int d = 1; d <= kDesktopCount; ++d) {
      if (d == n) continue;
      clsDesktop& other = program.desk.Desk(d);
      const int q = other.GetProcessIdxByPID(p.pID);
      if (q <= 0) continue;
      List<clsWI>& windows = other.opi[q].oWin;
      for (int w = 1; w <= windows.Count();) {
        if (p.ContainHandle(windows[w].lHwnd)) {
          windows.Remove(w);
        } else {
          ++w;
        }
      }
      if (windows.Empty()) other.opi.Remove(q);
    }
  }
}

}  // namespace

void ScanDesktop(Program& program, int16_t n) {
  program.desk.iCurDesk = n;
  clsDesktop& desktop = program.desk.Desk(n);
  desktop.opi = List<clsPI>();
  std::vector<SeenWindow> seen;
  const std::vector<Hwnd> topLevel = program.platform.windows.TopLevelWindows();
  for (Hwnd h : topLevel) {
    if (h == 0) break;
    if (auto window = LookAt(program, h)) seen.push_back(std::move(*window));
  }
  // Windows gone without a notice are forgotten here.
  program.oWinOrder.KeepOnly(topLevel);
  for (bool topLevelPass : {true, false}) {
    for (const SeenWindow& window : seen) AddWindow(program, window, desktop, topLevelPass);
  }
  program.oWinOrder.OrderWindows(desktop);
  CleanOtherDesktops(program, n);
  ApplyRules(program, true);
}

std::optional<SeenWindow> LookAt(Program& program, Hwnd h, bool evenHidden) {
  WindowSystem& windows = program.platform.windows;
  // Most top-level windows are hidden: they cost one question.
  if (!evenHidden && !windows.IsWindowVisible(h)) return std::nullopt;
  SeenWindow window{.hwnd = h, .ids = windows.WindowThreadProcess(h)};
  if (window.ids.processId == program.platform.system.CurrentProcessId()) return std::nullopt;
  window.owner = windows.Owner(h);
  window.exStyle = windows.ExStyle(h);
  window.className = ReadTrimmed(windows.ClassName(h));
  // Only the shell's own desktop window is told apart by its style.
  if (LowerText(window.className) == "progman") window.style = windows.Style(h);
  window.title = ReadTrimmed(windows.WindowText(h));
  window.rect = windows.WindowRect(h);
  return window;
}

void AddWindow(Program& program, const SeenWindow& seen, clsDesktop& desktop, bool bTopLevelPass) {
  if (bTopLevelPass && seen.owner != 0) return;
  const bool topMost = (seen.exStyle & kTopMostStyle) != 0;
  if (seen.title.empty() && program.settings.bIgnoreNoTitle) return;
  if (program.settings.bIgnoreTopMost && topMost) return;
  if (IsExcludedClass(seen.className, seen.style)) return;

  auto window = std::make_shared<clsWI>();
  window->class_name = seen.className;
  window->window_text = seen.title;
  window->lHwnd = seen.hwnd;
  if (!(seen.rect.Width() > 0 && seen.rect.Height() > 0)) window->iHideFromList = kZeroSize;
  if (window->iHideFromList == kListed && seen.title.empty()) window->iHideFromList = kNoTitle;

  const auto pid = static_cast<int32_t>(seen.ids.processId);
  const auto thread = static_cast<int32_t>(seen.ids.threadId);
  auto newApplication = [&] {
    auto app = std::make_shared<clsPI>();
    app->pID = pid;
    app->thread = thread;
    desktop.opi.Add(app);
    return app;
  };
  if (bTopLevelPass) {
    newApplication()->oWin.Add(window);
    return;
  }
  if (seen.owner == 0) return;
  std::shared_ptr<clsPI> app = desktop.GetProcessObject(pid);
  if (!app) app = newApplication();
  if (app->ContainHandle(seen.hwnd)) return;
  app->oWin.Add(window);
}

std::vector<Hwnd> AdoptWindows(Program& program, int16_t n, const std::vector<Hwnd>& windows) {
  clsDesktop& desktop = program.desk.Desk(n);
  std::vector<SeenWindow> seen;
  for (Hwnd h : windows) {
    if (auto window = LookAt(program, h, true)) seen.push_back(std::move(*window));
  }
  for (bool topLevelPass : {true, false}) {
    for (const SeenWindow& window : seen) AddWindow(program, window, desktop, topLevelPass);
  }
  std::vector<Hwnd> refused;
  for (Hwnd h : windows) {
    if (desktop.GetProcessIdxByHandle(h) == -1) refused.push_back(h);
  }
  return refused;
}

bool IsExplorerWindow(const clsWI& window) {
  return window.class_name == "IEFrame" || window.class_name == "ExploreWClass" ||
         window.class_name == "CabinetWClass";
}

bool IsHiddenExplorer(Program& program, Hwnd h) {
  if (!program.colHiddenExplorer.Contains(h)) return false;
  if (!program.platform.windows.IsWindowVisible(h)) return true;
  program.colHiddenExplorer.Remove(h);
  return false;
}

}  // namespace ombrix
