#include "core/records.h"

namespace ombrix {

namespace {

// Latin-1 letters in UTF-8 are 0xC3 followed by 0x80..0x9E (capitals, 0x97 is the
// multiplication sign) or 0xA0..0xBE (small letters, 0xB7 is the division sign).
std::string ChangeCase(const std::string& text, bool lower) {
  std::string result = text;
  for (size_t i = 0; i < result.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(result[i]);
    if (c < 0x80) {
      if (lower && c >= 'A' && c <= 'Z') result[i] = static_cast<char>(c + 32);
      if (!lower && c >= 'a' && c <= 'z') result[i] = static_cast<char>(c - 32);
    } else if (c == 0xC3 && i + 1 < result.size()) {
      unsigned char next = static_cast<unsigned char>(result[i + 1]);
      if (lower && next >= 0x80 && next <= 0x9E && next != 0x97) {
        result[i + 1] = static_cast<char>(next + 0x20);
      } else if (!lower && next >= 0xA0 && next <= 0xBE && next != 0xB7) {
        result[i + 1] = static_cast<char>(next - 0x20);
      }
      ++i;
    }
  }
  return result;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string LowerText(const std::string& text) { return ChangeCase(text, true); }
std::string UpperText(const std::string& text) { return ChangeCase(text, false); }

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

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

bool clsPI::MatchText(const std::string& text, const std::string& pattern, int32_t ict) {
  const std::string t = LowerText(text);
  const std::string p = LowerText(pattern);
  switch (ict) {
    case kContains:
      return t.find(p) != std::string::npos;
    case kNotContains:
      return t.find(p) == std::string::npos;
    case kStartsWith:
      return t.compare(0, p.size(), p) == 0 && t.size() >= p.size();
    case kEndsWith:
      return EndsWith(t, p);
    case kEqualTo:
      return t == p;
    default:
      return false;
  }
}

bool clsPI::ContainText(const std::string& sText, int32_t itt, int32_t ict) const {
  if (itt == kTitleOrClass || itt == kTitleOnly) {
    for (const auto& win : oWin) {
      if (MatchText(win->window_text, sText, ict)) return true;
    }
  }
  if (itt == kTitleOrClass || itt == kClassOnly) {
    for (const auto& win : oWin) {
      if (MatchText(win->class_name, sText, ict)) return true;
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
