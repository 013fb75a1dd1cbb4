#include "app/settings.h"

#include <limits>

#include "appearance/passwords.h"

namespace ombrix {

std::string EncodeFlag(bool value) { return value ? "1" : "0"; }

bool DecodeFlag(const std::string& text) { return text == "1"; }

std::string EncodeNumber(int32_t value) { return std::to_string(value); }

int32_t DecodeNumber(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) {
      value = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

bool SaveStr(SettingsStore& store, const std::string& section, const std::string& key,
             const std::string& value) {
  return store.Write(section, key, value);
}

bool SaveBool(SettingsStore& store, const std::string& section, const std::string& key,
              bool value) {
  return SaveStr(store, section, key, EncodeFlag(value));
}

std::string GetStr(SettingsStore& store, const std::string& section, const std::string& key,
                   const std::string& defaultText) {
  return store.Read(section, key).value_or(defaultText);
}

bool GetBool(SettingsStore& store, const std::string& section, const std::string& key,
             bool defaultValue) {
  return DecodeFlag(GetStr(store, section, key, EncodeFlag(defaultValue)));
}

int32_t GetNumber(SettingsStore& store, const std::string& section, const std::string& key) {
  return DecodeNumber(GetStr(store, section, key, "0"));
}

bool DeleteSetting(SettingsStore& store, const std::string& section, const std::string& key) {
  return store.Delete(section, key);
}

const std::vector<ProgramKey>& HotKeyAndFilterKeys() {
  static const std::vector<ProgramKey> keys = {
      {"Alt", KeyKind::Flag, "0", &Settings::bAlt},
      {"AltNumbers", KeyKind::Flag, "0", &Settings::bAltNumbers},
      {"Ctrl", KeyKind::Flag, "0", &Settings::bCtrl},
      {"CtrlNumbers", KeyKind::Flag, "0", &Settings::bCtrlNumbers},
      {"Win", KeyKind::Flag, "1", &Settings::bWin},
      {"WinNumbers", KeyKind::Flag, "1", &Settings::bWinNumbers},
      {"ShiftAltNumbers", KeyKind::Flag, "0", &Settings::bShiftAltNumbers},
      {"ShiftCtrlNumbers", KeyKind::Flag, "0", &Settings::bShiftCtrlNumbers},
      {"ShiftWinNumbers", KeyKind::Flag, "1", &Settings::bShiftWinNumbers},
      {"ITopMost", KeyKind::Flag, "1", &Settings::bIgnoreTopMost},
      {"IWinNoTitle", KeyKind::Flag, "1", &Settings::bIgnoreNoTitle},
  };
  return keys;
}

const std::vector<ProgramKey>& DisplayAndPasswordKeys() {
  static const std::vector<ProgramKey> keys = {
      {"ShowCurDesk", KeyKind::Flag, "1", &Settings::bShowCurDesk},
      {"CicleDesktops", KeyKind::Flag, "0", &Settings::bCicleDesktops},
      {"GlobalPass", KeyKind::ScrambledText, "", nullptr, &Settings::sGlobalPass},
      {"Theme", KeyKind::Text, "default", nullptr, &Settings::sTheme},
      {"RestoreDesktops", KeyKind::Flag, "1", &Settings::bRestoreDesktops},
  };
  return keys;
}

const std::vector<DesktopKey>& DesktopKeys() {
  static const std::vector<DesktopKey> keys = {
      {"Wallpaper", KeyKind::Text, "", false, &clsDesktop::sWallPaper},
      {"WallpaperType", KeyKind::Number, "0", false, nullptr, &clsDesktop::iWallPaperType},
      {"DeskName", KeyKind::Text, "", true, &clsDesktop::sDeskName},
      {"DeskPass", KeyKind::ScrambledText, "", true, &clsDesktop::sPassword},
      {"DontShowApps", KeyKind::Flag, "0", false, nullptr, nullptr,
       &clsDesktop::bHideThisDeskApps},
  };
  return keys;
}

std::string DesktopKeyName(const char* name, int desk) {
  return std::string(name) + static_cast<char>('0' + desk);
}

namespace {

// Reads one text-valued key the way its kind asks: scrambled texts are unscrambled unless
// empty, trimmed texts lose their blanks first.
std::string ReadText(SettingsStore& store, const std::string& key, KeyKind kind,
                     const char* defaultText, bool trim) {
  std::string value = GetStr(store, kSettingsSection, key, defaultText);
  if (trim) value = TrimBlanks(value);
  if (kind == KeyKind::ScrambledText && !value.empty()) value = DecodePassword(value);
  return value;
}

}  // namespace

void ReadProgramKeys(SettingsStore& store, const std::vector<ProgramKey>& keys,
                     Settings& settings) {
  for (const ProgramKey& key : keys) {
    if (key.kind == KeyKind::Flag) {
      settings.*key.flag = GetBool(store, kSettingsSection, key.name, DecodeFlag(key.defaultText));
    } else {
      settings.*key.text = ReadText(store, key.name, key.kind, key.defaultText, false);
    }
  }
}

void ReadDesktopKeys(SettingsStore& store, int desk, clsDesktop& desktop) {
  for (const DesktopKey& key : DesktopKeys()) {
    const std::string name = DesktopKeyName(key.name, desk);
    switch (key.kind) {
      case KeyKind::Flag:
        desktop.*key.flag = GetBool(store, kSettingsSection, name, DecodeFlag(key.defaultText));
        break;
      case KeyKind::Number:
        desktop.*key.number = DecodeNumber(GetStr(store, kSettingsSection, name, key.defaultText));
        break;
      case KeyKind::Text:
      case KeyKind::ScrambledText:
        desktop.*key.text = ReadText(store, name, key.kind, key.defaultText, key.trim);
        break;
    }
  }
}

bool WriteSettings(SettingsStore& store, const std::vector<SettingWrite>& writes) {
  std::vector<std::optional<std::string>> before;
  before.reserve(writes.size());
  for (const SettingWrite& write : writes) before.push_back(store.Read(kSettingsSection, write.key));
  auto apply = [&store](const std::string& key, const std::optional<std::string>& value) {
    return value ? SaveStr(store, kSettingsSection, key, *value)
                 : DeleteSetting(store, kSettingsSection, key);
  };
  for (size_t i = 0; i < writes.size(); ++i) {
    if (apply(writes[i].key, writes[i].value)) continue;
    while (i-- > 0) apply(writes[i].key, before[i]);
    return false;
  }
  return true;
}

SettingWrite GlobalPasswordWrite(const std::string& sGlobalPass) {
  if (sGlobalPass.empty()) return {"GlobalPass", std::nullopt};
  return {"GlobalPass", EncodePassword(sGlobalPass)};
}

bool SaveDesktopKeys(SettingsStore& store, int desk, const clsDesktop& desktop) {
  std::vector<SettingWrite> writes;
  for (const DesktopKey& key : DesktopKeys()) {
    const std::string name = DesktopKeyName(key.name, desk);
    switch (key.kind) {
      case KeyKind::Flag:
        writes.push_back({name, EncodeFlag(desktop.*key.flag)});
        break;
      case KeyKind::Number:
        writes.push_back({name, EncodeNumber(desktop.*key.number)});
        break;
      case KeyKind::Text:
        writes.push_back({name, desktop.*key.text});
        break;
      case KeyKind::ScrambledText:
        if ((desktop.*key.text).empty()) {
          writes.push_back({name, std::nullopt});
        } else {
          writes.push_back({name, EncodePassword(desktop.*key.text)});
        }
        break;
    }
  }
  return WriteSettings(store, writes);
}

void SaveGlobalPassword(SettingsStore& store, const std::string& sGlobalPass) {
  const SettingWrite write = GlobalPasswordWrite(sGlobalPass);
  // At shut-down there is nobody left to tell.
  (void)WriteSettings(store, {write});
}

}  // namespace ombrix
