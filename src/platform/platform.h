// The boundary between the program and the system it runs on. Each interface is narrow and
// named after what the logic needs; src/platform/win32 implements it with the real system,
// src/platform/sim with a simulation used by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class Form;
struct Menu;
struct Font;

// Top-level windows of every program: enumeration, inspection, visibility, messages.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Top-level windows in z-order, topmost first (EnumWindows).
  virtual std::vector<Hwnd> TopLevelWindows() = 0;
  // The topmost window with that class name and caption; an empty class name or caption
  // matches any. 0 when there is none.
  virtual Hwnd FindWindow(const std::string& className, const std::string& caption) = 0;
  virtual bool IsWindow(Hwnd hwnd) = 0;
  virtual bool IsWindowVisible(Hwnd hwnd) = 0;
  virtual std::string ClassName(Hwnd hwnd) = 0;
  virtual std::string WindowText(Hwnd hwnd) = 0;
  virtual Rect WindowRect(Hwnd hwnd) = 0;
  virtual uint32_t Style(Hwnd hwnd) = 0;
  virtual uint32_t ExStyle(Hwnd hwnd) = 0;
  virtual Hwnd Owner(Hwnd hwnd) = 0;
  virtual ThreadProcess WindowThreadProcess(Hwnd hwnd) = 0;
  virtual bool ShowWindow(Hwnd hwnd, int command) = 0;
  // Hides the window and tells whether it left the screen. A window whose program does not
  // answer is asked without waiting (Posted); one still on screen after the system handled the
  // request was refused: an elevated program's window, or one that vetoes its own hiding.
  virtual HideOutcome HideWindow(Hwnd hwnd) = 0;
  // Whether the window's program handles its messages now, so a call that waits for it (a
  // style change) cannot hang. This program's own windows always answer.
  virtual bool Answers(Hwnd hwnd) = 0;
  virtual bool PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) = 0;
  virtual int32_t SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) = 0;
  // The number of the message every program knows by that name; 0 when the system gives none.
  virtual uint32_t RegisterMessage(const std::string& name) = 0;
  // Sends and waits at most timeoutMs for the window's owner to handle the message; false when
  // it did not answer in time (or the window is gone). A hung owner never blocks longer.
  virtual bool SendMessageTimeout(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam,
                                  uint32_t timeoutMs) = 0;
  virtual Hwnd ForegroundWindow() = 0;
  virtual bool SetForegroundWindow(Hwnd hwnd) = 0;
  virtual bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                            uint32_t flags) = 0;
  virtual bool IsIconic(Hwnd hwnd) = 0;
  // Brings the window to the foreground, restoring it when minimized.
  virtual void SwitchToThisWindow(Hwnd hwnd) = 0;
  // The window class's small or large icon; 0 when it has none.
  virtual IconHandle ClassIcon(Hwnd hwnd, bool small) = 0;
  virtual bool AttachThreadInput(uint32_t fromThread, uint32_t toThread, bool attach) = 0;
  virtual void SetFocus(Hwnd hwnd) = 0;
  // Makes the window layered, when it is not yet, with that opacity (255 = opaque). The style
  // change waits for the window's program: ask Answers first.
  virtual bool SetOpacity(Hwnd hwnd, uint8_t alpha) = 0;
  // The processes of the shell: the owners of the taskbar's windows and of the desktop window.
  virtual std::vector<uint32_t> ShellProcessIds() = 0;
};

// The running process and its surroundings.
class System {
 public:
  virtual ~System() = default;
  virtual uint32_t CurrentProcessId() = 0;
  virtual bool IsDebuggerPresent() = 0;
  // The argument text of the process, without the program's own path.
  virtual std::string CommandLineArgs() = 0;
  // Folder of the program file, as the system reports it (may or may not end with a backslash).
  virtual std::string ProgramFolder() = 0;
  // File name of the program file, with its extension ("Ombrix.exe").
  virtual std::string ProgramFileName() = 0;
  // Claims this user session's single-instance signal; true when another instance holds it.
  virtual bool AnotherInstanceRunning() = 0;
  virtual uint32_t CurrentThreadId() = 0;
  // Terminates the process with that exit code, unless the system marks it critical (ending
  // one stops the system).
  virtual Termination TerminateProcess(uint32_t processId, uint32_t exitCode) = 0;
  // The file name of the program a process runs ("Taskmgr.exe"); empty when it cannot be told.
  virtual std::string ProgramOfProcess(uint32_t processId) = 0;
  // The platform-version code: 8 or more means layered windows exist.
  virtual int PlatformVersionCode() = 0;
  // Milliseconds since the system started, wrapping around after 49.7 days (GetTickCount).
  virtual uint32_t TickCount() = 0;
  // When the system last started, in milliseconds since 1970-01-01 UTC.
  virtual int64_t StartTime() = 0;
  // The time now, in milliseconds since 1970-01-01 UTC.
  virtual int64_t CurrentTime() = 0;
  // The version in the program file's own version resource; nothing when it cannot be read.
  virtual std::optional<FileVersion> ProgramVersion() = 0;
  // keyLength bytes derived from the password's bytes and the salt by PBKDF2 with HMAC SHA-256,
  // from the system's own cryptography; nothing when it cannot derive them.
  virtual std::optional<std::string> DerivePasswordKey(const std::string& password,
                                                       const std::string& salt,
                                                       uint32_t iterations, size_t keyLength) = 0;
  // n bytes from the system's cryptographic random source; nothing when it fails.
  virtual std::optional<std::string> RandomBytes(size_t n) = 0;
};

// Whole files as bytes.
class Files {
 public:
  virtual ~Files() = default;
  virtual bool FileExists(const std::string& path) = 0;
  // Deleting a missing file succeeds.
  virtual bool DeleteFile(const std::string& path) = 0;
  // nullopt when the file cannot be read or holds more than largest bytes; the size is looked
  // at before anything is read, so a huge or sparse file costs nothing.
  virtual std::optional<std::string> ReadFile(const std::string& path, uint64_t largest) = 0;
  // nullopt when the file cannot be looked at.
  virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
  // When the file was last written, in milliseconds since 1970-01-01 UTC; nullopt when the
  // file cannot be looked at.
  virtual std::optional<int64_t> ModifiedTime(const std::string& path) = 0;
  // Writes a new file beside the old one and then replaces it, so that a failure leaves the
  // old file whole. False on failure.
  virtual bool ReplaceFile(const std::string& path, const std::string& bytes) = 0;
  virtual bool CreateFolder(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Copies a file, replacing the target; false on failure.
  virtual bool CopyFileTo(const std::string& from, const std::string& to) = 0;
  // Deletes every file (not folder) in the folder; false when one could not be deleted.
  virtual bool DeleteFilesIn(const std::string& folder) = 0;
  // The user's own data folder (for example ...\AppData\Local), without a trailing backslash.
  virtual std::string UserDataFolder() = 0;
  // Whether the folder belongs to the user running the program (its owner is this user), not
  // to another user or to the administrators; false when that cannot be told.
  virtual bool IsUsersOwnFolder(const std::string& path) = 0;
  // Names of the folder's files whose names end in the extension (".lng"), compared without
  // case, and of its subfolders; empty when the folder cannot be read.
  virtual std::vector<std::string> FilesWithExtension(const std::string& folder,
                                                      const std::string& extension) = 0;
  virtual std::vector<std::string> Subfolders(const std::string& folder) = 0;
};

// Values of the system's registry, one at a time. No key stays open between calls. Keys are
// paths below a root, backslash-separated; an empty value name is the key's default value.
enum class RegistryRoot { CurrentUser, LocalMachine };

// The registry's data types.
namespace reg {
constexpr uint32_t kText = 1;            // REG_SZ
constexpr uint32_t kExpandableText = 2;  // REG_EXPAND_SZ
constexpr uint32_t kBinary = 3;          // REG_BINARY
constexpr uint32_t kNumber = 4;          // REG_DWORD
constexpr uint32_t kBigEndianNumber = 5; // REG_DWORD_BIG_ENDIAN
constexpr uint32_t kTextList = 7;        // REG_MULTI_SZ
}  // namespace reg

// One value: the text types as UTF-8 text (an expandable text read with its environment
// variables expanded; a text list as its texts, each followed by a zero), every other type as
// the bytes stored.
struct RegistryData {
  uint32_t type = reg::kText;
  std::string text;
  std::vector<uint8_t> bytes;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // True when the key opens for reading.
  virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
  // Creates the key, or opens it when it exists, for writing; false when refused.
  virtual bool CreateKey(RegistryRoot root, const std::string& key) = 0;
  // Deletes a key without subkeys; false when it is missing, has subkeys or is refused.
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
  // nullopt when the key or the value is missing or cannot be read.
  virtual std::optional<RegistryData> ReadValue(RegistryRoot root, const std::string& key,
                                                const std::string& name) = 0;
  // Creates the key when missing and stores the value; false when refused.
  virtual bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                          const RegistryData& data) = 0;
  // Removing a value that does not exist succeeds; false when refused.
  virtual bool DeleteValue(RegistryRoot root, const std::string& key,
                           const std::string& name) = 0;
  // The names of the key's values, or of its subkeys; nullopt when the key cannot be read.
  virtual std::optional<std::vector<std::string>> ValueNames(RegistryRoot root,
                                                             const std::string& key) = 0;
  virtual std::optional<std::vector<std::string>> SubkeyNames(RegistryRoot root,
                                                              const std::string& key) = 0;
};

// The shell of the system: documents and web addresses open in the programs it associates,
// and the desktop's background.
class Shell {
 public:
  virtual ~Shell() = default;
  // The "open" verb on a file or a web address; false when nothing could open it.
  virtual bool OpenDocument(Hwnd owner, const std::string& pathOrAddress) = 0;
  // Starts a program in a normal window that may take the focus, with the arguments after its
  // quoted path on its command line; does not wait for it. False when it could not start.
  virtual bool StartProgram(const std::string& path, const std::string& arguments) = 0;
  // Sets the wallpaper with the system parameter call, written to the user's profile without
  // telling other programs; false when the system refuses it.
  virtual bool SetSystemWallpaper(const std::string& path) = 0;
  // The shell's Active Desktop object: nullopt when it cannot be created or does not work,
  // otherwise whether its option is on.
  virtual std::optional<bool> ActiveDesktopOption() = 0;
  virtual bool EnableActiveDesktop() = 0;
  // Sets and applies the wallpaper through the Active Desktop object.
  virtual bool SetActiveDesktopWallpaper(const std::string& path) = 0;
};

// The hook library's nine exports. Load reports whether the library could be used at all.
class HookLibrary {
 public:
  virtual ~HookLibrary() = default;
  virtual bool Load() = 0;
  // True when the keyboard hook is installed.
  virtual bool SetHook(Hwnd notify, int32_t reserved) = 0;
  virtual void UnHook() = 0;
  virtual void TakeAltArrows(int32_t on) = 0;
  virtual void TakeCtrlArrows(int32_t on) = 0;
  virtual void TakeWinArrows(int32_t on) = 0;
  virtual void TakeAltNum(int32_t on) = 0;
  virtual void TakeCtrlNum(int32_t on) = 0;
  virtual void TakeWinNum(int32_t on) = 0;
  virtual void IgnoreHook(int32_t on) = 0;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // GetAsyncKeyState semantics: bit 0x8000 set while the key is held.
  virtual int16_t AsyncKeyState(int virtualKey) = 0;
};

// Per-user text values under application "Ombrix": section, key, value.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // nullopt when the section or the key does not exist.
  virtual std::optional<std::string> Read(const std::string& section, const std::string& key) = 0;
  // Creates the section when missing; false on failure.
  virtual bool Write(const std::string& section, const std::string& key,
                     const std::string& value) = 0;
  // Removing what does not exist succeeds and changes nothing; false on failure.
  virtual bool Delete(const std::string& section, const std::string& key) = 0;
};

// The notification-area icon of the main window (one icon, identifier 1).
class Tray {
 public:
  virtual ~Tray() = default;
  // Mouse events of the icon are delivered to this window's MainWindowEvents::OnTrayMouse.
  virtual void Attach(Hwnd owner) = 0;
  // True when the icon is in the notification area afterwards; false while the shell has no
  // notification area (at log-on it may not be up yet).
  virtual bool Add(int id, const std::string& tooltip, IconHandle icon) = 0;
  virtual bool ChangeIcon(int id, IconHandle icon) = 0;
  virtual bool ChangeTooltip(int id, const std::string& tooltip) = 0;
  virtual void Remove() = 0;
  // iconType 1 = information.
  virtual bool Balloon(const std::string& text, const std::string& title, int iconType,
                       int timeoutMs) = 0;
  // Gives the keyboard focus back to the notification area, as a menu opened from the keyboard
  // must when it closes without a choice.
  virtual void ReturnFocus() = 0;
};

// The running instance as a second process of the program sees it, when its command line asks
// that instance to do something instead of starting.
class RunningInstance {
 public:
  virtual ~RunningInstance() = default;
  // Whether an instance's main window is there.
  virtual bool Found() = 0;
  // Sends the instance a request and waits for the reply for as long as the instance goes on
  // handling messages (a password prompt of its own may be up); nothing when it is gone or
  // stopped answering.
  virtual std::optional<int32_t> Ask(uint32_t message, int32_t wParam, int32_t lParam) = 0;
  // Waits a few seconds at most for the instance's process to end.
  virtual void WaitForEnd() = 0;
  virtual bool IsWindow(Hwnd hwnd) = 0;
  virtual Hwnd ForegroundWindow() = 0;
};

// The keyboard's ways to use the tray icon: selecting it (Enter, Space) or asking for its
// context menu (the menu key, Shift+F10).
enum class TrayKey { Select, ContextMenu };

// What the main window reports to the program. The win32 side calls these from its window
// procedure; tests call them directly.
struct MessageResult {
  bool bHandled = false;
  int32_t lReturn = 0;
};

class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  // The subscribed messages 1025..1044 and the requests 1064..1070 (before default
  // processing), and 26 (after it).
  virtual MessageResult OnSubscribedMessage(uint32_t message, int32_t wParam, int32_t lParam) = 0;
  // A close request from the frame or from outside (WM_CLOSE). True when the window goes.
  virtual bool OnCloseRequest() = 0;
  // WM_QUERYENDSESSION: true lets the session end.
  virtual bool OnQueryEndSession() = 0;
  // WM_ENDSESSION: ending is true when the session really ends.
  virtual void OnEndSession(bool ending) = 0;
  // The tray icon's mouse message (514, 517, ...).
  virtual void OnTrayMouse(int mouseMessage) = 0;
  // The tray icon used from the keyboard.
  virtual void OnTrayKey(TrayKey key) = 0;
  // Explorer (re)started and broadcast "TaskbarCreated".
  virtual void OnTaskbarCreated() = 0;
  // A timer started with Ui::StartTimer fell due.
  virtual void OnTimer(int id) = 0;
};

// One entry of a file dialog's list of file types: "Picture Files", "*.bmp; *.gif".
struct FileFilter {
  std::string description;
  std::string pattern;
};

// The program's own pictures of menu items.
enum class MenuPicture { DefaultApplication, Move, Settings, DesktopSettings, ApplicationRules,
                         ProgramSettings, Help, About, Exit };

// Message boxes, the main window, the pop-up menu, icons and the message pump.
class Ui {
 public:
  virtual ~Ui() = default;
  // Modal message box; style and result are the Windows values (16, 64, 36; 6 = Yes).
  virtual int MessageBox(Hwnd owner, const std::string& text, const std::string& title,
                         uint32_t style) = 0;
  // The hidden main window of class "ThunderRT6FormDC" with caption "OmbrixMainWND"; 0 when it
  // cannot be created.
  virtual Hwnd CreateMainWindow(MainWindowEvents& events) = 0;
  // Destroys the main window and ends the message loop.
  virtual void DestroyMainWindow() = 0;
  // Modal pop-up menu at the mouse position; returns the id of the chosen item or 0.
  virtual int PopupMenu(Hwnd owner, const Menu& menu) = 0;
  // The built-in picture of desktop n (1..9).
  virtual IconHandle DesktopIcon(int desk) = 0;
  virtual IconHandle Picture(MenuPicture picture) = 0;
  // An icon file at the tray's size; 0 when it is missing or cannot be read as an icon.
  virtual IconHandle LoadIconFile(const std::string& path) = 0;
  // Timers of the main window: OnTimer(id) of its events every intervalMs until stopped.
  // Starting a running timer again restarts its interval.
  virtual void StartTimer(int id, uint32_t intervalMs) = 0;
  virtual void StopTimer(int id) = 0;
  // The system's dialog for choosing an existing file, owned by owner; the chosen file's full
  // path, or empty when the user cancelled.
  virtual std::string ChooseFileToOpen(Hwnd owner, const std::string& title,
                                       const std::vector<FileFilter>& filters) = 0;
  // Processes pending messages once (DoEvents) / waits for the next one.
  virtual void DoEvents() = 0;
  virtual void WaitMessage() = 0;
};

// Shows forms of the form model (ui/form.h) as windows.
class FormHost {
 public:
  virtual ~FormHost() = default;
  // Creates the form's window, hidden, and returns its handle (also stored in form.hwnd).
  virtual Hwnd Load(Form& form) = 0;
  virtual void Show(Form& form) = 0;
  virtual void Hide(Form& form) = 0;
  // Destroys the window; the model stays.
  virtual void Unload(Form& form) = 0;
  // Brings the window up to date with the model (captions, size, timers) and paints it at
  // once. A timer runs while it is enabled; one enabled again after it stopped starts anew.
  virtual void Refresh(Form& form) = 0;
  // Takes the Close command out of the form's window menu.
  virtual void RemoveCloseMenu(Form& form) = 0;
  // The size in pixels that a text takes in a font, for labels that size themselves.
  virtual Size MeasureText(const Font& font, const std::string& text) = 0;
  // The forms that have a window now, in the order they were loaded.
  virtual std::vector<Form*> LoadedForms() = 0;
};

}  // namespace ombrix
