// probe.exe's commands for the controls of Ombrix's dialogs and for registry values outside
// Ombrix's own settings. Everything here works across processes: the messages used either carry
// no pointer or are ones the system copies between processes.
//
//   controls WIN                 every child window: class, text, shown, enabled, checked, and
//                                a combo box's items and choice or a tab strip's tab
//   checked WIN CAPTION on|off   the check box or option button of that caption is in that state
//   combo WIN N TEXT             chooses TEXT in the Nth shown combo box (from 1), as the user does
//   tab WIN N                    clicks tab N (from 0) of the window's tab strip with the mouse
//   file-dialog TITLE PATH MS    in the open-file dialog of that title, types the path and presses
//                                Open
//   reg-value KEY NAME           prints a value under HKEY_CURRENT_USER\KEY; exit 1 when missing
//   reg-put KEY NAME TEXT        writes a text value under HKEY_CURRENT_USER\KEY
//   reg-lock KEY                 lets nobody write under HKEY_CURRENT_USER\KEY any more
//   reg-unlock KEY               lets everybody write there again

#include <windows.h>
#include <aclapi.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "probe_common.h"
#include "probe_forms.h"

namespace {

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::wstring TextOf(HWND hwnd) {
  wchar_t buffer[2048] = {};
  SendMessageW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

bool Is(HWND hwnd, const wchar_t* cls) { return lstrcmpiW(ClassOf(hwnd).c_str(), cls) == 0; }

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::wstring ComboItem(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return L"";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int Controls(const wchar_t* title) {
  HWND window = Named(title);
  if (!window) {
    Say("no such window");
    return 1;
  }
  for (HWND child : Children(window)) {
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about a + "b" + c.
    std::string line = Utf8(ClassOf(child));
    line += " \"";
    line += Utf8(TextOf(child));
    line += '"';
    line += IsWindowVisible(child) ? " shown" : " hidden";
    line += IsWindowEnabled(child) ? " enabled" : " disabled";
    if (Is(child, L"Button")) {
      line += SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : " unchecked";
    }
    if (Is(child, L"ComboBox")) {
      const auto count = static_cast<int>(SendMessageW(child, CB_GETCOUNT, 0, 0));
      const auto chosen = static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0));
      line += " chosen=\"";
      line += Utf8(ComboItem(child, chosen));
      line += "\" items=";
      for (int i = 0; i < count; ++i) {
        if (i > 0) line += '|';
        line += Utf8(ComboItem(child, i));
      }
    }
    if (Is(child, WC_TABCONTROLW)) {
      line += " tab=";
      line += std::to_string(SendMessageW(child, TCM_GETCURSEL, 0, 0));
      line += '/';
      line += std::to_string(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
    }
    Say(line);
  }
  return 0;
}

int Checked(const wchar_t* title, const wchar_t* caption, bool on) {
  HWND window = Named(title);
  HWND button = window ? FindWindowExW(window, nullptr, L"Button", caption) : nullptr;
  if (!button) {
    Say("no such button");
    return 1;
  }
  const bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  Say(checked ? "checked" : "unchecked");
  return checked == on ? 0 : 1;
}

int Combo(const wchar_t* title, int n, const wchar_t* text) {
  HWND window = Named(title);
  HWND combo = window ? NthShown(window, L"ComboBox", n) : nullptr;
  if (!combo) {
    Say("no such combo box");
    return 1;
  }
  const LRESULT index =
      SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (index == CB_ERR) {
    Say("no such item");
    return 1;
  }
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // The notice the combo box sends its parent when the user chooses an item.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  std::string said = "chose ";
  said += Utf8(text);
  Say(said);
  return 0;
}

// The tabs' places are known only inside the process that owns them, so the header row is
// clicked from the left until the wanted tab is the chosen one.
int Tab(const wchar_t* title, int wanted) {
  HWND window = Named(title);
  HWND tabs = nullptr;
  if (window) {
    for (HWND child : Children(window)) {
      if (Is(child, WC_TABCONTROLW)) tabs = child;
    }
  }
  if (!tabs) {
    Say("no tab strip");
    return 1;
  }
  SetForegroundWindow(window);
  RECT strip{};
  GetWindowRect(tabs, &strip);
  const int y = strip.top + GetSystemMetrics(SM_CYMENU) / 2 + 2;
  for (int x = strip.left + 6; x < strip.right; x += 12) {
    if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted) break;
    ClickAt(x, y);
  }
  const bool chosen = WaitFor(2000, [&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == wanted; });
  Say(chosen ? "tab chosen" : "the tab could not be chosen");
  return chosen ? 0 : 1;
}

// The file name box of the system's open dialog: the combo box cmb13, or the edit box edt1.
HWND FileNameBox(HWND dialog) {
  HWND box = GetDlgItem(dialog, 0x47c);
  if (box && Is(box, L"ComboBoxEx32")) box = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
  if (box && Is(box, L"ComboBox")) box = FindWindowExW(box, nullptr, L"Edit", nullptr);
  return box ? box : GetDlgItem(dialog, 0x480);
}

int FileDialog(const wchar_t* title, const wchar_t* path, DWORD timeoutMs) {
  HWND dialog = nullptr;
  if (!WaitFor(timeoutMs, [&] {
        dialog = FindWindowW(L"#32770", title);
        return dialog && IsWindowVisible(dialog);
      })) {
    Say("no file dialog");
    return 1;
  }
  HWND box = nullptr;
  if (!WaitFor(3000, [&] { return (box = FileNameBox(dialog)) != nullptr; })) {
    Say("no file name box");
    return 1;
  }
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  if (!WaitFor(5000, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); })) {
    Say("the file dialog stayed open");
    return 1;
  }
  std::string said = "chose ";
  said += Utf8(path);
  Say(said);
  return 0;
}

int RegValue(const wchar_t* key, const wchar_t* name) {
  wchar_t value[4096] = {};
  DWORD bytes = sizeof(value) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, value, &bytes) !=
      ERROR_SUCCESS) {
    Say("missing");
    return 1;
  }
  Say(Utf8(value));
  return 0;
}

int RegPut(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
  const auto bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
  if (RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text, bytes) != ERROR_SUCCESS) {
    Say("refused");
    return 1;
  }
  Say("set");
  return 0;
}

// Everyone may read the key; writing, creating below it and deleting are denied, or allowed
// again.
int RegLock(const wchar_t* key, bool locked) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, WRITE_DAC | KEY_READ, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    Say("cannot open the key");
    return 1;
  }
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = locked ? KEY_READ : KEY_ALL_ACCESS;
  access.grfAccessMode = SET_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
  PACL acl = nullptr;
  DWORD status = SetEntriesInAclW(1, &access, nullptr, &acl);
  if (status == ERROR_SUCCESS) {
    status = SetSecurityInfo(handle, SE_REGISTRY_KEY,
                             DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                             nullptr, nullptr, acl, nullptr);
  }
  LocalFree(acl);
  FreeSid(everyone);
  RegCloseKey(handle);
  Say(status == ERROR_SUCCESS ? (locked ? "locked" : "unlocked") : "failed");
  return status == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace

int FormCommand(const std::wstring& command, int n, wchar_t** a) {
  auto number = [](const wchar_t* text) { return static_cast<int>(std::wcstol(text, nullptr, 10)); };
  if (command == L"controls" && n == 1) return Controls(a[0]);
  if (command == L"checked" && n == 3) return Checked(a[0], a[1], std::wcscmp(a[2], L"on") == 0);
  if (command == L"combo" && n == 3) return Combo(a[0], number(a[1]), a[2]);
  if (command == L"tab" && n == 2) return Tab(a[0], number(a[1]));
  if (command == L"file-dialog" && n == 3) {
    return FileDialog(a[0], a[1], static_cast<DWORD>(number(a[2])));
  }
  if (command == L"reg-value" && n == 2) return RegValue(a[0], a[1]);
  if (command == L"reg-put" && n == 3) return RegPut(a[0], a[1], a[2]);
  if (command == L"reg-lock" && n == 1) return RegLock(a[0], true);
  if (command == L"reg-unlock" && n == 1) return RegLock(a[0], false);
  return -1;
}
