#include "app/recovery.h"

#include "app/program.h"
#include "core/text.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr const char* kFileName = "Ombrix.restore";
constexpr int kWarningIcon = 2;
constexpr int kBalloonMs = 30000;

}  // namespace

std::vector<std::string> RecoveryPaths(Program& program, const std::string& name) {
  const std::string folder = program.platform.files.UserDataFolder();
  return {WithBackslash(program.platform.system.ProgramFolder()) + name,
          folder.empty() ? "" : WithBackslash(folder) + "Ombrix\\" + name};
}

std::string RecoveryFilePath(Program& program) { return RecoveryPaths(program, kFileName)[0]; }

std::string UserRecoveryFilePath(Program& program) { return RecoveryPaths(program, kFileName)[1]; }

bool WriteRecoveryData(Program& program, const std::string& name, const std::string& bytes) {
  Files& files = program.platform.files;
  const std::vector<std::string> paths = RecoveryPaths(program, name);
  const std::string& fallback = paths[1];
  if (files.ReplaceFile(paths[0], bytes)) {
    // An older fallback copy would tell of an earlier state after a crash.
    if (!fallback.empty()) files.DeleteFile(fallback);
    return true;
  }
  if (fallback.empty()) return false;
  files.CreateFolder(fallback.substr(0, fallback.rfind('\\')));
  return files.ReplaceFile(fallback, bytes);
}

std::vector<std::string> ReadRecoveryData(Program& program, const std::string& name) {
  Files& files = program.platform.files;
  const int64_t systemStart = program.platform.system.StartTime();
  std::vector<std::string> found;
  for (const std::string& path : RecoveryPaths(program, name)) {
    if (path.empty() || !files.FileExists(path)) continue;
    const auto written = files.ModifiedTime(path);
    if (written && *written < systemStart) {
      files.DeleteFile(path);
      continue;
    }
    if (auto bytes = files.ReadFile(path)) found.push_back(std::move(*bytes));
  }
  return found;
}

void DeleteRecoveryData(Program& program, const std::string& name) {
  for (const std::string& path : RecoveryPaths(program, name)) {
    if (!path.empty()) program.platform.files.DeleteFile(path);
  }
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
    if (!path.empty() && program.platform.files.FileExists(path)) return true;
  }
  return false;
}

void DeleteRecoveryFile(Program& program) { DeleteRecoveryData(program, kFileName); }

}  // namespace ombrix
