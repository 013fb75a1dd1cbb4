#include "app/lifecycle.h"

#include "app/program.h"
#include "app/recovery.h"
#include "appearance/password_prompt.h"
#include "events/handler.h"
#include "events/hotkeys.h"
#include "events/window_notices.h"
#include "rules/apply.h"
#include "rules/store.h"
#include "switching/switch.h"
#include "app/settings.h"
#include "dialogs/autostart.h"
#include "dialogs/theme.h"
#include "lang/messages.h"
#include "lang/translation.h"
#include "ui/splash.h"
#include "ui/tray_icon.h"
#include "ui/tray_menu.h"

namespace ombrix {

namespace {

constexpr const char* kMainClass = "ThunderRT6FormDC";
constexpr const char* kMainCaption = "OmbrixMainWND";
constexpr const char* kDebugCommandLine = "DEBUG=SI";

void ShowSplash(Program& program) {
  program.splash = std::make_unique<frmSplash>(
      program.platform.forms, VersionLine(program.platform.system.ProgramVersion()));
  FormHost& forms = program.platform.forms;
  program.lSplashHwnd = forms.Load(*program.splash);
  forms.Show(*program.splash);
  forms.Refresh(*program.splash);
}

// Without the keyboard hook there are no hot-keys and no window notices; what the library set
// up besides is taken down again.
void InstallHooks(Program& program) {
  HookLibrary& hooks = program.platform.hooks;
  program.bHooksAvailable = hooks.Load();
  if (program.bHooksAvailable && !hooks.SetHook(program.lMainHwnd, 0)) {
    hooks.UnHook();
    program.bHooksAvailable = false;
  }
  if (program.bHooksAvailable) {
    ApplyHotKeys(program);
  } else {
    ErrorBox(program, GetMsg(program, msgs::kHotKeysUnavailable));
  }
}

void ShowWelcomeOnFirstUse(Program& program) {
  SettingsStore& store = program.platform.store;
  constexpr const char* kFirstUse = "FirstUse";
  if (!GetBool(store, kSettingsSection, kFirstUse, true)) return;
  SaveBool(store, kSettingsSection, kFirstUse, false);
  BringProgramToFront(program);
  constexpr int kInformationIcon = 1;
  ShowBalloon(program, GetMsg(program, msgs::kWelcome), "", kInformationIcon);
}

}  // namespace

StartOutcome StartUp(Program& program) {
  Platform& p = program.platform;
  ReadProgramKeys(p.store, ReadAt::Start, program.settings);
  if (!IsLanguageFileName(program.settings.sLanguage))
    program.settings.sLanguage = kBuiltInLanguage;

  if (p.system.AnotherInstanceRunning()) {
    LoadLanguage(program, program.settings.sLanguage, false);
    const Hwnd previous = p.windows.FindWindow(kMainClass, kMainCaption);
    if (previous != 0) p.windows.PostMessage(previous, msg::kShowTrayAgain, 0, 0);
    InfoBox(program, GetMsg(program, msgs::kAlreadyRunning));
    return StartOutcome::AnotherInstance;
  }

  // A recovery file left behind means the last run ended abnormally; only then does the
  // desktop record beside it tell where the windows were. Before any box can hold the start,
  // what an abnormal end left hidden comes back, and only what belongs on screen.
  if (RecoveryFileExists(program)) {
    const std::vector<Hwnd> listed = ReadRecoveryHandles(program);
    std::optional<DesktopRecord> record;
    if (program.settings.bRestoreDesktops) record = ReadDesktopRecord(program);
    ShowWindowsAfterCrash(program, listed, record ? &*record : nullptr);
    program.recovery.desktopsAtCrash = std::move(record);
  } else {
    DeleteDesktopRecord(program);
  }
  LoadLanguage(program, program.settings.sLanguage, false);

  if (p.system.IsDebuggerPresent()) return StartOutcome::DebuggerAttached;

  ShowSplash(program);
  return LoadMainWindow(program) ? StartOutcome::Running : StartOutcome::NoMainWindow;
}

int ExitCode(StartOutcome outcome) { return outcome == StartOutcome::NoMainWindow ? 1 : 0; }

bool LoadMainWindow(Program& program) {
  Platform& p = program.platform;
  program.mainWindow = std::make_unique<MainWindow>(program);
  program.lMainHwnd = p.ui.CreateMainWindow(*program.mainWindow);
  if (program.lMainHwnd == 0) {
    ErrorBox(program, GetMsg(program, msgs::kNoMainWindow));
    return false;
  }
  program.mMenu = BuildMainMenu();
  program.menuTranslation.InitTranslationTableByForm(program.mMenu);
  for (int n = 1; n <= kDesktopCount; ++n) program.Icona[n - 1] = p.ui.DesktopIcon(n);
  program.bExitRequested = false;
  CaptureStartWallpaper(program);

  ReadProgramKeys(p.store, ReadAt::BeforeAutoStart, program.settings);
  program.settings.bAutoStart = GetAutoStart(program, false) == autostart::kEveryLogOn;
  ReadProgramKeys(p.store, ReadAt::AfterAutoStart, program.settings);

  program.desk.CreateDesktops();
  for (int n = 1; n <= kDesktopCount; ++n) ReadDesktopKeys(p.store, n, program.desk.Desk(n));
  // After an abnormal end the user is back on their desktop at once, unless it has a password.
  const std::optional<DesktopRecord>& record = program.recovery.desktopsAtCrash;
  const bool backAtOnce = record && program.desk.Desk(record->current).sPassword.empty();
  program.desk.iShownDesk = program.desk.iCurDesk = backAtOnce ? record->current : int16_t{1};
  ApplyStartWallpapers(program);

  CreateGoToItems(program);
  if (program.settings.sTheme != kDefaultTheme) {
    if (program.settings.sTheme.empty()) program.settings.sTheme = kDefaultTheme;
    ApplyTheme(program, program.settings.sTheme);
  }

  AddTrayIcon(program, "DeskTop " + std::to_string(program.desk.iCurDesk));

  ShowWelcomeOnFirstUse(program);

  program.oWinOrder = clsWinOrder();
  program.colRules = ReadRules(p.store);
  program.colHiddenExplorer.Clear();
  program.lProgman = p.windows.FindWindow("Progman", "Program Manager");
  p.ui.DoEvents();

  InstallHooks(program);

  program.bMainWindowLoaded = true;
  ApplyRules(program, false);
  if (program.recovery.desktopsAtCrash) RestoreDesktops(program, *program.recovery.desktopsAtCrash);
  program.recovery.desktopsAtCrash.reset();

  if (p.system.CommandLineArgs() != kDebugCommandLine) HideOwnWindows(program);
  return true;
}

void HideOwnWindows(Program& program) {
  WindowSystem& windows = program.platform.windows;
  const uint32_t self = program.platform.system.CurrentProcessId();
  for (Hwnd hwnd : windows.TopLevelWindows()) {
    if (hwnd <= 0) break;
    if (hwnd == program.lSplashHwnd) continue;
    if (windows.WindowThreadProcess(hwnd).processId == self) windows.ShowWindow(hwnd, sw::kHide);
  }
}

namespace {

// Shut-down refuses to run now, whatever the close request decides. The end of the session is
// never refused.
bool ShutDownRefused(const Program& program, UnloadReason reason) {
  return reason != UnloadReason::AppWindows && (!program.bExitRequested || !program.busy.MayShutDown());
}

}  // namespace

// The program password is asked only for a close that can go on: a close request from
// outside, which shut-down refuses anyway, asks nothing. Neither the end of the session nor
// another program's exit request asks: nobody may be there to answer. The exit request is
// refused before it gets here while a program password is set.
bool CloseRequest(Program& program, UnloadReason reason) {
  program.iUnloadMode = UnloadReason::FormControlMenu;
  if (ShutDownRefused(program, reason)) return false;
  const bool asksPassword = reason != UnloadReason::AppWindows && reason != UnloadReason::ExitRequest;
  if (asksPassword && !program.settings.sGlobalPass.empty() && !PasswordPrompt(program, -1)) {
    return false;
  }
  program.iUnloadMode = reason;
  return true;
}

bool ShutDown(Program& program) {
  if (ShutDownRefused(program, program.iUnloadMode)) return false;
  Platform& p = program.platform;
  const BusyState::Guard unloading = program.busy.Enter(Busy::Unloading);
  if (program.bHooksAvailable) p.hooks.UnHook();
  HideDesktop(program, program.desk.iCurDesk);
  for (int16_t n = 1; n <= kDesktopCount; ++n) ShowDesktop(program, n);
  if (program.iUnloadMode == UnloadReason::AppWindows) {
    while (!program.colHiddenExplorer.Empty()) {
      p.windows.PostMessage(program.colHiddenExplorer.TakeFirst(), msg::kClose, 0, 0);
    }
  }
  p.tray.Remove();
  RestoreUserWallpaper(program);
  SaveGlobalPassword(p.store, program.settings);
  // The desktop records stay until the Program goes: the end of the session arrives as a sent
  // message, which a switch waiting on another program's window may be in the middle of.
  program.colHiddenExplorer.Clear();
  program.colRules.Clear();
  DeleteRecoveryFile(program);
  DeleteDesktopRecord(program);
  program.bMainWindowLoaded = false;
  return true;
}

bool UnloadMainWindow(Program& program, UnloadReason reason) {
  if (!program.bMainWindowLoaded) return false;
  if (!CloseRequest(program, reason) || !ShutDown(program)) return false;
  program.platform.ui.DestroyMainWindow();
  return true;
}

bool ExitOnRequest(Program& program) {
  program.bExitRequested = true;
  if (UnloadMainWindow(program, UnloadReason::ExitRequest)) return true;
  program.bExitRequested = false;
  return false;
}

MessageResult MainWindow::OnSubscribedMessage(uint32_t message, int32_t wParam,
                                              int32_t lParam) {
  // Messages that arrive while the main window loads (a box of the load pumps them) are not
  // handled: the state they would act on is not built yet.
  if (!program_.bMainWindowLoaded) return {};
  return HandleMainWindowMessage(program_, message, wParam, lParam);
}

bool MainWindow::OnCloseRequest() { return UnloadMainWindow(program_, UnloadReason::FormControlMenu); }

bool MainWindow::OnQueryEndSession() { return CloseRequest(program_, UnloadReason::AppWindows); }

// Any program of the user can send WM_ENDSESSION; only the end of a session whose query this
// instance has answered counts, or a forged one would show every desktop without the program
// password. The query leaves the close's reason set until the session end goes on or is called off.
void MainWindow::OnEndSession(bool ending) {
  if (ending && program_.iUnloadMode == UnloadReason::AppWindows) {
    UnloadMainWindow(program_, UnloadReason::AppWindows);
  } else if (!ending) {
    program_.iUnloadMode = UnloadReason::FormControlMenu;
  }
}

void MainWindow::OnTrayMouse(int mouseMessage) {
  if (program_.bMainWindowLoaded) ombrix::OnTrayMouse(program_, mouseMessage);
}

void MainWindow::OnTrayKey(TrayKey key) {
  if (program_.bMainWindowLoaded) ombrix::OnTrayKey(program_, key);
}

void MainWindow::OnTaskbarCreated() {
  if (program_.bMainWindowLoaded) RecreateTrayIcon(program_);
}

void MainWindow::OnTimer(int id) {
  if (!program_.bMainWindowLoaded) return;
  if (id == kRulePassTimer) OnRulePassTimer(program_);
  if (id == kWallpaperRestoreTimer) OnWallpaperRestoreTimer(program_);
  if (id == kTrayRetryTimer) OnTrayRetryTimer(program_);
}

}  // namespace ombrix
