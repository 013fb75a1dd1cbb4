// Program state: one object owns everything the running program knows and the platform
// services it talks to. Operations are free functions that take the Program.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/busy.h"
#include "app/recovery.h"
#include "app/settings.h"
#include "appearance/wallpaper.h"
#include "core/hidden_explorer.h"
#include "core/records.h"
#include "core/zorder.h"
#include "events/subscribers.h"
#include "events/window_notices.h"
#include "lang/form_translation.h"
#include "lang/translation.h"
#include "platform/platform.h"
#include "rules/rule.h"
#include "switching/unhideable.h"
#include "ui/form.h"
#include "ui/tray_icon.h"

namespace ombrix {

class frmSplash;
class frmSwitchDesk;
class MainWindow;

// The platform services, each owned elsewhere (the win32 entry point or a test).
struct Platform {
  WindowSystem& windows;
  System& system;
  Keyboard& keyboard;
  SettingsStore& store;
  Ui& ui;
  Tray& tray;
  FormHost& forms;
  Files& files;
  HookLibrary& hooks;
  Registry& registry;
  Shell& shell;
};

class Program {
 public:
  explicit Program(Platform platform);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform platform;

  // Desktops and settings.
  DesktopSet desk;
  Settings settings;
  WallpaperState wallpaper;

  // What the program is in the middle of; every entry point asks it before acting.
  BusyState busy;

  // The main window and its form-level values.
  Hwnd lMainHwnd = 0;
  bool bExitRequested = false;
  UnloadReason iUnloadMode = UnloadReason::FormControlMenu;
  bool bMainWindowLoaded = false;

  // Windows the program keeps an eye on.
  Hwnd lSplashHwnd = 0;
  Hwnd lProgman = 0;
  Hwnd lActiveHwnd = 0;
  HiddenExplorerList colHiddenExplorer;
  clsWinOrder oWinOrder;
  UnhideableWindows unhideable;
  WindowNotices notices;
  RuleList colRules;
  RecoveryState recovery;

  // Windows of other programs told of every desktop change.
  DesktopSubscribers subscribers;

  // Whether the hook library could be loaded and its keyboard hook installed; without it there
  // are no hot-keys or notices.
  bool bHooksAvailable = false;

  // The tray icon's retries while the shell refuses it.
  TrayIconState trayIcon;

  // The desktop pictures shown in the tray, index 0..8 for desktops 1..9.
  std::array<IconHandle, kDesktopCount> Icona{};
  // The right-click menu of the tray icon, and its captions' keys for translation.
  Menu mMenu;
  clsMenuTranslation menuTranslation;
  // Picture and text of each item the All Desktops list has now, by item index (0 unused).
  std::vector<IconHandle> ApplicationIcons;
  std::vector<std::string> ApplicationTexts;

  // The loaded language.
  TranslationTable translations;

  std::unique_ptr<frmSplash> splash;
  std::unique_ptr<frmSwitchDesk> indicator;
  std::unique_ptr<MainWindow> mainWindow;
};

}  // namespace ombrix
