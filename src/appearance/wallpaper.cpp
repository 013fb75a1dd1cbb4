#include "appearance/wallpaper.h"

#include "app/program.h"
#include "app/settings.h"
#include "core/text.h"
#include "dialogs/registry.h"
#include "lang/messages.h"

namespace ombrix {

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kActiveDesktopKey =
    "Software\\Microsoft\\Internet Explorer\\Desktop\\General";
// From this platform-version code on, the shell's Active Desktop object sets the wallpaper.
constexpr int kActiveDesktopAlways = 9;

struct StyleValues {
  const char* wallpaperStyle;
  const char* tileWallpaper;
};

StyleValues ValuesOf(int32_t style) {
  switch (style) {
    case kCentered:
      return {"0", "0"};
    case kTiled:
      return {"0", "1"};
    case kStretched:
      return {"2", "0"};
    case kFit:
      return {"6", "0"};
    case kFill:
      return {"10", "0"};
    default:
      return {"", ""};
  }
}

cRegistry DesktopValue(Program& program, const char* key, const char* name) {
  cRegistry value(program);
  value.SectionKey = key;
  value.ValueKey = name;
  return value;
}

std::optional<std::string> ReadDesktopValue(Program& program, const char* key, const char* name) {
  const RegistryValue value = DesktopValue(program, key, name).Value();
  const auto* text = std::get_if<std::string>(&value);
  return text != nullptr ? std::optional(*text) : std::nullopt;
}

// The system reads these when the wallpaper is set; a refused write leaves its old style. A
// value that was missing goes again.
void WriteDesktopValue(Program& program, const char* name, const std::optional<std::string>& text) {
  cRegistry value = DesktopValue(program, kDesktopKey, name);
  (void)(text ? value.SetValue(*text) : value.DeleteValue());
}

bool SamePath(const std::string& a, const std::string& b) { return LowerText(a) == LowerText(b); }

// An image of the program's wallpaper store: one the program set.
bool IsInWallpaperStore(Program& program, const std::string& path) {
  const std::string store = WallpaperFolder(program);
  if (store.empty()) return false;
  const std::string head = store + "\\";
  return path.size() > head.size() && SamePath(path.substr(0, head.size()), head);
}

// The user's own wallpaper is recorded in the settings, so that it survives an abnormal end that
// leaves a desktop's image on the screen. The record exists when its image key does; a style
// value that was missing is a missing key.
constexpr const char* kUserWallpaperKey = "UserWallpaper";
constexpr const char* kUserWallpaperStyleKey = "UserWallpaperStyle";
constexpr const char* kUserTileWallpaperKey = "UserTileWallpaper";

std::optional<SystemWallpaper> ReadUserRecord(SettingsStore& store) {
  const std::optional<std::string> path = store.Read(kSettingsSection, kUserWallpaperKey);
  if (!path) return std::nullopt;
  return SystemWallpaper{*path, store.Read(kSettingsSection, kUserWallpaperStyleKey),
                         store.Read(kSettingsSection, kUserTileWallpaperKey)};
}

// Only an abnormal end reads the record again; a store that refuses it costs nothing before.
void RecordUser(SettingsStore& store, const SystemWallpaper& user) {
  (void)WriteSettings(store, {{kUserWallpaperKey, user.path},
                              {kUserWallpaperStyleKey, user.wallpaperStyle},
                              {kUserTileWallpaperKey, user.tileWallpaper}});
}

// The copy of the user's image in folder 0, made again while the image is there and kept as it
// is once the image is gone.
std::string KeepUserCopy(Program& program, const std::string& path) {
  if (path.empty()) return "";
  Files& files = program.platform.files;
  if (files.FileExists(path)) return KeepWallpaperCopy(program, path, 0);
  const std::string store = WallpaperFolder(program);
  const std::string copy = store + "\\0\\" + FileNameOf(path);
  return !store.empty() && files.FileExists(copy) ? copy : "";
}

// Writes the two style values and sets the image through the shell.
bool Apply(Program& program, const std::string& path, const std::optional<std::string>& style,
           const std::optional<std::string>& tile) {
  WallpaperState& state = program.wallpaper;
  state.bSettingWallpaper = true;
  WriteDesktopValue(program, "WallpaperStyle", style);
  WriteDesktopValue(program, "TileWallpaper", tile);
  Shell& shell = program.platform.shell;
  const bool applied = IsActiveDesktopOn(program) ? shell.SetActiveDesktopWallpaper(path)
                                                  : shell.SetSystemWallpaper(path);
  if (applied) state.shown = path;
  state.bSettingWallpaper = false;
  return applied;
}

}  // namespace

std::string WallpaperFolder(Program& program) {
  const std::string base = program.platform.files.UserDataFolder();
  return base.empty() ? "" : base + "\\Ombrix";
}

bool IsBitmapFile(const std::string& path) {
  const std::string name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string extension = LowerText(name.substr(dot + 1));
  return extension == "bmp" || extension == "rle" || extension == "dib";
}

bool HasActiveDesktop(Program& program) {
  return program.platform.shell.ActiveDesktopOption().has_value();
}

// From the version on which the object is always used, a system without the object at all
// (Wine has none) sets its wallpaper with the parameter call instead.
bool IsActiveDesktopOn(Program& program) {
  const std::optional<bool> option = program.platform.shell.ActiveDesktopOption();
  if (program.platform.system.PlatformVersionCode() >= kActiveDesktopAlways) {
    return option.has_value();
  }
  return option.value_or(false);
}

void EnableActiveDesktop(Program& program) { program.platform.shell.EnableActiveDesktop(); }

// The style values are written even when the system then refuses the image: from here on
// the user's own are to be put back.
bool SetWallpaper(Program& program, const std::string& path, int32_t style) {
  program.wallpaper.userWallpaperReplaced = true;
  const StyleValues values = ValuesOf(style);
  return Apply(program, path, values.wallpaperStyle, values.tileWallpaper);
}

bool RestoreUserWallpaper(Program& program) {
  WallpaperState& state = program.wallpaper;
  if (!state.userWallpaperReplaced) return true;
  const SystemWallpaper& user = state.user;
  const bool gone = !user.path.empty() && !program.platform.files.FileExists(user.path) &&
                    !state.sOrigWallPaper.empty();
  if (!Apply(program, gone ? state.sOrigWallPaper : user.path, user.wallpaperStyle,
             user.tileWallpaper)) {
    return false;
  }
  state.userWallpaperReplaced = false;
  return true;
}

SystemWallpaper ReadSystemWallpaper(Program& program) {
  const bool activeKey = IsActiveDesktopOn(program) &&
                         program.platform.system.PlatformVersionCode() < kActiveDesktopAlways;
  const char* key = activeKey ? kActiveDesktopKey : kDesktopKey;
  return {ReadDesktopValue(program, key, "Wallpaper").value_or(""),
          ReadDesktopValue(program, key, "WallpaperStyle"),
          ReadDesktopValue(program, key, "TileWallpaper")};
}

std::optional<StagedWallpaper> StageWallpaperCopy(Program& program, const std::string& path,
                                                  int16_t desk) {
  Files& files = program.platform.files;
  const std::string store = WallpaperFolder(program);
  if (store.empty() || TrimBlanks(path).empty()) return std::nullopt;
  const std::string number = std::to_string(desk);
  StagedWallpaper wallpaper;
  wallpaper.folder = store + "\\" + number;
  if (!files.FolderExists(wallpaper.folder) &&
      !(files.CreateFolder(store) && files.CreateFolder(wallpaper.folder))) {
    return std::nullopt;
  }
  wallpaper.copy = wallpaper.folder + "\\" + FileNameOf(path);
  if (SamePath(wallpaper.copy, path)) return wallpaper;
  wallpaper.staged = store + "\\" + number + ".new";
  if (!files.CopyFileTo(path, wallpaper.staged)) {
    files.DeleteFile(wallpaper.staged);
    return std::nullopt;
  }
  return wallpaper;
}

std::string CommitWallpaperCopy(Program& program, const StagedWallpaper& wallpaper) {
  if (wallpaper.staged.empty()) return wallpaper.copy;
  Files& files = program.platform.files;
  const bool moved = files.DeleteFilesIn(wallpaper.folder) &&
                     files.CopyFileTo(wallpaper.staged, wallpaper.copy);
  files.DeleteFile(wallpaper.staged);
  return moved ? wallpaper.copy : "";
}

void DiscardWallpaperCopy(Program& program, const StagedWallpaper& wallpaper) {
  if (!wallpaper.staged.empty()) program.platform.files.DeleteFile(wallpaper.staged);
}

// The old copy goes only once the new one is made, so a failed copy loses nothing.
std::string KeepWallpaperCopy(Program& program, const std::string& path, int16_t desk) {
  if (TrimBlanks(path).empty()) {
    const std::string store = WallpaperFolder(program);
    const std::string folder = store + "\\" + std::to_string(desk);
    Files& files = program.platform.files;
    if (!store.empty() && files.FolderExists(folder)) files.DeleteFilesIn(folder);
    return "";
  }
  const std::optional<StagedWallpaper> staged = StageWallpaperCopy(program, path, desk);
  return staged ? CommitWallpaperCopy(program, *staged) : "";
}

void CaptureStartWallpaper(Program& program) {
  WallpaperState& state = program.wallpaper;
  SettingsStore& store = program.platform.store;
  const SystemWallpaper system = ReadSystemWallpaper(program);
  const std::optional<SystemWallpaper> recorded = ReadUserRecord(store);
  state.shown = system.path;
  state.userWallpaperReplaced = recorded && IsInWallpaperStore(program, system.path);
  state.user = state.userWallpaperReplaced ? *recorded : system;
  if (recorded != state.user) RecordUser(store, state.user);
  state.sOrigWallPaper = KeepUserCopy(program, state.user.path);
}

void ApplyStartWallpapers(Program& program) {
  if (!IsActiveDesktopOn(program)) {
    for (int d = 1; d <= kDesktopCount; ++d) {
      const std::string& image = program.desk.Desk(d).sWallPaper;
      if (image.empty() || IsBitmapFile(image)) continue;
      if (HasActiveDesktop(program) &&
          AskYesNo(program, GetMsg(program, msgs::kEnableActiveDesktopSome))) {
        EnableActiveDesktop(program);
      }
      break;
    }
  }
  const clsDesktop& first = program.desk.Desk(program.desk.iCurDesk);
  if (first.sWallPaper.empty()) {
    RestoreUserWallpaper(program);
  } else {
    SetWallpaper(program, first.sWallPaper, first.iWallPaperType);
  }
}

void ApplySwitchWallpaper(Program& program, int16_t left, int16_t entered) {
  const clsDesktop& from = program.desk.Desk(left);
  const clsDesktop& to = program.desk.Desk(entered);
  if (to.sWallPaper == from.sWallPaper && to.iWallPaperType == from.iWallPaperType) return;
  if (to.sWallPaper.empty()) {
    RestoreUserWallpaper(program);
  } else {
    SetWallpaper(program, to.sWallPaper, to.iWallPaperType);
  }
}

// Any setting change may be a new wallpaper the user chose. While a desktop shows its own
// image, the system reports that image: it is no new wallpaper, and the user's own must survive
// it. Nor is any other image of the store the user's.
void OnSystemSettingChanged(Program& program) {
  WallpaperState& state = program.wallpaper;
  if (state.bSettingWallpaper) return;
  const SystemWallpaper system = ReadSystemWallpaper(program);
  SystemWallpaper user = state.user;
  if (!SamePath(system.path, state.shown)) {
    state.shown = system.path;
    if (IsInWallpaperStore(program, system.path)) {
      state.userWallpaperReplaced = true;
    } else {
      user = system;
      state.userWallpaperReplaced = false;
      state.sOrigWallPaper = KeepUserCopy(program, system.path);
    }
  } else if (!state.userWallpaperReplaced) {
    user.wallpaperStyle = system.wallpaperStyle;  // new style values for the user's own image
    user.tileWallpaper = system.tileWallpaper;
  }
  if (user != state.user) {
    state.user = user;
    RecordUser(program.platform.store, user);
  }
  program.platform.ui.StartTimer(kWallpaperRestoreTimer, kWallpaperRestoreMs);
}

void OnWallpaperRestoreTimer(Program& program) {
  program.platform.ui.StopTimer(kWallpaperRestoreTimer);
  const clsDesktop& current = program.desk.Desk(program.desk.iCurDesk);
  if (!current.sWallPaper.empty())
    SetWallpaper(program, current.sWallPaper, current.iWallPaperType);
}

}  // namespace ombrix
