// menureader.dll: probe.exe hooks it into the thread that shows a pop-up menu, whose items only
// that process can read. On the message "OmbrixTestReadMenu" it writes every open menu of its
// thread, item by item, to %TEMP%\ombrix-menu.txt as UTF-8 lines:
//   menu LEFT TOP RIGHT BOTTOM
//   item KIND STATE LEFT TOP RIGHT BOTTOM TEXT
// KIND is text, separator or label (a separator with a text, read as accessibility tools read
// it); STATE is on, off or checked.

#include <windows.h>
// This needs <windows.h> first.
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  std::string out(text.size() * 3, '\0');
  out.resize(static_cast<size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                          static_cast<int>(out.size()), nullptr, nullptr)));
  return out;
}

void WriteMenu(FILE* out, HWND window) {
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
  RECT frame{};
  GetWindowRect(window, &frame);
  std::fprintf(out, "menu %ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = 511;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    std::wstring shown = text;
    const char* kind = "text";
    if (info.fType & MFT_SEPARATOR) {
      kind = "separator";
      const auto* accessible = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
      if ((info.fType & MFT_OWNERDRAW) && accessible != nullptr &&
          accessible->dwMSAASignature == MSAA_MENU_SIG) {
        kind = "label";
        shown.assign(accessible->pszWText, accessible->cchWText);
      }
    }
    const char* state = (info.fState & MFS_GRAYED)    ? "off"
                        : (info.fState & MFS_CHECKED) ? "checked"
                                                      : "on";
    RECT rect{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &rect);
    std::fprintf(out, "item %s %s %ld %ld %ld %ld %s\n", kind, state, rect.left, rect.top,
                 rect.right, rect.bottom, Utf8(shown).c_str());
  }
}

void WriteMenus() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring path = std::wstring(temp) + L"ombrix-menu.txt";
  const std::wstring partial = path + L".part";
  FILE* out = _wfopen(partial.c_str(), L"wb");
  if (out == nullptr) return;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM file) {
        wchar_t name[16] = {};
        GetClassNameW(hwnd, name, 16);
        if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(hwnd))
          WriteMenu(reinterpret_cast<FILE*>(file), hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(out));
  std::fclose(out);
  MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    ReadMenuHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT read = RegisterWindowMessageW(L"OmbrixTestReadMenu");
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == read) WriteMenus();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
