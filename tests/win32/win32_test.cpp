// The Windows side where the simulation cannot stand in for it, run under Wine.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "../contract/find_window_contract.h"
#include "platform/win32/form_host.h"
#include "platform/win32/handles.h"
#include "platform/win32/win.h"
#include "platform/win32/window_system.h"
#include "ui/form.h"

// Every block of operator new carries a mark; operator delete counts a block that is not live
// instead of freeing it again. While quarantine is on, freed blocks stay allocated, so a second
// delete of the same block still finds its mark.
namespace {
constexpr uint64_t kLive = 0x4C495645424C4F43;
constexpr uint64_t kFreed = 0x4652454544424C4B;
struct alignas(16) Mark {
  uint64_t state;
};
int badDeletes = 0;
bool quarantine = false;
}  // namespace

void* operator new(std::size_t size) {
  auto* mark = static_cast<Mark*>(std::malloc(sizeof(Mark) + size));
  if (mark == nullptr) throw std::bad_alloc();
  mark->state = kLive;
  return mark + 1;
}

namespace {
void Release(void* block) {
  if (block == nullptr) return;
  Mark* mark = static_cast<Mark*>(block) - 1;
  if (mark->state != kLive) {
    ++badDeletes;
    return;
  }
  mark->state = kFreed;
  if (!quarantine) std::free(mark);
}
}  // namespace

void operator delete(void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }

namespace ombrix::win32 {
namespace {

WNDPROC formProc = nullptr;

// The form window procedure, except that the creation fails after WM_NCCREATE.
LRESULT CALLBACK FailCreation(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return -1;
  return CallWindowProcW(formProc, hwnd, message, wParam, lParam);
}

TEST(FormHost, FormWindowWhoseCreationFailsLateIsFreedOnce) {
  Win32FormHost host(GetModuleHandleW(nullptr));
  Form registers;
  registers.Caption = "First";
  ASSERT_NE(host.Load(registers), 0);
  HWND first = ToHwnd(registers.hwnd);
  formProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(first, GCLP_WNDPROC));
  SetClassLongPtrW(first, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FailCreation));

  Form refused;
  refused.Caption = "Refused";
  quarantine = true;
  const Hwnd loaded = host.Load(refused);
  quarantine = false;
  SetClassLongPtrW(first, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProc));

  EXPECT_EQ(loaded, 0);
  EXPECT_EQ(badDeletes, 0);
  EXPECT_EQ(host.windows.size(), 1u);
  host.Unload(registers);
  EXPECT_TRUE(host.windows.empty());
}

TEST(WindowSystem, FindWindowKeepsTheContract) {
  const WNDCLASSW windowClass{.lpfnWndProc = DefWindowProcW,
                              .hInstance = GetModuleHandleW(nullptr),
                              .lpszClassName = L"OmbrixFindTest"};
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND hwnd = CreateWindowExW(0, L"OmbrixFindTest", L"Find me", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  Win32WindowSystem windows;
  ExpectFindWindowContract(windows, FromHwnd(hwnd));
  DestroyWindow(hwnd);
}

}  // namespace
}  // namespace ombrix::win32
