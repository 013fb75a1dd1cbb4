// testwin.exe: opens one kind of top-level window for the end-to-end tests and pumps its messages
// until its windows are gone.
//
//   testwin normal TITLE     a titled window
//   testwin owned TITLE      a titled window and a window it owns, titled "TITLE dialog"
//   testwin untitled         a window of class OmbrixTestUntitled without a title
//   testwin topmost TITLE    a top-most window
//   testwin zero TITLE       a pop-up window of no width and no height
//   testwin cabinet TITLE    a window of the shell folder class CabinetWClass
//   testwin hung TITLE       a window whose thread never reads a message after showing it
//   testwin stubborn TITLE   a window of class OmbrixTestStubborn that vetoes its own hiding
//   testwin shell TITLE      a titled window, and a hidden one of the taskbar's class
//                            (Shell_TrayWnd), which makes this process count as the shell
//   testwin FILE.lng         a window titled "Translating FILE.lng", as the translation tool
//                            Glossator.exe (a copy of testwin) shows one
//
// Posted to any of these windows: kHang stops reading messages for good, kHide and kShow make the
// program hide or show its own window.

#include <windows.h>

#include <string>

namespace {

constexpr UINT kHang = WM_APP + 1;
constexpr UINT kHide = WM_APP + 2;
constexpr UINT kShow = WM_APP + 3;

int gWindows = 0;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kHang) {
    for (;;) Sleep(INFINITE);
  }
  if (message == kHide || message == kShow) ShowWindow(hwnd, message == kHide ? SW_HIDE : SW_SHOW);
  // A stubborn window takes the hiding out of every change of its place and size.
  if (message == WM_WINDOWPOSCHANGING && GetPropW(hwnd, L"stubborn") != nullptr) {
    reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_HIDEWINDOW;
  }
  if (message == WM_CREATE) ++gWindows;
  if (message == WM_DESTROY && --gWindows == 0) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Register(const wchar_t* name) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = name;
  return RegisterClassW(&windowClass) != 0;
}

HWND Open(const wchar_t* cls, const std::wstring& title, DWORD style, DWORD exStyle, int size,
          HWND owner = nullptr) {
  HWND hwnd = CreateWindowExW(exStyle, cls, title.c_str(), style, 100, 100, size, size, owner,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd != nullptr) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc >= 2 ? argv[1] : L"";
  const std::wstring title = argc >= 3 ? argv[2] : L"";
  const wchar_t* cls = mode == L"cabinet"    ? L"CabinetWClass"
                       : mode == L"untitled" ? L"OmbrixTestUntitled"
                       : mode == L"stubborn" ? L"OmbrixTestStubborn"
                                             : L"OmbrixTestWin";
  if (!Register(cls)) return 1;

  HWND main = nullptr;
  if (mode == L"normal" || mode == L"cabinet" || mode == L"hung" || mode == L"owned" ||
      mode == L"stubborn") {
    main = Open(cls, title, WS_OVERLAPPEDWINDOW, 0, 300);
    if (mode == L"owned" && !Open(cls, title + L" dialog", WS_CAPTION | WS_SYSMENU, 0, 200, main)) {
      return 1;
    }
    if (mode == L"stubborn" && main != nullptr) SetPropW(main, L"stubborn", main);
  } else if (mode == L"shell") {
    main = Register(L"Shell_TrayWnd") ? Open(cls, title, WS_OVERLAPPEDWINDOW, 0, 300) : nullptr;
    if (main != nullptr && !CreateWindowExW(0, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 10, 10,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {
      return 1;
    }
  } else if (mode == L"untitled") {
    main = Open(cls, L"", WS_POPUP | WS_BORDER, 0, 200);
  } else if (mode == L"topmost") {
    main = Open(cls, title, WS_OVERLAPPEDWINDOW, WS_EX_TOPMOST, 200);
  } else if (mode == L"zero") {
    main = Open(cls, title, WS_POPUP, 0, 0);
  } else if (mode.size() > 4 && _wcsicmp(mode.c_str() + mode.size() - 4, L".lng") == 0) {
    main = Open(cls, L"Translating " + mode, WS_OVERLAPPEDWINDOW, 0, 300);
  } else {
    return 2;
  }
  if (main == nullptr) return 1;
  if (mode == L"hung") {
    UpdateWindow(main);
    for (;;) Sleep(INFINITE);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
