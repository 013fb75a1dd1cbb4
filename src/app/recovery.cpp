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

std::string RecoveryFilePath(Program& program) {
  return WithBackslash(program.platform.system.ProgramFolder()) + kFileName;
}

std::string UserRecoveryFilePath(Program& program) {
  const std::string folder = program.platform.files.UserDataFolder();
  if (folder.empty()) return "";
  return WithBackslash(folder) + "Ombrix\\" + kFileName;
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

namespace {

bool WriteEitherRecoveryFile(Program& program, const std::string& bytes) {
  Files& files = program.platform.files;
  const std::string fallback = UserRecoveryFilePath(program);
  if (files.ReplaceFile(RecoveryFilePath(program), bytes)) {
    // An older fallback copy would show stale handles after a crash.
    if (!fallback.empty()) files.DeleteFile(fallback);
    return true;
  }
  if (fallback.empty()) return false;
  files.CreateFolder(fallback.substr(0, fallback.rfind('\\')));
  return files.ReplaceFile(fallback, bytes);
}

}  // namespace

void WriteRecoveryFile(Program& program) {
  const std::string bytes = EncodeRecoveryHandles(RecoveryHandles(program));
  if (WriteEitherRecoveryFile(program, bytes) || program.bRecoveryWarningShown) return;
  // Without the icon (it may still be on its way) the next write tries again.
  program.bRecoveryWarningShown = program.platform.tray.Balloon(
      GetMsg(program, msgs::kNoRecoveryFile), GetMsg(program, msgs::kAttention), kWarningIcon,
      kBalloonMs);
}

void ReadRecoveryFile(Program& program) {
  Files& files = program.platform.files;
  const int64_t systemStart = program.platform.system.StartTime();
  for (const std::string& path : {RecoveryFilePath(program), UserRecoveryFilePath(program)}) {
    if (path.empty() || !files.FileExists(path)) continue;
    const auto written = files.ModifiedTime(path);
    if (written && *written < systemStart) {
      files.DeleteFile(path);
      continue;
    }
    const auto bytes = files.ReadFile(path);
    if (!bytes) continue;
    for (Hwnd h : DecodeRecoveryHandles(*bytes)) program.platform.windows.ShowWindow(h, sw::kShow);
  }
}

bool RecoveryFileExists(Program& program) {
  const std::string fallback = UserRecoveryFilePath(program);
  return program.platform.files.FileExists(RecoveryFilePath(program)) ||
         (!fallback.empty() && program.platform.files.FileExists(fallback));
}

void DeleteRecoveryFile(Program& program) {
  program.platform.files.DeleteFile(RecoveryFilePath(program));
  const std::string fallback = UserRecoveryFilePath(program);
  if (!fallback.empty()) program.platform.files.DeleteFile(fallback);
}

}  // namespace ombrix
