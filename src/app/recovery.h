// The crash-recovery file: the handles of every managed window, written before each switch and
// move, so that a start after an abnormal end can show windows left hidden.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_record.h"
#include "platform/types.h"

namespace ombrix {

class Program;

struct RecoveryState {
  // Whether the user has been told that no recovery file can be written.
  bool warningShown = false;
  // The desktops of the windows at an abnormal end, read at start, put back after the first
  // discovery.
  std::optional<DesktopRecord> desktopsAtCrash;
};

// No recovery file or desktop record of the program's own comes near this size.
constexpr uint64_t kLargestRecoveryFile = 4u << 20;

// The files that let a start after an abnormal end repair it live beside the program when the
// program folder is the user's own, and in "<user data folder>\Ombrix" otherwise, or when the
// program folder cannot be written: the paths of the file of that name, in that order.
std::vector<std::string> RecoveryPaths(Program& program, const std::string& name);
// Writes the file in the first place that takes it; false when none does.
bool WriteRecoveryData(Program& program, const std::string& name, const std::string& bytes);
// The file's contents from each place that has one written since the system last started, in
// the order of the places. Files older than that are deleted unread, and so are files larger
// than any the program writes (the user is told in a balloon).
std::vector<std::string> ReadRecoveryData(Program& program, const std::string& name);
void DeleteRecoveryData(Program& program, const std::string& name);

// The first place of the recovery file; empty when there is none.
std::string RecoveryFilePath(Program& program);

// Handles of desktops 1..9, applications in list order, windows in list order.
std::vector<Hwnd> RecoveryHandles(const Program& program);
// 32-bit little-endian integers, no header.
std::string EncodeRecoveryHandles(const std::vector<Hwnd>& handles);
std::vector<Hwnd> DecodeRecoveryHandles(const std::string& bytes);

// Writes beside the program, else in the user's data folder. When neither can be written the
// user is told once, in a balloon of the tray icon.
void WriteRecoveryFile(Program& program);
// Every window listed in either file; the files stay. A file written before the system last
// started is deleted unread: window handles are used again after a restart, and showing them
// could reveal windows that other programs keep hidden.
std::vector<Hwnd> ReadRecoveryHandles(Program& program);
bool RecoveryFileExists(Program& program);
void DeleteRecoveryFile(Program& program);

}  // namespace ombrix
