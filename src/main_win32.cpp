// The Windows entry point: builds the platform services, starts the program and runs the
// message loop for as long as the main window lives.
#include "app/lifecycle.h"
#include "app/program.h"
#include "platform/win32/dpi.h"
#include "platform/win32/files.h"
#include "platform/win32/form_host.h"
#include "platform/win32/hook_library.h"
#include "platform/win32/keyboard.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/registry_store.h"
#include "platform/win32/shell.h"
#include "platform/win32/system.h"
#include "platform/win32/tray.h"
#include "platform/win32/ui.h"
#include "platform/win32/win.h"
#include "platform/win32/window_system.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  using namespace ombrix;
  // The manifest normally declares the DPI awareness; this covers a missing manifest.
  win32::EnsureDpiAwareness();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  win32::Win32WindowSystem windows;
  win32::Win32System system;
  win32::Win32Keyboard keyboard;
  win32::RegistryStore store;
  win32::Win32Ui ui(instance);
  win32::Win32Tray tray;
  win32::Win32FormHost forms(instance);
  win32::Win32Files files;
  win32::Win32Shell shell;
  // Declared before the program, so the library is freed only after the program is gone.
  win32::Win32HookLibrary hooks;
  Program program(
      Platform{windows, system, keyboard, store, ui, tray, forms, files, hooks, shell});

  if (StartUp(program) != StartOutcome::Running) return 0;
  return win32::RunMessageLoop();
}
