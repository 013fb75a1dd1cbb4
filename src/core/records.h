// What the program knows of the windows it manages: windows, applications (the windows of one
// process on one desktop) and the nine desktops.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/list.h"
#include "core/text.h"
#include "platform/types.h"

namespace ombrix {

// Listing state of a window, fixed at discovery.
enum HideFromList : int16_t {
  kListed = 0,      // visible in every list
  kZeroSize = 1,    // hidden in every list
  kNoTitle = 2,     // hidden in the tray menu's lists only
};

// How a text is compared with a pattern; stored as these numbers.
enum class TextCompare : int32_t {
  Contains = 0,
  NotContains = 1,
  StartsWith = 2,
  EndsWith = 3,
  EqualTo = 4,
};

// Which texts of a window a lookup consults.
enum TextsToTest : int32_t {
  kTitleOrClass = 0,
  kTitleOnly = 1,
  kClassOnly = 2,
};

class clsWI {
 public:
  std::string class_name;
  std::string window_text;
  Hwnd lHwnd = 0;
  int16_t iHideFromList = kListed;

  // The texts in lower case, made once: a record is never changed after discovery, and rule
  // passes compare the same texts over and over.
  const std::string& LowerClassName() const;
  const std::string& LowerWindowText() const;

 private:
  mutable std::string lowerClass_;
  mutable std::string lowerText_;
  mutable bool lowered_ = false;
};

// Asks the system for a window's class icon; small selects the small icon.
using ClassIconLookup = std::function<IconHandle(Hwnd hwnd, bool small)>;

class clsPI {
 public:
  int32_t pID = 0;
  int32_t thread = 0;
  List<clsWI> oWin;
  IconHandle hIcon = 0;

  IconHandle GetHIcon(const ClassIconLookup& classIcon);
  std::string GetText(int32_t itt) const;
  bool ContainText(const std::string& sText, int32_t itt, TextCompare ict) const;
  // ContainText for a pattern already in lower case.
  bool ContainLowerText(const std::string& lowerPattern, int32_t itt, TextCompare ict) const;
  bool ContainHandle(Hwnd lHwnd) const;
  bool AllWindowsHided(bool bMainMenu) const;
  Hwnd GetFirstVisWin() const;

 private:
  // Both texts in lower case.
  static bool MatchText(const std::string& text, const std::string& pattern, TextCompare ict);
};

class clsDesktop {
 public:
  std::string sWallPaper;
  int32_t iWallPaperType = 0;
  std::string sDeskName;
  std::string sPassword;
  bool bHideThisDeskApps = false;
  Hwnd lTopHwnd = 0;
  List<clsPI> opi;

  std::shared_ptr<clsPI> GetProcessObject(int32_t lPID) const;
  int GetProcessIdxByHandle(Hwnd lHwnd) const;
  int GetProcessIdxByPID(int32_t lPID) const;
  // Takes the window's record out of its application, and the application out of the desktop
  // when nothing is left of it; nullptr when no application here holds the window.
  std::shared_ptr<clsWI> TakeWindow(Hwnd lHwnd);
  int16_t GetNumVisProc() const;
};

constexpr int16_t kDesktopCount = 9;

// The nine desktops, the current one and the one on screen.
class DesktopSet {
 public:
  List<clsDesktop> desktops;
  int16_t iCurDesk = 1;
  int16_t iShownDesk = 1;

  // Replaces the list by nine new desktops, position n being desktop n.
  void CreateDesktops();
  // Desktop n (1..9).
  clsDesktop& Desk(int n) const { return desktops[n]; }
};


}  // namespace ombrix
