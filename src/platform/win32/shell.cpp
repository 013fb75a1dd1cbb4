#include "platform/win32/shell.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"
// These need <windows.h> first; the Active Desktop declarations need <wininet.h> first.
// clang-format off
#include <wininet.h>
#include <shlobj.h>
// clang-format on

namespace ombrix::win32 {

namespace {

// The Active Desktop object for one operation, released when it goes; empty where the shell
// has none (Wine, and systems without it). COM is set up by the program's entry point.
class ActiveDesktop {
 public:
  ActiveDesktop() {
    if (FAILED(CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, reinterpret_cast<void**>(&object_)))) {
      object_ = nullptr;
    }
  }
  ~ActiveDesktop() {
    if (object_ != nullptr) object_->Release();
  }
  ActiveDesktop(const ActiveDesktop&) = delete;
  ActiveDesktop& operator=(const ActiveDesktop&) = delete;
  IActiveDesktop* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  IActiveDesktop* object_ = nullptr;
};

}  // namespace

bool Win32Shell::SetSystemWallpaper(const std::string& path) {
  std::wstring wide = Widen(path);
  return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(), SPIF_UPDATEINIFILE) != FALSE;
}

std::optional<bool> Win32Shell::ActiveDesktopOption() {
  ActiveDesktop desktop;
  if (!desktop) return std::nullopt;
  COMPONENTSOPT options{};
  options.dwSize = sizeof(options);
  // Wine has the object, but none of its methods works: that is no usable object either.
  if (FAILED(desktop->GetDesktopItemOptions(&options, 0))) return std::nullopt;
  return options.fActiveDesktop != FALSE;
}

bool Win32Shell::EnableActiveDesktop() {
  ActiveDesktop desktop;
  if (!desktop) return false;
  COMPONENTSOPT options{};
  options.dwSize = sizeof(options);
  if (FAILED(desktop->GetDesktopItemOptions(&options, 0))) return false;
  options.fActiveDesktop = TRUE;
  return SUCCEEDED(desktop->SetDesktopItemOptions(&options, 0)) &&
         SUCCEEDED(desktop->ApplyChanges(AD_APPLY_ALL));
}

bool Win32Shell::SetActiveDesktopWallpaper(const std::string& path) {
  ActiveDesktop desktop;
  if (!desktop) return false;
  const std::wstring wide = Widen(path);
  return SUCCEEDED(desktop->SetWallpaper(wide.c_str(), 0)) &&
         SUCCEEDED(desktop->ApplyChanges(AD_APPLY_ALL));
}

bool Win32Shell::OpenDocument(Hwnd owner, const std::string& pathOrAddress) {
  // Values above 32 mean success.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(ToHwnd(owner), L"open", Widen(pathOrAddress).c_str(), L"", L"", SW_SHOWNORMAL));
  return result > 32;
}

bool Win32Shell::StartProgram(const std::string& path, const std::string& arguments) {
  const std::wstring program = Widen(path);
  std::wstring commandLine = L"\"" + program + L"\" " + Widen(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  // The program the user asked for may come to the front over this one.
  AllowSetForegroundWindow(process.dwProcessId);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return true;
}

}  // namespace ombrix::win32
