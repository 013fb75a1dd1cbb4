// The hot-key configuration passed to the hook library.
#pragma once

namespace ombrix {

class Program;

// Virtual-key state: true while the key is held.
bool IsKeyDown(Program& program, int vk);
// Tells the library which key groups to report, and to report none while hot-keys are
// disabled from the menu or no group is on.
void ApplyHotKeys(Program& program);
// The "Disable Hot-Keys" menu item was clicked.
void ToggleDisableHotKeys(Program& program);

}  // namespace ombrix
