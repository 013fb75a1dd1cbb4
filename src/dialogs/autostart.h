// The entry that makes the system start the program at log-on: a value named after the program
// under the "Run" key (every log-on) or "RunOnce" (the next log-on only), of the current user
// or of all users.
#pragma once

#include <cstdint>
#include <string>

#include "dialogs/registry.h"

namespace ombrix {

class Program;

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

namespace autostart {
constexpr int16_t kNone = 0;
constexpr int16_t kNextLogOn = 1;
constexpr int16_t kEveryLogOn = 2;
}  // namespace autostart

// The program file's full path: the folder, one backslash, the file name, and ".exe" unless
// the name already ends in it (in any case).
std::string ExecutablePath(const std::string& folder, const std::string& fileName);

// 2 when the entry is under Run, else 1 when it is under RunOnce, else 0. Any data counts,
// an unquoted path included, except the text "?".
int16_t GetAutoStart(Program& program, bool bAllUsers);
// 0 removes the entry from both keys, 1 moves it to RunOnce, 2 to Run. The entry is the
// program's path in double quotes, so that a path with blanks cannot start another program
// named like its first part. Failures to remove are ignored; a failed write is the result.
RegistryResult SetAutoStart(Program& program, bool bAllUsers, int16_t mode);

// After the program settings dialog has closed: the all-users entries go (when the rights
// allow), the user's own entry follows bAutoStart. When the entry cannot be made to follow, the
// user is told and bAutoStart shows what the registry holds.
void ApplyAutoStart(Program& program);

}  // namespace ombrix
