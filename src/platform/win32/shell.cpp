#include "platform/win32/shell.h"

#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

bool Win32Shell::OpenDocument(Hwnd owner, const std::string& pathOrAddress) {
  // Values above 32 mean success.
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      ToHwnd(owner), L"open", Widen(pathOrAddress).c_str(), L"", L"", SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace ombrix::win32
