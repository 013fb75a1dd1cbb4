// The thread's message loop and the one-shot pump of nested loops (DoEvents).
#pragma once

namespace ombrix::win32 {

// Processes the pending messages and returns when the queue is empty. A WM_QUIT met here is
// posted again so the outer loop still ends.
void PumpPendingMessages();
// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();

}  // namespace ombrix::win32
