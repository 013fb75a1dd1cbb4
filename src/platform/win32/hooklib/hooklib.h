// The parts of OmbrixLib.dll and how they meet. The exported functions run on the caller's
// thread; the hooks, the poll and every message to the notify window run on one thread of the
// library's own, so a busy caller never stalls the system's keyboard.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "events/hotkey_match.h"

namespace ombrix::hooklib {

// dwExtraInfo of the input the library injects itself, so its own hook lets that input pass.
constexpr ULONG_PTR kOwnInput = 0x4F4D4258;

// The key groups asked for; the setters store them from any thread.
struct SharedFlags {
  std::atomic<bool> altArrows{false};
  std::atomic<bool> ctrlArrows{false};
  std::atomic<bool> winArrows{false};
  std::atomic<bool> altNum{false};
  std::atomic<bool> ctrlNum{false};
  std::atomic<bool> winNum{false};
  std::atomic<bool> ignore{false};

  HotKeyFlags Load() const {
    return {altArrows.load(), ctrlArrows.load(), winArrows.load(), altNum.load(),
            ctrlNum.load(),   winNum.load(),     ignore.load()};
  }
};
SharedFlags& Flags();

// The window every report goes to: set by SetHook before the hook thread starts, cleared by
// UnHook after it has ended.
std::atomic<HWND>& NotifyWindow();

// A window handle as a message parameter: its 32 significant bits.
inline WPARAM HandleParam(HWND hwnd) {
  return static_cast<WPARAM>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(hwnd)));
}

// The hook thread's parts. Start and Stop run on that thread.
bool StartKeyboardHook(HMODULE module);
void StopKeyboardHook();
void StartWindowWatch(HWND notify);
void StopWindowWatch();
// Called by the keyboard hook just before it reports a hot-key: the window that is active
// then is reported first, and the watch looks at the windows the switch will hide and show.
void BeforeHotKeyReport();

}  // namespace ombrix::hooklib
