// What the program is in the middle of. There is one thread, but nested message loops (dialogs,
// message boxes, the pop-up menu, the rule pass's pump, a rule waiting on another program's
// window) let events through while an operation runs. The program never queues events: each
// entry point asks here whether it may act now and drops, or refuses, what arrives while it may
// not. States are entered only through scoped guards, so no early return leaves one set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace ombrix {

enum class Busy : uint8_t {
  Switching,   // a desktop switch runs
  HotKey,      // a hot-key, or another program's go-to or move request, is being carried out
  Unloading,   // shut-down runs
  MessageBox,  // a message box is up
  TrayMenu,    // a tray menu is up
  RulePass,    // the rules act on the current desktop (and may wait on other programs' windows)
};

// What an entry point does with user input (a hot-key, a tray click) that arrives now.
enum class InputAnswer {
  Run,           // act on it
  BringForward,  // a dialog or message box waits for the user: bring it to the front instead
  Drop,          // the program is busy: forget it
};

class BusyState {
 public:
  // Holds one busy state for as long as it lives.
  class [[nodiscard]] Guard {
   public:
    Guard(BusyState& state, Busy what) : state_(&state), what_(what) { state_->Count(what_) += 1; }
    ~Guard() {
      if (state_ != nullptr) state_->Count(what_) -= 1;
    }
    Guard(Guard&& other) noexcept : state_(other.state_), what_(other.what_) {
      other.state_ = nullptr;
    }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
    Guard& operator=(Guard&&) = delete;

   private:
    BusyState* state_;
    Busy what_;
  };

  // Marks the dialog's window as the open dialog for as long as it lives; the dialog it opened
  // from (a password prompt of a dialog's Ok) is the open one again afterwards.
  class [[nodiscard]] DialogGuard {
   public:
    DialogGuard(BusyState& state, Hwnd dialog) : state_(state), outer_(state.dialog_) {
      state_.dialog_ = dialog;
    }
    ~DialogGuard() { state_.dialog_ = outer_; }
    DialogGuard(const DialogGuard&) = delete;
    DialogGuard& operator=(const DialogGuard&) = delete;
    // The dialog this one was opened from; 0 when none.
    Hwnd Outer() const { return outer_; }

   private:
    BusyState& state_;
    Hwnd outer_;
  };

  Guard Enter(Busy what) { return Guard(*this, what); }
  DialogGuard EnterDialog(Hwnd dialog) { return DialogGuard(*this, dialog); }

  // The window of the dialog that is up; 0 when none.
  Hwnd OpenDialog() const { return dialog_; }

  // A hot-key: while a dialog or message box waits for the user it only brings that forward;
  // while an operation runs it is dropped.
  InputAnswer HotKeyAnswer() const;
  // A click or key on the tray icon: as a hot-key, and also dropped while a tray menu is up.
  InputAnswer TrayAnswer() const;
  // Whether a switch may start: never inside another switch or shut-down.
  bool MaySwitch() const { return !Is(Busy::Switching) && !Is(Busy::Unloading); }
  // Whether a notice of the hook library (created, destroyed, activated) may be taken.
  bool MayTakeNotice() const { return !OperationRuns(); }
  // Whether a rule pass may run.
  bool MayRunRulePass() const { return !OperationRuns(); }
  // Whether a switch about to start may first run the rule pass still waiting for the desktop
  // it leaves; the hot-key or request that asked for the switch holds the program then.
  bool MayFlushRulePass() const {
    return !Is(Busy::Switching) && !Is(Busy::Unloading) && !Is(Busy::RulePass);
  }
  // Whether another program's request may be served: 0 when it may, otherwise the reply that
  // says why not (the user is busy with the program, or the program itself is).
  int32_t RequestRefusal() const;
  // Whether an exit the user asked for may shut the program down now. The end of the session
  // does not ask: it always proceeds.
  bool MayShutDown() const { return !UserIsAnswering() && !OperationRuns(); }

 private:
  static constexpr size_t kKinds = static_cast<size_t>(Busy::RulePass) + 1;

  bool Is(Busy what) const { return counts_[static_cast<size_t>(what)] > 0; }
  int& Count(Busy what) { return counts_[static_cast<size_t>(what)]; }
  bool UserIsAnswering() const { return dialog_ != 0 || Is(Busy::MessageBox); }
  // A switch, a hot-key, shut-down or the rule pass is under way.
  bool OperationRuns() const {
    return Is(Busy::Switching) || Is(Busy::HotKey) || Is(Busy::Unloading) || Is(Busy::RulePass);
  }

  std::array<int, kKinds> counts_{};
  Hwnd dialog_ = 0;
};

}  // namespace ombrix
