// HookLibrary on OmbrixLib.dll, loaded from the program's own folder.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

class Win32HookLibrary : public HookLibrary {
 public:
  Win32HookLibrary() = default;
  ~Win32HookLibrary() override;
  Win32HookLibrary(const Win32HookLibrary&) = delete;
  Win32HookLibrary& operator=(const Win32HookLibrary&) = delete;

  // False, with nothing kept loaded, when the file or any of its nine exports is missing.
  bool Load() override;
  // These do nothing until Load has succeeded.
  bool SetHook(Hwnd notify, int32_t reserved) override;
  void UnHook() override;
  void TakeAltArrows(int32_t on) override;
  void TakeCtrlArrows(int32_t on) override;
  void TakeWinArrows(int32_t on) override;
  void TakeAltNum(int32_t on) override;
  void TakeCtrlNum(int32_t on) override;
  void TakeWinNum(int32_t on) override;
  void IgnoreHook(int32_t on) override;

 private:
  using SetHookFn = int(WINAPI*)(HWND, int);
  using UnHookFn = int(WINAPI*)();
  using FlagFn = int(WINAPI*)(int);

  HMODULE library_ = nullptr;
  SetHookFn setHook_ = nullptr;
  UnHookFn unHook_ = nullptr;
  FlagFn takeAltArrows_ = nullptr;
  FlagFn takeCtrlArrows_ = nullptr;
  FlagFn takeWinArrows_ = nullptr;
  FlagFn takeAltNum_ = nullptr;
  FlagFn takeCtrlNum_ = nullptr;
  FlagFn takeWinNum_ = nullptr;
  FlagFn ignoreHook_ = nullptr;
};

}  // namespace ombrix::win32
