#include "appearance/wallpaper.h"

#include "app/program.h"
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
  value.Default = std::string();
  return value;
}

std::string ReadDesktopValue(Program& program, const char* key, const char* name) {
  const RegistryValue value = DesktopValue(program, key, name).Value();
  const auto* text = std::get_if<std::string>(&value);
  return text != nullptr ? *text : "";
}

// The system reads these when the wallpaper is set; a refused write leaves its old style.
void WriteDesktopValue(Program& program, const char* name, const char* text) {
  (void)DesktopValue(program, kDesktopKey, name).SetValue(std::string(text));
}

bool SamePath(const std::string& a, const std::string& b) { return LowerText(a) == LowerText(b); }

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

bool SetWallpaper(Program& program, const std::string& path, int32_t style) {
  WallpaperState& state = program.wallpaper;
  state.bSettingWallpaper = true;
  const StyleValues values = ValuesOf(style);
  WriteDesktopValue(program, "WallpaperStyle", values.wallpaperStyle);
  WriteDesktopValue(program, "TileWallpaper", values.tileWallpaper);
  Shell& shell = program.platform.shell;
  const bool applied = IsActiveDesktopOn(program) ? shell.SetActiveDesktopWallpaper(path)
                                                  : shell.SetSystemWallpaper(path);
  if (applied) state.shown = path;
  state.bSettingWallpaper = false;
  return applied;
}

SystemWallpaper ReadSystemWallpaper(Program& program) {
  const bool activeKey = IsActiveDesktopOn(program) &&
                         program.platform.system.PlatformVersionCode() < kActiveDesktopAlways;
  const char* key = activeKey ? kActiveDesktopKey : kDesktopKey;
  SystemWallpaper wallpaper;
  wallpaper.path = ReadDesktopValue(program, key, "Wallpaper");
  const std::string style = ReadDesktopValue(program, key, "WallpaperStyle");
  if (style == "2") {
    wallpaper.style = kStretched;
  } else if (style == "6") {
    wallpaper.style = kFit;
  } else if (style == "10") {
    wallpaper.style = kFill;
  } else if (ReadDesktopValue(program, key, "TileWallpaper") == "1") {
    wallpaper.style = kTiled;
  }
  return wallpaper;
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
  const SystemWallpaper system = ReadSystemWallpaper(program);
  state.shown = system.path;
  state.sOrigWallPaper = system.path.empty() ? "" : KeepWallpaperCopy(program, system.path, 0);
  state.iOrigWallPaperType = system.style;
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
  if (!first.sWallPaper.empty()) SetWallpaper(program, first.sWallPaper, first.iWallPaperType);
}

void ApplySwitchWallpaper(Program& program, int16_t left, int16_t entered) {
  const clsDesktop& from = program.desk.Desk(left);
  const clsDesktop& to = program.desk.Desk(entered);
  if (to.sWallPaper == from.sWallPaper && to.iWallPaperType == from.iWallPaperType) return;
  if (!to.sWallPaper.empty()) {
    SetWallpaper(program, to.sWallPaper, to.iWallPaperType);
  } else {
    SetWallpaper(program, program.wallpaper.sOrigWallPaper, program.wallpaper.iOrigWallPaperType);
  }
}

// Any setting change may be a new wallpaper the user chose. While a desktop shows its own
// image, the system reports that image: it is no new wallpaper, and the user's own start-up
// wallpaper must survive it.
void OnSystemSettingChanged(Program& program) {
  WallpaperState& state = program.wallpaper;
  if (state.bSettingWallpaper) return;
  const SystemWallpaper system = ReadSystemWallpaper(program);
  const bool ownImageShown = !program.desk.Desk(program.desk.iCurDesk).sWallPaper.empty();
  if (!SamePath(system.path, state.shown)) {
    state.shown = system.path;
    state.sOrigWallPaper = system.path.empty() ? "" : KeepWallpaperCopy(program, system.path, 0);
    state.iOrigWallPaperType = system.style;
  } else if (!ownImageShown) {
    state.iOrigWallPaperType = system.style;  // a new style for the user's own image
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
