#include "platform/win32/hook_library.h"

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/system.h"

namespace ombrix::win32 {

namespace {

constexpr const wchar_t* kLibraryName = L"OmbrixLib.dll";

// The plain export name, or the decorated one a 32-bit stdcall build exports.
template <typename Function>
bool Resolve(HMODULE library, const char* name, const char* decorated, Function& function) {
  FARPROC address = GetProcAddress(library, name);
  if (address == nullptr) address = GetProcAddress(library, decorated);
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return function != nullptr;
}

}  // namespace

Win32HookLibrary::~Win32HookLibrary() {
  if (library_ != nullptr) FreeLibrary(library_);
}

// Loaded by full path: a library of that name elsewhere on the search path is never used.
bool Win32HookLibrary::Load() {
  if (library_ != nullptr) return true;
  std::wstring path = ProgramFolderWide();
  if (path.empty()) return false;
  if (path.back() != L'\\') path += L'\\';
  path += kLibraryName;
  HMODULE library = LoadLibraryW(path.c_str());
  if (library == nullptr) return false;
  const bool complete = Resolve(library, "SetHook", "_SetHook@8", setHook_) &&
                        Resolve(library, "UnHook", "_UnHook@0", unHook_) &&
                        Resolve(library, "TakeAltArrows", "_TakeAltArrows@4", takeAltArrows_) &&
                        Resolve(library, "TakeCtrlArrows", "_TakeCtrlArrows@4", takeCtrlArrows_) &&
                        Resolve(library, "TakeWinArrows", "_TakeWinArrows@4", takeWinArrows_) &&
                        Resolve(library, "TakeAltNum", "_TakeAltNum@4", takeAltNum_) &&
                        Resolve(library, "TakeCtrlNum", "_TakeCtrlNum@4", takeCtrlNum_) &&
                        Resolve(library, "TakeWinNum", "_TakeWinNum@4", takeWinNum_) &&
                        Resolve(library, "IgnoreHook", "_IgnoreHook@4", ignoreHook_);
  // The function pointers left behind are never called: every method checks library_.
  if (!complete) {
    FreeLibrary(library);
    return false;
  }
  library_ = library;
  return true;
}

bool Win32HookLibrary::SetHook(Hwnd notify, int32_t reserved) {
  return library_ != nullptr && setHook_(ToHwnd(notify), reserved) != 0;
}

void Win32HookLibrary::UnHook() {
  if (library_ != nullptr) unHook_();
}

void Win32HookLibrary::TakeAltArrows(int32_t on) {
  if (library_ != nullptr) takeAltArrows_(on);
}

void Win32HookLibrary::TakeCtrlArrows(int32_t on) {
  if (library_ != nullptr) takeCtrlArrows_(on);
}

void Win32HookLibrary::TakeWinArrows(int32_t on) {
  if (library_ != nullptr) takeWinArrows_(on);
}

void Win32HookLibrary::TakeAltNum(int32_t on) {
  if (library_ != nullptr) takeAltNum_(on);
}

void Win32HookLibrary::TakeCtrlNum(int32_t on) {
  if (library_ != nullptr) takeCtrlNum_(on);
}

void Win32HookLibrary::TakeWinNum(int32_t on) {
  if (library_ != nullptr) takeWinNum_(on);
}

void Win32HookLibrary::IgnoreHook(int32_t on) {
  if (library_ != nullptr) ignoreHook_(on);
}

}  // namespace ombrix::win32
