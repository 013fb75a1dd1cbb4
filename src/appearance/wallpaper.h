// Per-desktop wallpapers: the program's own copy of every image it uses, one folder per
// desktop, applied through the shell at every switch, with the wallpaper the system had at
// start (the start-up wallpaper) for desktops without one and at exit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ombrix {

class Program;

// Style codes and what the system's "WallpaperStyle" and "TileWallpaper" values are for them.
enum WallpaperStyle : int32_t {
  kCentered = 0,
  kTiled = 1,
  kStretched = 2,
  kFit = 6,
  kFill = 10,
};

// Main-window timer that gives a desktop its own wallpaper back after a system change.
constexpr int kWallpaperRestoreTimer = 10;
constexpr uint32_t kWallpaperRestoreMs = 50;

struct WallpaperState {
  std::string sOrigWallPaper;  // the program's copy of the start-up wallpaper
  int32_t iOrigWallPaperType = kCentered;
  bool bSettingWallpaper = false;
  // The image the system shows as far as the program knows: the one it last applied, or the
  // system's own at start. A setting change that still reports it is no new wallpaper.
  std::string shown;
};

struct SystemWallpaper {
  std::string path;
  int32_t style = kCentered;
};

bool SetWallpaper(Program& program, const std::string& path, int32_t style);
// The system's wallpaper as its settings name it, without copying anything.
SystemWallpaper ReadSystemWallpaper(Program& program);
// The desktop's copy of the image (desk 0 for the start-up wallpaper); empty when the path is
// empty or the copy failed.
std::string KeepWallpaperCopy(Program& program, const std::string& path, int16_t desk);
// A copy of an image made ready beside a desktop's store folder, so that the copy in the folder
// is replaced only once whatever depends on the new one has worked.
struct StagedWallpaper {
  std::string folder;  // the desktop's store folder
  std::string copy;    // where the copy goes in it
  std::string staged;  // the copy made ready; empty when the image already is the copy
};
// Nothing when the path is empty or the image could not be copied.
std::optional<StagedWallpaper> StageWallpaperCopy(Program& program, const std::string& path,
                                                  int16_t desk);
// Puts the staged copy in the folder in place of the old one: its path, or empty on failure.
std::string CommitWallpaperCopy(Program& program, const StagedWallpaper& wallpaper);
void DiscardWallpaperCopy(Program& program, const StagedWallpaper& wallpaper);
bool IsActiveDesktopOn(Program& program);
bool HasActiveDesktop(Program& program);
void EnableActiveDesktop(Program& program);
bool IsBitmapFile(const std::string& path);
// "<per-user data folder>\Ombrix"; empty when the system names no such folder.
std::string WallpaperFolder(Program& program);

// At start, before the desktops are read: the system's wallpaper becomes the start-up one.
void CaptureStartWallpaper(Program& program);
// At start, after the desktops are read: the Active Desktop question for the first desktop
// that needs it, then desktop 1's wallpaper.
void ApplyStartWallpapers(Program& program);
// The entered desktop's wallpaper, or the start-up one, when it differs from the left one's.
void ApplySwitchWallpaper(Program& program, int16_t left, int16_t entered);
// A system setting changed (message 26).
void OnSystemSettingChanged(Program& program);
void OnWallpaperRestoreTimer(Program& program);

}  // namespace ombrix
