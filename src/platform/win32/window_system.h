// WindowSystem on user32.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  std::vector<Hwnd> TopLevelWindows() override;
  // An empty class name or caption matches any.
  Hwnd FindWindow(const std::string& className, const std::string& caption) override;
  bool IsWindow(Hwnd hwnd) override;
  // A cloaked window (a suspended store app, a window of another system virtual desktop)
  // counts as not visible: the user cannot see it.
  bool IsWindowVisible(Hwnd hwnd) override;
  std::string ClassName(Hwnd hwnd) override;
  std::string WindowText(Hwnd hwnd) override;
  Rect WindowRect(Hwnd hwnd) override;
  uint32_t Style(Hwnd hwnd) override;
  uint32_t ExStyle(Hwnd hwnd) override;
  Hwnd Owner(Hwnd hwnd) override;
  ThreadProcess WindowThreadProcess(Hwnd hwnd) override;
  // The system's answer: whether the window was visible before, or for a window of a hung
  // program, shown asynchronously, whether the request was queued.
  bool ShowWindow(Hwnd hwnd, int command) override;
  HideOutcome HideWindow(Hwnd hwnd) override;
  // Asked at most once a second per thread, so a switch over many windows of one program
  // asks once.
  bool Answers(Hwnd hwnd) override;
  bool PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  int32_t SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) override;
  uint32_t RegisterMessage(const std::string& name) override;
  bool SendMessageTimeout(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam,
                          uint32_t timeoutMs) override;
  Hwnd ForegroundWindow() override;
  bool SetForegroundWindow(Hwnd hwnd) override;
  bool SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                    uint32_t flags) override;
  bool IsIconic(Hwnd hwnd) override;
  void SwitchToThisWindow(Hwnd hwnd) override;
  IconHandle ClassIcon(Hwnd hwnd, bool smallIcon) override;
  bool AttachThreadInput(uint32_t fromThread, uint32_t toThread, bool attach) override;
  void SetFocus(Hwnd hwnd) override;
  // Fails quietly for windows this process may not change (those of elevated programs).
  bool SetOpacity(Hwnd hwnd, uint8_t alpha) override;
  // GetShellWindow's process and that of every window of the taskbar's class.
  std::vector<uint32_t> ShellProcessIds() override;

 private:
  struct Answer {
    uint32_t askedAt = 0;  // GetTickCount; 0 = never asked
    bool answers = false;
  };
  std::unordered_map<uint32_t, Answer> answers_;

  // What never changes in a window's life: its thread, process and class. Kept for windows
  // seen in the last enumeration of top-level windows, since asking the system again costs
  // a round trip to it on some systems (Wine) for every question.
  struct Lasting {
    ThreadProcess ids;
    std::string className;
    bool classRead = false;
  };
  Lasting* LastingOf(Hwnd hwnd);
  std::unordered_map<Hwnd, Lasting> lasting_;
};

}  // namespace ombrix::win32
