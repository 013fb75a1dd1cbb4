// The settings store: typed access to the per-user text values, the three encodings, and the
// table of keys with their defaults and the program state they fill.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/records.h"
#include "platform/platform.h"

namespace ombrix {

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kRulesSection = "Rules";
inline constexpr const char* kBuiltInLanguage = "English - Built In";
// The theme of the built-in desktop pictures.
inline constexpr const char* kDefaultTheme = "default";

// The settings that the program reads at start and holds as its authority while running. A
// new Settings holds the defaults that ProgramSettings() declares.
struct Settings {
  Settings();

  bool bAlt;
  bool bAltNumbers;
  bool bCtrl;
  bool bCtrlNumbers;
  bool bWin;
  bool bWinNumbers;
  bool bShiftAltNumbers;
  bool bShiftCtrlNumbers;
  bool bShiftWinNumbers;
  bool bIgnoreTopMost;
  bool bIgnoreNoTitle;
  bool bAutoStart;
  bool bShowCurDesk;
  bool bCicleDesktops;
  bool bRestoreDesktops;  // after an abnormal end, windows go back to their desktops
  std::string sGlobalPass;
  std::string sTheme;
  std::string sLanguage;
};

// The three encodings of stored values.
std::string EncodeFlag(bool value);
bool DecodeFlag(const std::string& text);  // true exactly for "1"
std::string EncodeNumber(int32_t value);
// The leading decimal number of the text (an optional minus sign, then digits); 0 when the
// text does not begin with one. Values beyond 32 bits are clamped.
int32_t DecodeNumber(const std::string& text);

// Store access under application "Ombrix".
bool SaveStr(SettingsStore& store, const std::string& section, const std::string& key,
             const std::string& value);
bool SaveBool(SettingsStore& store, const std::string& section, const std::string& key,
              bool value);
std::string GetStr(SettingsStore& store, const std::string& section, const std::string& key,
                   const std::string& defaultText);
bool GetBool(SettingsStore& store, const std::string& section, const std::string& key,
             bool defaultValue);
int32_t GetNumber(SettingsStore& store, const std::string& section, const std::string& key);
bool DeleteSetting(SettingsStore& store, const std::string& section, const std::string& key);

// A Password key holds a password's stored form (appearance/passwords.h) as the program holds it;
// an empty one is deleted rather than written.
enum class KeyKind { Text, Flag, Number, Password };

// When a program setting is read at start: the language first of all, then the hot-keys and
// window filters, the log-on entry, and the rest.
enum class ReadAt { Start, BeforeAutoStart, AfterAutoStart };

// One program setting, declared once: the key of section "Settings" that stores it (none for
// autostart, which the log-on entry holds), how it is stored, its default, when it is read, the
// field it fills and the check box of the program settings dialog that shows it, if any.
struct ProgramSetting {
  const char* key;
  KeyKind kind;
  const char* defaultText;
  ReadAt readAt;
  bool Settings::*flag = nullptr;
  std::string Settings::*text = nullptr;
  const char* checkBox = nullptr;
};

// One per-desktop key; the stored name carries the desktop's digit (Wallpaper3).
struct DesktopKey {
  const char* name;
  KeyKind kind;
  const char* defaultText;
  bool trim;  // blanks at both ends are removed on reading
  std::string clsDesktop::*text = nullptr;
  int32_t clsDesktop::*number = nullptr;
  bool clsDesktop::*flag = nullptr;
};

// Every program setting, in reading order.
const std::vector<ProgramSetting>& ProgramSettings();
// The per-desktop keys in reading order.
const std::vector<DesktopKey>& DesktopKeys();

// "Wallpaper" and 3 give "Wallpaper3".
std::string DesktopKeyName(const char* name, int desk);

// Reads the keys read at that moment into the settings, with their defaults.
void ReadProgramKeys(SettingsStore& store, ReadAt readAt, Settings& settings);
// Reads desktop n's keys into its record.
void ReadDesktopKeys(SettingsStore& store, int desk, clsDesktop& desktop);

// A key to write, or to delete when the value is nullopt.
struct SettingWrite {
  std::string key;
  std::optional<std::string> value;
};
// Writes the keys of the section in order, all or none: when one cannot be written or
// deleted, the keys written before it get their old values back (as far as the store lets
// them) and the result is false.
bool WriteSettings(SettingsStore& store, const std::vector<SettingWrite>& writes,
                   const char* section = kSettingsSection);
// The writes of every stored program setting, in reading order; an empty password deleted.
std::vector<SettingWrite> ProgramSettingWrites(const Settings& settings);

// Writes desktop n's keys from its record, all or none; an empty password deletes its key.
bool SaveDesktopKeys(SettingsStore& store, int desk, const clsDesktop& desktop);
// Writes the stored form of desktop desk's password, or of the program password for desk
// below 1; an empty one deletes its key. False when the store refused.
bool SavePassword(SettingsStore& store, int desk, const std::string& stored);
// Writes the program password as it is held.
void SaveGlobalPassword(SettingsStore& store, const Settings& settings);

}  // namespace ombrix
