// Per-desktop wallpapers: the program's own copy of every image it uses, one folder per
// desktop, applied through the shell at every switch. The user's own wallpaper (the one the
// system had at start, or one chosen through the system since) is touched only while a desktop
// shows an image of its own, and is put back as it was, by its own path and style values, on
// desktops without one and at exit.
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

// The system's wallpaper as its settings hold it: the image and the "WallpaperStyle" and
// "TileWallpaper" values as they stand (nullopt: the value is missing).
struct SystemWallpaper {
  std::string path;
  std::optional<std::string> wallpaperStyle;
  std::optional<std::string> tileWallpaper;
  bool operator==(const SystemWallpaper&) const = default;
};

struct WallpaperState {
  SystemWallpaper user;        // the user's own wallpaper, put back as it was
  std::string sOrigWallPaper;  // the program's copy of the user's image, for when it is gone
  bool bSettingWallpaper = false;
  // The system shows an image the program set instead of the user's own.
  bool userWallpaperReplaced = false;
  // The image the system shows as far as the program knows: the one it last applied, or the
  // system's own at start. A setting change that still reports it is no new wallpaper.
  std::string shown;
};

// Sets a desktop's image; from then on the user's own wallpaper is replaced.
bool SetWallpaper(Program& program, const std::string& path, int32_t style);
// Puts the user's own wallpaper back when the program replaced it: the image by its own path
// (the program's copy only when the image is gone) with its style values as they were. False
// when the system refused it.
bool RestoreUserWallpaper(Program& program);
// The system's wallpaper as its settings name it, without copying anything.
SystemWallpaper ReadSystemWallpaper(Program& program);
// The desktop's copy of the image (desk 0 for the user's own); empty when the path is
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

// At start, before the desktops are read: the system's wallpaper becomes the user's own and is
// recorded in the settings, unless it is an image of the store (an abnormal end left it, or it
// stands in for the user's image that is gone): then the one recorded before stays.
void CaptureStartWallpaper(Program& program);
// At start, after the desktops are read: the Active Desktop question for the first desktop
// that needs it, then desktop 1's wallpaper, or the user's own back.
void ApplyStartWallpapers(Program& program);
// The entered desktop's wallpaper, or the user's own, when it differs from the left one's.
void ApplySwitchWallpaper(Program& program, int16_t left, int16_t entered);
// A system setting changed (message 26).
void OnSystemSettingChanged(Program& program);
void OnWallpaperRestoreTimer(Program& program);

}  // namespace ombrix
