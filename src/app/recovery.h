// The crash-recovery file: the handles of every managed window, written before each switch and
// move, so that a start after an abnormal end can show windows left hidden.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class Program;

// The file beside the program.
std::string RecoveryFilePath(Program& program);
// The per-user fallback, for a program folder that cannot be written.
std::string UserRecoveryFilePath(Program& program);

// Handles of desktops 1..9, applications in list order, windows in list order.
std::vector<Hwnd> RecoveryHandles(const Program& program);
// 32-bit little-endian integers, no header.
std::string EncodeRecoveryHandles(const std::vector<Hwnd>& handles);
std::vector<Hwnd> DecodeRecoveryHandles(const std::string& bytes);

// Writes beside the program, else in the user's data folder. When neither can be written the
// user is told once, in a balloon of the tray icon.
void WriteRecoveryFile(Program& program);
// Shows every window listed in either file; the files stay. A file written before the system
// last started is deleted unread: window handles are used again after a restart, and showing
// them could reveal windows that other programs keep hidden.
void ReadRecoveryFile(Program& program);
bool RecoveryFileExists(Program& program);
void DeleteRecoveryFile(Program& program);

}  // namespace ombrix
