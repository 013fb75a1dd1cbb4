// A simulated window system, store, shell, tray and form host. Tests build the world they need,
// act as the user (answer message boxes, pick menu items, advance the clock) and read back what
// the program did. Methods the program may not rely on here fail loudly.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/platform.h"
#include "ui/form.h"

namespace ombrix::sim {

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
  Hwnd foreground = 0;
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
  bool PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  int32_t SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  Hwnd ForegroundWindow() override;
  bool SetForegroundWindow(Hwnd hwnd) override;
  bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;

 private:
  std::vector<SimWindow> windows_;  // z-order, topmost first
  Hwnd nextHwnd_ = 0x10010;
};

class SimProcess : public System {
 public:
  uint32_t processId = 4242;
  bool debugger = false;
  std::string commandLine;
  std::string folder = "C:\\Program Files\\Ombrix";
  bool anotherInstance = false;

  uint32_t CurrentProcessId() override { return processId; }
  bool IsDebuggerPresent() override { return debugger; }
  std::string CommandLineArgs() override { return commandLine; }
  std::string ProgramFolder() override { return folder; }
  bool AnotherInstanceRunning() override { return anotherInstance; }
};

class SimKeyboard : public Keyboard {
 public:
  std::map<int, bool> held;
  int16_t AsyncKeyState(int virtualKey) override {
    return held[virtualKey] ? static_cast<int16_t>(0x8000) : 0;
  }
};

// Settings in memory: section -> key -> value. failWrites makes every write fail.
class MemoryStore : public SettingsStore {
 public:
  std::map<std::string, std::map<std::string, std::string>> sections;
  bool failWrites = false;
  int writes = 0;

  std::optional<std::string> Read(const std::string& section, const std::string& key) override;
  bool Write(const std::string& section, const std::string& key,
             const std::string& value) override;
  bool Delete(const std::string& section, const std::string& key) override;
};

class SimTray : public Tray {
 public:
  bool present = false;
  Hwnd owner = 0;
  std::string tooltip;
  IconHandle icon = 0;
  int adds = 0;
  int removes = 0;
  struct BalloonShown {
    std::string text, title;
    int iconType, timeoutMs;
  };
  std::vector<BalloonShown> balloons;

  void Attach(Hwnd hwnd) override { owner = hwnd; }
  bool Add(int id, const std::string& tip, IconHandle picture) override;
  bool ChangeIcon(int id, IconHandle picture) override;
  bool ChangeTooltip(int id, const std::string& tip) override;
  void Remove() override;
  bool Balloon(const std::string& text, const std::string& title, int iconType,
               int timeoutMs) override;
};

struct ShownBox {
  std::string text;
  std::string title;
  uint32_t style;
};

class SimUi : public Ui {
 public:
  explicit SimUi(SimWindowSystem& windows, SimProcess& process)
      : windows_(windows), process_(process) {}

  // What the user answers to message boxes, in order; with none left a box answers OK/No (1/7).
  std::deque<int> boxAnswers;
  std::vector<ShownBox> boxes;
  // Runs while a message box is open, as the nested message loop would.
  std::function<void()> duringBox;
  // The user's choice in a pop-up menu (the menu is passed as the program built it).
  std::function<int(const Menu&)> choosePopupItem;
  std::vector<Menu> popups;

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
  void DoEvents() override { ++doEvents; }
  void WaitMessage() override {}

 private:
  SimWindowSystem& windows_;
  SimProcess& process_;
};

// Keeps forms headless; timers run on a simulated clock that tests advance.
class SimFormHost : public FormHost {
 public:
  SimFormHost(SimWindowSystem& windows, SimProcess& process)
      : windows_(windows), process_(process) {}

  Hwnd Load(Form& form) override;
  void Show(Form& form) override;
  void Hide(Form& form) override;
  void Unload(Form& form) override;
  void Refresh(Form& form) override;

  // Moves the clock on and fires every timer tick that falls due, in time order.
  void AdvanceTime(int milliseconds);
  int64_t now = 0;
  int loads = 0;

 private:
  struct RunningTimer {
    Form* form;
    std::string name;
    int index;
    int64_t due;
  };
  SimWindowSystem& windows_;
  SimProcess& process_;
  std::vector<RunningTimer> timers_;
};

// Everything at once, wired together, with a Platform view for the Program.
struct World {
  SimWindowSystem windows;
  SimProcess process;
  SimKeyboard keyboard;
  MemoryStore store;
  SimTray tray;
  SimUi ui{windows, process};
  SimFormHost forms{windows, process};

  Platform platform() { return Platform{windows, process, keyboard, store, ui, tray, forms}; }
};

}  // namespace ombrix::sim
