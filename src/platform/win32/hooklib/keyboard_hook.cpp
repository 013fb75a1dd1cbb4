// Low-level keyboard hook: reports hot-keys and keeps them from the foreground program.
#include "hooklib.h"
#include "platform/types.h"

namespace ombrix::hooklib {
namespace {

// An unassigned key. Pressed while Win or Alt is down, it tells the system that the modifier
// was used in a combination, so its release opens neither the Start menu nor a menu bar.
constexpr WORD kMaskKey = 0xE8;

HHOOK gHook = nullptr;
// Keys whose press was swallowed; their auto-repeats and release are swallowed too.
bool gSwallowed[256] = {};

// When each key was last seen going down by this hook, 0 once it went up. The system's key
// state can lag behind the events a hook sees (under load, a modifier pressed just before the
// digit may not show yet); a press seen here counts for a short while, so a release this hook
// never sees cannot leave a modifier held for good.
DWORD gDownAt[256] = {};
constexpr DWORD kSeenPressCountsMs = 1000;

bool Held(int vk, DWORD now) {
  const bool seen = gDownAt[vk] != 0 && now - gDownAt[vk] < kSeenPressCountsMs;
  return seen || (GetAsyncKeyState(vk) & 0x8000) != 0;
}

void Observe(WPARAM message, DWORD vk, DWORD time) {
  const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
  gDownAt[vk] = up ? 0 : (time == 0 ? 1 : time);
}

void PressMaskKey() {
  INPUT input[2] = {};
  for (INPUT& in : input) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = kMaskKey;
    in.ki.dwExtraInfo = kOwnInput;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// True when the key event must not reach the foreground program.
bool Swallow(WPARAM message, DWORD vk, DWORD now) {
  if (message == WM_KEYUP || message == WM_SYSKEYUP) {
    const bool swallowed = gSwallowed[vk];
    gSwallowed[vk] = false;
    return swallowed;
  }
  const Modifiers held{
      .alt = Held(VK_MENU, now) || Held(VK_LMENU, now) || Held(VK_RMENU, now),
      .ctrl = Held(VK_CONTROL, now) || Held(VK_LCONTROL, now) || Held(VK_RCONTROL, now),
      .win = Held(VK_LWIN, now) || Held(VK_RWIN, now),
      .shift = Held(VK_SHIFT, now) || Held(VK_LSHIFT, now) || Held(VK_RSHIFT, now)};
  const uint32_t report = MatchHotKey(static_cast<int>(vk), held, Flags().Load());
  if (report == 0) {
    gSwallowed[vk] = false;  // a release that this hook never saw must not eat a later press
    return false;
  }
  if (gSwallowed[vk]) return true;  // auto-repeat: one press, one report
  gSwallowed[vk] = true;
  BeforeHotKeyReport();
  PostMessageW(NotifyWindow().load(), report, vk, 0);
  // Injected from inside the hook, the mask key is queued before the modifier's release.
  if (report != msg::kHotKeyCtrl) PressMaskKey();
  return true;
}

LRESULT CALLBACK LowLevelKeyboard(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (key->dwExtraInfo != kOwnInput && key->vkCode < 256) {
      Observe(message, key->vkCode, key->time);
      if (Swallow(message, key->vkCode, key->time)) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

}  // namespace

bool StartKeyboardHook(HMODULE module) {
  for (bool& key : gSwallowed) key = false;
  for (DWORD& time : gDownAt) time = 0;
  gHook = SetWindowsHookExW(WH_KEYBOARD_LL, LowLevelKeyboard, module, 0);
  return gHook != nullptr;
}

void StopKeyboardHook() {
  if (gHook != nullptr) UnhookWindowsHookEx(gHook);
  gHook = nullptr;
}

}  // namespace ombrix::hooklib
