#include "core/records.h"

namespace ombrix {

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

IconHandle clsPI::GetHIcon(const ClassIconLookup& classIcon) {
  if (hIcon != 0) return hIcon;
  for (const auto& win : oWin) {
    IconHandle icon = classIcon(win->lHwnd, true);
    if (icon == 0) icon = classIcon(win->lHwnd, false);
    if (icon != 0) {
      hIcon = icon;
      break;
    }
  }
  return hIcon;
}

std::string clsPI::GetText(int32_t itt) const {
  auto firstNonEmpty = [this](std::string clsWI::*field) -> std::string {
    for (const auto& win : oWin) {
      if (!((*win).*field).empty()) return (*win).*field;
    }
    return "";
  };
  switch (itt) {
    case kTitleOrClass: {
      std::string title = firstNonEmpty(&clsWI::window_text);
      return title.empty() ? firstNonEmpty(&clsWI::class_name) : title;
    }
    case kTitleOnly:
      return firstNonEmpty(&clsWI::window_text);
    case kClassOnly:
      return firstNonEmpty(&clsWI::class_name);
    default:
      return "";
  }
}

const std::string& clsWI::LowerClassName() const {
  if (!lowered_) {
    lowerClass_ = LowerText(class_name);
    lowerText_ = LowerText(window_text);
    lowered_ = true;
  }
  return lowerClass_;
}

const std::string& clsWI::LowerWindowText() const {
  LowerClassName();
  return lowerText_;
}

bool clsPI::MatchText(const std::string& t, const std::string& p, TextCompare ict) {
  switch (ict) {
    case TextCompare::Contains:
      return t.find(p) != std::string::npos;
    case TextCompare::NotContains:
      return t.find(p) == std::string::npos;
    case TextCompare::StartsWith:
      return t.size() >= p.size() && t.compare(0, p.size(), p) == 0;
    case TextCompare::EndsWith:
      return EndsWith(t, p);
    case TextCompare::EqualTo:
      return t == p;
    default:
      return false;
  }
}

bool clsPI::ContainText(const std::string& sText, int32_t itt, TextCompare ict) const {
  return ContainLowerText(LowerText(sText), itt, ict);
}

bool clsPI::ContainLowerText(const std::string& lowerPattern, int32_t itt, TextCompare ict) const {
  if (itt == kTitleOrClass || itt == kTitleOnly) {
    for (const auto& win : oWin) {
      if (MatchText(win->LowerWindowText(), lowerPattern, ict)) return true;
    }
  }
  if (itt == kTitleOrClass || itt == kClassOnly) {
    for (const auto& win : oWin) {
      if (MatchText(win->LowerClassName(), lowerPattern, ict)) return true;
    }
  }
  return false;
}

bool clsPI::ContainHandle(Hwnd lHwnd) const {
  return oWin.FindPosition([lHwnd](const clsWI& w) { return w.lHwnd == lHwnd; }) > 0;
}

bool clsPI::AllWindowsHided(bool bMainMenu) const {
  for (const auto& win : oWin) {
    if (win->iHideFromList == kListed) return false;
    if (!bMainMenu && win->iHideFromList == kNoTitle) return false;
  }
  return true;
}

Hwnd clsPI::GetFirstVisWin() const {
  for (const auto& win : oWin) {
    if (win->iHideFromList == kListed) return win->lHwnd;
  }
  return -1;
}

std::shared_ptr<clsPI> clsDesktop::GetProcessObject(int32_t lPID) const {
  return opi.Item(GetProcessIdxByPID(lPID));
}

int clsDesktop::GetProcessIdxByHandle(Hwnd lHwnd) const {
  return opi.FindPosition([lHwnd](const clsPI& p) { return p.ContainHandle(lHwnd); });
}

int clsDesktop::GetProcessIdxByPID(int32_t lPID) const {
  return opi.FindPosition([lPID](const clsPI& p) { return p.pID == lPID; });
}

std::shared_ptr<clsWI> clsDesktop::TakeWindow(Hwnd lHwnd) {
  const int a = GetProcessIdxByHandle(lHwnd);
  if (a <= 0) return nullptr;
  List<clsWI>& windows = opi[a].oWin;
  std::shared_ptr<clsWI> window =
      windows.Remove(windows.FindPosition([lHwnd](const clsWI& w) { return w.lHwnd == lHwnd; }));
  if (windows.Empty()) opi.Remove(a);
  return window;
}

int16_t clsDesktop::GetNumVisProc() const {
  int16_t count = 0;
  for (const auto& app : opi) {
    if (!app->AllWindowsHided(true)) ++count;
  }
  return count;
}

void DesktopSet::CreateDesktops() {
  desktops.Clear();
  for (int n = 1; n <= kDesktopCount; ++n) desktops.Add(std::make_shared<clsDesktop>());
}

}  // namespace ombrix
