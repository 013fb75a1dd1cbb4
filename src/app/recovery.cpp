#include "app/recovery.h"

#include "app/program.h"
#include "core/text.h"
#include "lang/messages.h"
#include "ui/tray_icon.h"

namespace ombrix {

namespace {

constexpr const char* kFileName = "Ombrix.restore";
constexpr int kWarningIcon = 2;
constexpr int kBalloonMs = 30000;

}  // namespace

std::vector<std::string> RecoveryPaths(Program& program, const std::string& name) {
  std::vector<std::string> paths;
  const std::string programFolder = program.platform.system.ProgramFolder();
  // A folder other users share (an installation for every user) would mix their files, and
  // one user's exit would delete another's.
  if (program.platform.files.IsUsersOwnFolder(programFolder)) {
    paths.push_back(WithBackslash(programFolder) + name);
  }
  const std::string dataFolder = program.platform.files.UserDataFolder();
  if (!dataFolder.empty()) paths.push_back(WithBackslash(dataFolder) + "Ombrix\\" + name);
  return paths;
}

std::string RecoveryFilePath(Program& program) {
  const std::vector<std::string> paths = RecoveryPaths(program, kFileName);
  return paths.empty() ? "" : paths[0];
}

bool WriteRecoveryData(Program& program, const std::string& name, const std::string& bytes) {
  Files& files = program.platform.files;
  const std::vector<std::string> paths = RecoveryPaths(program, name);
  for (size_t i = 0; i < paths.size(); ++i) {
    // The user data folder's own folder is made on first use.
    if (!files.ReplaceFile(paths[i], bytes) &&
        !(files.CreateFolder(paths[i].substr(0, paths[i].rfind('\\'))) &&
          files.ReplaceFile(paths[i], bytes))) {
      continue;
    }
    // A copy in a later place would tell of an earlier state after a crash.
    for (size_t later = i + 1; later < paths.size(); ++later) files.DeleteFile(paths[later]);
    return true;
  }
  return false;
}

std::vector<std::string> ReadRecoveryData(Program& program, const std::string& name) {
  Files& files = program.platform.files;
  const int64_t systemStart = program.platform.system.StartTime();
  std::vector<std::string> found;
  for (const std::string& path : RecoveryPaths(program, name)) {
    if (!files.FileExists(path)) continue;
    const auto written = files.ModifiedTime(path);
    const auto size = files.FileSize(path);
    const bool tooLarge = size && *size > kLargestRecoveryFile;
    if ((written && *written < systemStart) || tooLarge) {
      files.DeleteFile(path);
      // No file of its own is that large; telling once is enough, since it is gone now.
      if (tooLarge) {
        ShowBalloon(
            program,
            GetMsgFmt(program, msgs::kBadRecoveryFile.id, msgs::kBadRecoveryFile.text, path),
            GetMsg(program, msgs::kAttention), kWarningIcon);
      }
      continue;
    }
    if (auto bytes = files.ReadFile(path, kLargestRecoveryFile)) found.push_back(std::move(*bytes));
  }
  return found;
}

void DeleteRecoveryData(Program& program, const std::string& name) {
  for (const std::string& path : RecoveryPaths(program, name))
    program.platform.files.DeleteFile(path);
}

std::vector<Hwnd> RecoveryHandles(const Program& program) {
  std::vector<Hwnd> handles;
  for (const auto& desktop : program.desk.desktops) {
    for (const auto& app : desktop->opi) {
      for (const auto& win : app->oWin) handles.push_back(win->lHwnd);
    }
  }
  return handles;
}

std::string EncodeRecoveryHandles(const std::vector<Hwnd>& handles) {
  std::string bytes;
  bytes.reserve(handles.size() * 4);
  for (Hwnd h : handles) {
    const auto v = static_cast<uint32_t>(h);
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((v >> shift) & 0xFF);
  }
  return bytes;
}

std::vector<Hwnd> DecodeRecoveryHandles(const std::string& bytes) {
  std::vector<Hwnd> handles;
  for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
    uint32_t v = 0;
    for (int b = 3; b >= 0; --b) v = (v << 8) | static_cast<unsigned char>(bytes[i + b]);
    handles.push_back(static_cast<Hwnd>(v));
  }
  return handles;
}

void WriteRecoveryFile(Program& program) {
  const std::string bytes = EncodeRecoveryHandles(RecoveryHandles(program));
  if (WriteRecoveryData(program, kFileName, bytes) || program.recovery.warningShown) return;
  // Without the icon (it may still be on its way) the next write tries again.
  program.recovery.warningShown =
      program.platform.tray.Balloon(GetMsg(program, msgs::kNoRecoveryFile),
                                    GetMsg(program, msgs::kAttention), kWarningIcon, kBalloonMs);
}

// Both places: a crash may have come between a write and the removal of the other copy.
std::vector<Hwnd> ReadRecoveryHandles(Program& program) {
  std::vector<Hwnd> handles;
  for (const std::string& bytes : ReadRecoveryData(program, kFileName)) {
    for (Hwnd h : DecodeRecoveryHandles(bytes)) handles.push_back(h);
  }
  return handles;
}

bool RecoveryFileExists(Program& program) {
  for (const std::string& path : RecoveryPaths(program, kFileName)) {
    if (program.platform.files.FileExists(path)) return true;
  }
  return false;
}

void DeleteRecoveryFile(Program& program) { DeleteRecoveryData(program, kFileName); }

}  // namespace ombrix
