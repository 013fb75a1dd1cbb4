// Notices of windows that come on screen. A window that shows up on a hidden desktop is hidden
// again at once; everything else of a burst of notices is handled by one rule pass, run a moment
// after the first notice. Windows the program shows itself come back from the hook library like
// new ones and are recognised here.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "platform/types.h"

namespace ombrix {

class Program;

// Main-window timer that runs the pending rule pass.
constexpr int kRulePassTimer = 1;
// How long notices gather before their rule pass runs.
constexpr uint32_t kRulePassDelayMs = 60;
// How long a window the program has shown may still come back as a notice.
constexpr uint32_t kShownByProgramMs = 5000;

struct WindowNotices {
  // Windows the program has shown, with the tick count of the moment.
  std::unordered_map<Hwnd, uint32_t> shownByProgram;
  bool rulePassPending = false;
};

// The program shows or hides a managed window of its own accord.
void NoteShownByProgram(Program& program, Hwnd hwnd);
void NoteHiddenByProgram(Program& program, Hwnd hwnd);

// Message 1034: a window came on screen.
void OnWindowCreated(Program& program, Hwnd hwnd);
// Message 1035: a window is gone.
void OnWindowDestroyed(Program& program, Hwnd hwnd);

// The rule-pass timer fell due. A pass that the busy flags hold up waits for the next tick.
void OnRulePassTimer(Program& program);
// Runs a pending rule pass now, without letting other messages through; a switch calls it
// before it leaves the desktop the pass belongs to.
void FlushPendingRulePass(Program& program);

}  // namespace ombrix
