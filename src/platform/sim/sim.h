// A simulated window system, store, shell, tray and form host. Tests build the world they need,
// act as the user (answer message boxes, pick menu items, advance the clock) and read back what
// the program did. Methods the program may not rely on here fail loudly.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/program.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace ombrix::sim {

// Simulated time. The timers of forms and of the main window run on it, in time order, as a
// test advances it.
class SimClock {
 public:
  int64_t now = 0;
  // The wall-clock time at now == 0, in milliseconds since 1970-01-01 UTC.
  int64_t wallAtZero = 1700000000000;
  int64_t WallTime() const { return wallAtZero + now; }

  // Starts (or restarts) the timer id of owner; tick runs every intervalMs.
  void Start(const void* owner, int id, int intervalMs, std::function<void()> tick);
  void Stop(const void* owner, int id);
  void StopAll(const void* owner);
  // Every timer of every owner, as when the process ends.
  void StopEverything() { timers_.clear(); }
  bool Running(const void* owner, int id) const;
  // Moves the clock on and fires every tick that falls due, in time order.
  void Advance(int milliseconds);

 private:
  struct Timer {
    const void* owner;
    int id;
    int interval;
    int64_t due;
    std::function<void()> tick;
  };
  std::vector<std::shared_ptr<Timer>> timers_;
};

struct SimWindow {
  Hwnd hwnd = 0;
  std::string className;
  std::string text;
  Rect rect{0, 0, 640, 480};
  uint32_t style = 0x10CF0000;  // a visible overlapped window
  uint32_t exStyle = 0;
  Hwnd owner = 0;
  uint32_t processId = 1000;
  uint32_t threadId = 2000;
  bool visible = true;
  bool minimized = false;
  bool maximized = false;
  bool hung = false;  // answers no sent message
  bool refusesHide = false;  // stays on screen when hidden, as an elevated program's window
  bool closeCommand = true;  // the window menu has its Close command
  IconHandle smallIcon = 0;
  IconHandle largeIcon = 0;
  uint8_t alpha = 255;  // set through layered-window attributes
};

struct PostedMessage {
  Hwnd hwnd;
  uint32_t message;
  int32_t wParam;
  int32_t lParam;
};

class SimWindowSystem : public WindowSystem {
 public:
  // Adds a window on top of the z-order; handles come from a counter.
  Hwnd Create(SimWindow window);
  void Destroy(Hwnd hwnd);
  SimWindow* Get(Hwnd hwnd);

  std::vector<PostedMessage> posted;
  std::vector<PostedMessage> sent;
  std::vector<std::pair<Hwnd, int>> showCalls;
  int enumerations = 0;  // calls of TopLevelWindows: one per discovery pass
  Hwnd foreground = 0;
  // Runs inside ShowWindow, as messages sent to the program do while it waits on another
  // program's window.
  std::function<void(Hwnd, int)> duringShow;
  // Answers SendMessage; returns 0 when unset.
  std::function<int32_t(const PostedMessage&)> onSend;

  std::vector<Hwnd> TopLevelWindows() override;
  Hwnd FindWindow(const std::string& className, const std::string& caption) override;
  bool IsWindow(Hwnd hwnd) override;
  bool IsWindowVisible(Hwnd hwnd) override;
  std::string ClassName(Hwnd hwnd) override;
  std::string WindowText(Hwnd hwnd) override;
  Rect WindowRect(Hwnd hwnd) override;
  uint32_t Style(Hwnd hwnd) override;
  uint32_t ExStyle(Hwnd hwnd) override;
  Hwnd Owner(Hwnd hwnd) override;
  ThreadProcess WindowThreadProcess(Hwnd hwnd) override;
  bool ShowWindow(Hwnd hwnd, int command) override;
  HideOutcome HideWindow(Hwnd hwnd) override;
  bool Answers(Hwnd hwnd) override;
  bool PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  int32_t SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  uint32_t RegisterMessage(const std::string& name) override;
  bool SendMessageTimeout(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam,
                          uint32_t timeoutMs) override;
  Hwnd ForegroundWindow() override;
  bool SetForegroundWindow(Hwnd hwnd) override;
  bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;
  bool IsIconic(Hwnd hwnd) override;
  void SwitchToThisWindow(Hwnd hwnd) override;
  IconHandle ClassIcon(Hwnd hwnd, bool small) override;
  bool AttachThreadInput(uint32_t fromThread, uint32_t toThread, bool attach) override;
  void SetFocus(Hwnd hwnd) override;
  // Throws for a hung window: the real style change would wait for it for ever.
  bool SetOpacity(Hwnd hwnd, uint8_t alpha) override;
  // The processes of the windows of the taskbar's class and of the desktop's ("Progman").
  std::vector<uint32_t> ShellProcessIds() override;

  Hwnd focus = 0;
  std::vector<std::pair<uint32_t, uint32_t>> attachedThreads;  // (from, to) while attached
  // As Windows: only the program whose window is in the foreground may give the foreground to
  // another; taking the focus while attached to the foreground's thread makes it so. The
  // program is the one of callerProcess.
  bool foregroundLocked = false;
  uint32_t callerProcess = 0;
  bool MayGiveForeground();

 private:
  void BringToTop(Hwnd hwnd);
  void SendToBottom(Hwnd hwnd);
  std::unordered_map<Hwnd, SimWindow> windows_;
  std::list<Hwnd> zOrder_;  // topmost first
  std::unordered_map<Hwnd, std::list<Hwnd>::iterator> zPosition_;
  Hwnd nextHwnd_ = 0x10010;
  std::map<std::string, uint32_t> registeredMessages_;
};

// The running instance a command line reaches: its requests go to the events of a program's
// main window, as the window procedure passes them on.
class SimRunningInstance : public RunningInstance {
 public:
  explicit SimRunningInstance(SimWindowSystem& windows) : windows_(windows) {}

  MainWindowEvents* mainWindow = nullptr;  // none: no instance runs
  bool answers = true;                     // false: the instance hangs

  bool Found() override { return mainWindow != nullptr; }
  std::optional<int32_t> Ask(uint32_t message, int32_t wParam, int32_t lParam) override;
  void WaitForEnd() override {}
  bool IsWindow(Hwnd hwnd) override { return windows_.IsWindow(hwnd); }
  Hwnd ForegroundWindow() override { return windows_.ForegroundWindow(); }

 private:
  SimWindowSystem& windows_;
};

class SimProcess : public System {
 public:
  explicit SimProcess(SimClock& clock) : clock_(clock) {}
  uint32_t processId = 4242;
  bool debugger = false;
  std::string commandLine;
  std::string folder = "C:\\Program Files\\Ombrix";
  std::string fileName = "Ombrix.exe";
  bool anotherInstance = false;

  uint32_t CurrentProcessId() override { return processId; }
  bool IsDebuggerPresent() override { return debugger; }
  std::string CommandLineArgs() override { return commandLine; }
  std::string ProgramFolder() override { return folder; }
  std::string ProgramFileName() override { return fileName; }
  bool AnotherInstanceRunning() override { return anotherInstance; }
  uint32_t threadId = 5151;
  int versionCode = 10;
  std::map<uint32_t, bool> processes;  // process id -> may be terminated
  std::set<uint32_t> critical;         // processes the system marks critical
  std::map<uint32_t, std::string> programs;  // process id -> its program's file name
  std::vector<uint32_t> killed;
  Termination TerminateProcess(uint32_t processId, uint32_t exitCode) override;
  std::string ProgramOfProcess(uint32_t processId) override;
  uint32_t CurrentThreadId() override { return threadId; }
  int PlatformVersionCode() override { return versionCode; }
  // The clock's time plus the time the system ran before the test began.
  uint32_t TickCount() override { return static_cast<uint32_t>(bootTicks + clock_.now); }
  int64_t StartTime() override { return clock_.wallAtZero - bootTicks; }
  int64_t CurrentTime() override { return clock_.WallTime(); }
  int64_t bootTicks = 3600000;
  std::optional<FileVersion> version = FileVersion{1, 8, 0, 3};
  std::optional<FileVersion> ProgramVersion() override { return version; }
  // The derivation and the random bytes are OpenSSL's; cryptoFails makes both fail.
  bool cryptoFails = false;
  int keysDerived = 0;
  std::optional<std::string> DerivePasswordKey(const std::string& password, const std::string& salt,
                                               uint32_t iterations, size_t keyLength) override;
  std::optional<std::string> RandomBytes(size_t n) override;

 private:
  SimClock& clock_;
};

// Files in memory, by full path. Paths listed in readOnlyFolders cannot be written; folders in
// othersFolders belong to another user. A file without an entry in modified counts as written
// just now; one with an entry in sizes is that large (a sparse file) whatever its bytes.
class SimFiles : public Files {
 public:
  explicit SimFiles(SimClock& clock) : clock_(clock) {}
  std::map<std::string, std::string> files;
  std::map<std::string, int64_t> modified;
  std::vector<std::string> readOnlyFolders;
  std::vector<std::string> othersFolders;
  std::map<std::string, uint64_t> sizes;
  std::vector<std::string> folders;
  std::string dataFolder = "C:\\Users\\me\\AppData\\Local";
  int replaces = 0;

  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool DeleteFile(const std::string& path) override;
  // Throws std::bad_alloc for a file above 64 MiB that the call takes whole, as the real
  // allocation would fail.
  std::optional<std::string> ReadFile(const std::string& path, uint64_t largest) override;
  std::optional<uint64_t> FileSize(const std::string& path) override;
  std::optional<int64_t> ModifiedTime(const std::string& path) override;
  bool ReplaceFile(const std::string& path, const std::string& bytes) override;
  bool CreateFolder(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to) override;
  bool DeleteFilesIn(const std::string& folder) override;
  std::string UserDataFolder() override { return dataFolder; }
  bool IsUsersOwnFolder(const std::string& path) override { return !IsUnder(path, othersFolders); }
  // In the reverse of their order here: a folder listing keeps no order a program may rely on.
  std::vector<std::string> FilesWithExtension(const std::string& folder,
                                              const std::string& extension) override;
  std::vector<std::string> Subfolders(const std::string& folder) override;

 private:
  bool Writable(const std::string& path) const;
  static bool IsUnder(const std::string& path, const std::vector<std::string>& folders);
  SimClock& clock_;
};

// Registry values by "HKCU\\key\\name" (or "HKLM\\..."), and the keys that exist by
// "HKCU\\key". Keys at or below a path in readOnlyKeys cannot be created, written or deleted.
class SimRegistry : public Registry {
 public:
  std::map<std::string, RegistryData> values;
  std::set<std::string> keys;
  std::vector<std::string> readOnlyKeys;

  static std::string PathOf(RegistryRoot root, const std::string& key, const std::string& name);
  static std::string KeyPathOf(RegistryRoot root, const std::string& key);
  // A text value, as a test stores and reads it.
  void SetText(RegistryRoot root, const std::string& key, const std::string& name,
               const std::string& text);
  std::optional<std::string> Text(RegistryRoot root, const std::string& key,
                                  const std::string& name);

  bool KeyExists(RegistryRoot root, const std::string& key) override;
  bool CreateKey(RegistryRoot root, const std::string& key) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;
  std::optional<RegistryData> ReadValue(RegistryRoot root, const std::string& key,
                                        const std::string& name) override;
  bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryData& data) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  std::optional<std::vector<std::string>> ValueNames(RegistryRoot root,
                                                     const std::string& key) override;
  std::optional<std::vector<std::string>> SubkeyNames(RegistryRoot root,
                                                      const std::string& key) override;

 private:
  bool Writable(RegistryRoot root, const std::string& key) const;
};

// Records what the program asks the shell to open (documents in `unopenable` fail), and keeps
// the wallpaper as the system parameter call and the Active Desktop object do, written into
// the registry the way the system does.
class SimShell : public Shell {
 public:
  explicit SimShell(SimRegistry& registry, SimFiles& files) : registry_(registry), files_(files) {}
  std::vector<std::string> opened;
  std::vector<std::string> unopenable;
  bool OpenDocument(Hwnd owner, const std::string& pathOrAddress) override;
  // Programs started, as "path|arguments"; a program file that does not exist cannot start.
  std::vector<std::string> started;
  bool StartProgram(const std::string& path, const std::string& arguments) override;

  bool activeDesktopExists = false;
  bool activeDesktopOn = false;
  bool refuse = false;  // the system refuses every wallpaper
  std::vector<std::string> applied;  // every path set, in order
  // Runs while a wallpaper is being set, as a setting-change broadcast would arrive.
  std::function<void()> duringSet;

  bool SetSystemWallpaper(const std::string& path) override;
  std::optional<bool> ActiveDesktopOption() override;
  bool EnableActiveDesktop() override;
  bool SetActiveDesktopWallpaper(const std::string& path) override;
  // The wallpaper the system reports, as a user sets it through the system's own settings.
  void UserSets(const std::string& path, const std::string& wallpaperStyle,
                const std::string& tile);

 private:
  bool Apply(const std::string& path);
  SimRegistry& registry_;
  SimFiles& files_;
};

// Records what the program tells the hook library.
class SimHooks : public HookLibrary {
 public:
  bool loadable = true;
  bool hookable = true;  // whether SetHook can install the keyboard hook
  Hwnd notify = 0;
  bool hooked = false;
  std::map<std::string, int32_t> flags;
  std::vector<std::string> calls;

  bool Load() override { return loadable; }
  bool SetHook(Hwnd hwnd, int32_t) override {
    notify = hwnd;
    hooked = hookable;
    calls.push_back("SetHook");
    return hookable;
  }
  void UnHook() override { hooked = false; calls.push_back("UnHook"); }
  void TakeAltArrows(int32_t on) override { Set("TakeAltArrows", on); }
  void TakeCtrlArrows(int32_t on) override { Set("TakeCtrlArrows", on); }
  void TakeWinArrows(int32_t on) override { Set("TakeWinArrows", on); }
  void TakeAltNum(int32_t on) override { Set("TakeAltNum", on); }
  void TakeCtrlNum(int32_t on) override { Set("TakeCtrlNum", on); }
  void TakeWinNum(int32_t on) override { Set("TakeWinNum", on); }
  void IgnoreHook(int32_t on) override { Set("IgnoreHook", on); }

 private:
  void Set(const std::string& name, int32_t on) {
    flags[name] = on;
    calls.push_back(name);
  }
};

class SimKeyboard : public Keyboard {
 public:
  std::map<int, bool> held;
  int16_t AsyncKeyState(int virtualKey) override {
    return held[virtualKey] ? static_cast<int16_t>(0x8000) : 0;
  }
};

// Settings in memory: section -> key -> value. failWrites makes every write fail, lockedKeys
// the writes and deletes of those keys.
class MemoryStore : public SettingsStore {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;
  bool failWrites = false;
  std::set<std::string> lockedKeys;
  int writes = 0;

  std::optional<std::string> Read(const std::string& section, const std::string& key) override;
  bool Write(const std::string& section, const std::string& key,
             const std::string& value) override;
  bool Delete(const std::string& section, const std::string& key) override;
};

class SimTray : public Tray {
 public:
  bool shellUp = true;  // without the shell's notification area, Add fails
  bool present = false;
  Hwnd owner = 0;
  std::string tooltip;
  std::vector<std::string> tooltips;  // every text set, in order
  IconHandle icon = 0;
  int adds = 0;
  int removes = 0;
  struct BalloonShown {
    std::string text, title;
    int iconType, timeoutMs;
  };
  std::vector<BalloonShown> balloons;
  int focusReturns = 0;

  void Attach(Hwnd hwnd) override { owner = hwnd; }
  bool Add(int id, const std::string& tip, IconHandle picture) override;
  bool ChangeIcon(int id, IconHandle picture) override;
  bool ChangeTooltip(int id, const std::string& tip) override;
  void Remove() override;
  bool Balloon(const std::string& text, const std::string& title, int iconType,
               int timeoutMs) override;
  void ReturnFocus() override { ++focusReturns; }
};

struct ShownBox {
  std::string text;
  std::string title;
  uint32_t style;
};

class SimUi : public Ui {
 public:
  SimUi(SimWindowSystem& windows, SimProcess& process, SimClock& clock)
      : windows_(windows), process_(process), clock_(clock) {}

  // What the user answers to message boxes, in order; with none left a box answers OK/No (1/7).
  std::deque<int> boxAnswers;
  std::vector<ShownBox> boxes;
  // Runs while a message box is open, as the nested message loop would.
  std::function<void()> duringBox;
  // The user's choice in a pop-up menu (the menu is passed as the program built it).
  std::function<int(const Menu&)> choosePopupItem;
  std::vector<Menu> popups;
  // What the user does while a modal loop waits for a message, one action per wait. A loop that
  // waits when none is left would wait for ever: WaitMessage throws then.
  std::deque<std::function<void()>> userActions;
  // The files the user chooses in file dialogs, in order; with none left the user cancels.
  std::deque<std::string> fileChoices;
  struct FileDialogShown {
    Hwnd owner;
    std::string title;
    std::vector<FileFilter> filters;
  };
  std::vector<FileDialogShown> fileDialogs;
  // Icon files that load, by path, and the handles given for them.
  std::vector<std::string> iconFiles;
  std::map<std::string, IconHandle> loadedIcons;

  // Messages waiting for the main window; DoEvents delivers them.
  std::deque<PostedMessage> queue;
  bool mainWindowFails = false;  // CreateMainWindow fails
  MainWindowEvents* mainEvents = nullptr;
  Hwnd mainHwnd = 0;
  bool mainDestroyed = false;
  int doEvents = 0;

  int MessageBox(Hwnd owner, const std::string& text, const std::string& title,
                 uint32_t style) override;
  Hwnd CreateMainWindow(MainWindowEvents& events) override;
  void DestroyMainWindow() override;
  int PopupMenu(Hwnd owner, const Menu& menu) override;
  IconHandle DesktopIcon(int desk) override { return 0x7000 + desk; }
  IconHandle Picture(MenuPicture picture) override {
    return 0x7100 + static_cast<IconHandle>(picture);
  }
  IconHandle LoadIconFile(const std::string& path) override;
  void StartTimer(int id, uint32_t intervalMs) override;
  void StopTimer(int id) override { clock_.Stop(this, id); }
  bool TimerRunning(int id) const { return clock_.Running(this, id); }
  std::string ChooseFileToOpen(Hwnd owner, const std::string& title,
                               const std::vector<FileFilter>& filters) override;
  void DoEvents() override;
  void WaitMessage() override;

 private:
  SimWindowSystem& windows_;
  SimProcess& process_;
  SimClock& clock_;
};

// The control of that name and index, as a test acting as the user names it; throws when the
// form has none.
Control& ControlNamed(Form& form, const std::string& name, int index = -1);

// Keeps forms headless; timers run on a simulated clock that tests advance.
class SimFormHost : public FormHost {
 public:
  SimFormHost(SimWindowSystem& windows, SimProcess& process, SimClock& clock)
      : windows_(windows), process_(process), clock_(clock) {}

  Hwnd Load(Form& form) override;
  void Show(Form& form) override;
  void Hide(Form& form) override;
  void Unload(Form& form) override;
  void Refresh(Form& form) override;
  void RemoveCloseMenu(Form& form) override;
  // Seven pixels a character, sixteen a line.
  Size MeasureText(const Font& font, const std::string& text) override;

  std::vector<Form*> LoadedForms() override { return loaded_; }

  int loads = 0;
  // The loaded form of that name, or nullptr.
  Form* Loaded(const std::string& name);

  // The user acting on a control of a loaded form, as the real controls let them: only on a
  // control that is shown and enabled (anything else throws, failing the test). Clicking a
  // check box turns it over, an option button checks it; typing keeps what fits the box.
  void Click(Form& form, const std::string& name, int index = -1);
  void Type(Form& form, const std::string& name, const std::string& text);
  void Choose(Form& form, const std::string& name, const std::string& item);
  void ChooseTab(Form& form, const std::string& name, int tab);
  // Selects the item at a position of a list (a click) or of a combo box (a change).
  void Pick(Form& form, const std::string& name, int position, int index = -1);
  // A control the user can reach: shown and enabled.
  static bool Reachable(Form& form, const Control& control);

 private:
  void SyncTimers(Form& form);
  static Control& Reach(Form& form, const std::string& name, int index);
  std::vector<Form*> loaded_;
  SimWindowSystem& windows_;
  SimProcess& process_;
  SimClock& clock_;
};

// Everything at once, wired together, with a Platform view for the Program.
struct World {
  World();
  SimClock clock;
  SimWindowSystem windows;
  SimProcess process{clock};
  SimKeyboard keyboard;
  MemoryStore store;
  SimTray tray;
  SimUi ui{windows, process, clock};
  SimFormHost forms{windows, process, clock};
  SimFiles files{clock};
  SimHooks hooks;
  SimRegistry registry;
  SimShell shell{registry, files};

  Platform platform() {
    return Platform{windows, process, keyboard, store, ui,       tray,
                    forms,   files,   hooks,    registry, shell};
  }
  // A visible window of another program, on top of the z-order.
  Hwnd Open(const std::string& title, uint32_t processId, Hwnd owner = 0,
            const std::string& className = "AppWindow");
  // The program's process ends without shutting down: its own windows, timers and tray icon
  // go; other programs' windows stay as they are, and so do files and settings.
  void Crash();
};

}  // namespace ombrix::sim
