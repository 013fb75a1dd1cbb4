// The Windows entry point: hands a command to the running instance, or builds the platform
// services, starts the program and runs the message loop for as long as the main window lives.
#include "app/command_line.h"
#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/win32/command_line_client.h"
#include "platform/win32/dpi.h"
#include "platform/win32/files.h"
#include "platform/win32/form_host.h"
#include "platform/win32/hook_library.h"
#include "platform/win32/keyboard.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/registry.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/shell.h"
#include "platform/win32/system.h"
#include "platform/win32/tray.h"
#include "platform/win32/ui.h"
#include "platform/win32/win.h"
#include "platform/win32/window_system.h"
// Needs <windows.h> first.
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  using namespace ombrix;
  // A command goes to the running instance; this process never becomes a second tray program.
  const CommandLine commandLine = ParseCommandLine(win32::CommandLineArguments());
  if (commandLine.command != Command::Start) return win32::RunCommandLine(commandLine);
  // The manifest normally declares the DPI awareness; this covers a missing manifest.
  win32::EnsureDpiAwareness();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's Active Desktop object is a COM object of this thread.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

  win32::Win32WindowSystem windows;
  win32::Win32System system;
  win32::Win32Keyboard keyboard;
  win32::RegistryStore store;
  win32::Win32Ui ui(instance);
  win32::Win32Tray tray;
  win32::Win32FormHost forms(instance);
  win32::Win32Files files;
  // Declared before the program, so the library is freed only after the program is gone.
  win32::Win32HookLibrary hooks;
  win32::Win32Registry registry;
  win32::Win32Shell shell;
  int exitCode = 0;
  {
    Program program(Platform{windows, system, keyboard, store, ui, tray, forms, files, hooks,
                             registry, shell});
    const StartOutcome outcome = StartUp(program);
    exitCode = outcome == StartOutcome::Running ? win32::RunMessageLoop() : ExitCode(outcome);
  }
  if (com) CoUninitialize();
  return exitCode;
}
