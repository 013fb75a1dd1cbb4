#include "platform/win32/main_window.h"

#include <iterator>
#include <vector>

#include "events/message_filter.h"
#include "platform/win32/messages.h"
#include "platform/win32/popup_menu.h"

namespace ombrix::win32 {

namespace {

constexpr const wchar_t* kClassName = L"ThunderRT6FormDC";
constexpr const wchar_t* kCaption = L"OmbrixMainWND";

// Messages of the hook library, of other instances and of other programs' requests; the
// program sees them before the default processing.
constexpr UINT kSubscribedBefore[] = {1025, 1026, 1027, 1034, 1035, 1036, 1037,
                                      1044, 1064, 1065, 1066, 1067, 1068, 1069, 1070};

UINT taskbarCreated = 0;
// The shell follows a right click on the icon with WM_CONTEXTMENU (version 4 behaviour); only a
// WM_CONTEXTMENU that does not come with a right click is the keyboard's.
constexpr DWORD kRightClickEchoMs = 500;
bool inRightClick = false;
DWORD rightClickEnded = 0;

void TrayEvent(MainWindowEvents& events, UINT event) {
  switch (event) {
    case NIN_SELECT:  // follows WM_LBUTTONUP
      return;
    case NIN_KEYSELECT:
      events.OnTrayKey(TrayKey::Select);
      return;
    case WM_CONTEXTMENU:
      if (!inRightClick && GetTickCount() - rightClickEnded >= kRightClickEchoMs) {
        events.OnTrayKey(TrayKey::ContextMenu);
      }
      return;
    case WM_RBUTTONUP:
      inRightClick = true;
      events.OnTrayMouse(static_cast<int>(event));
      inRightClick = false;
      rightClickEnded = GetTickCount();
      return;
    default:
      events.OnTrayMouse(static_cast<int>(event));
      return;
  }
}

bool IsSubscribedBefore(UINT message) {
  for (UINT subscribed : kSubscribedBefore) {
    if (message == subscribed) return true;
  }
  return false;
}

int32_t Arg(WPARAM value) { return static_cast<int32_t>(value); }
int32_t Arg(LPARAM value) { return static_cast<int32_t>(value); }

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  auto* events = reinterpret_cast<MainWindowEvents*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (events == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);

  // The handlers below may destroy this window (DestroyMainWindow); nothing touches it after.
  if (IsSubscribedBefore(message)) {
    const MessageResult result = events->OnSubscribedMessage(message, Arg(wParam), Arg(lParam));
    if (result.bHandled) return result.lReturn;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  switch (message) {
    case WM_SETTINGCHANGE: {
      const LRESULT standard = DefWindowProcW(hwnd, message, wParam, lParam);
      const MessageResult result = events->OnSubscribedMessage(message, Arg(wParam), Arg(lParam));
      return result.bHandled ? result.lReturn : standard;
    }
    case WM_CLOSE:
      // The program destroys the window itself when the close goes on.
      events->OnCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return events->OnQueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
      events->OnEndSession(wParam != FALSE);
      return 0;
    case WM_TIMER:
      events->OnTimer(static_cast<int>(wParam));
      return 0;
    case kTrayCallbackMessage:
      TrayEvent(*events, LOWORD(lParam));
      return 0;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (HandleMenuDrawing(message, lParam)) return TRUE;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      if (message == taskbarCreated && taskbarCreated != 0) {
        events->OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RunsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool elevated =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
      elevation.TokenIsElevated != 0;
  CloseHandle(token);
  return elevated;
}

IncomingMessage KindOf(UINT message) {
  if (message == kTrayCallbackMessage) return IncomingMessage::TrayCallback;
  if (message == taskbarCreated) return IncomingMessage::TaskbarCreated;
  if (message == msg::kShowTrayAgain) return IncomingMessage::SecondInstance;
  if (message >= msg::kGoToDesktop) return IncomingMessage::Request;
  return IncomingMessage::HookNotice;
}

// The rule (events/message_filter.h decides it): from a process of lower integrity only the
// shell's tray callback and "TaskbarCreated" come through, and only into an elevated instance,
// whose notification area runs lower. Hook notices come from this process and need nothing;
// other programs' requests (1064 ... 1067) are never let up.
void AllowFromLowerIntegrity(HWND hwnd) {
  const bool elevated = RunsElevated();
  std::vector<UINT> handled(std::begin(kSubscribedBefore), std::end(kSubscribedBefore));
  handled.push_back(taskbarCreated);
  handled.push_back(kTrayCallbackMessage);
  for (UINT message : handled) {
    if (AdmitFromLowerIntegrity(KindOf(message), elevated)) {
      ChangeWindowMessageFilterEx(hwnd, message, MSGFLT_ALLOW, nullptr);
    }
  }
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, HICON icon, MainWindowEvents& events) {
  taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, &events);
  if (hwnd != nullptr) AllowFromLowerIntegrity(hwnd);
  return hwnd;
}

}  // namespace ombrix::win32
