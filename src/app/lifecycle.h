// Start-up, the main window's load, the close request and shut-down.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace ombrix {

class Program;

enum class StartOutcome {
  Running,          // the main window is loaded; run the message loop
  AnotherInstance,  // a previous instance runs; this process ends
  DebuggerAttached, // a debugger is attached; this process ends
  NoMainWindow,     // the main window could not be created; the user has been told
};

// The whole start-up routine, ending with the main window's load.
StartOutcome StartUp(Program& program);
// The exit code of a process whose start ended this way without running.
int ExitCode(StartOutcome outcome);

// The main window's load: settings, desktops, tray icon and the rest of the running state.
// False, after telling the user, when the main window cannot be created.
bool LoadMainWindow(Program& program);

// The close request with the platform's reason code; false refuses the close.
bool CloseRequest(Program& program, UnloadReason reason);

// Shut-down; false refuses it and leaves everything as it was.
bool ShutDown(Program& program);

// Close request, then shut-down, then the main window is destroyed. True when it is gone.
bool UnloadMainWindow(Program& program, UnloadReason reason);

// Another program's exit request: the normal shut-down without the question or the program
// password. False when shut-down refused it (the program is busy).
bool ExitOnRequest(Program& program);

// Hides every top-level window of this process except the splash window.
void HideOwnWindows(Program& program);

// Routes the main window's notifications to the program.
class MainWindow : public MainWindowEvents {
 public:
  explicit MainWindow(Program& program) : program_(program) {}

  MessageResult OnSubscribedMessage(uint32_t message, int32_t wParam, int32_t lParam) override;
  bool OnCloseRequest() override;
  bool OnQueryEndSession() override;
  void OnEndSession(bool ending) override;
  void OnTrayMouse(int mouseMessage) override;
  void OnTrayKey(TrayKey key) override;
  void OnTaskbarCreated() override;
  void OnTimer(int id) override;

 private:
  Program& program_;
};

}  // namespace ombrix
