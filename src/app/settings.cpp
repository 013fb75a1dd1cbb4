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

const std::vector<ProgramSetting>& ProgramSettings() {
  using enum KeyKind;
  using enum ReadAt;
  using S = Settings;
  static const std::vector<ProgramSetting> settings = {
      {"Language", Text, kBuiltInLanguage, Start, nullptr, &S::sLanguage},
      {"RestoreDesktops", Flag, "1", Start, &S::bRestoreDesktops, nullptr, "chkRestoreDesktops"},
      {"Alt", Flag, "0", BeforeAutoStart, &S::bAlt, nullptr, "chkAltArrows"},
      {"AltNumbers", Flag, "0", BeforeAutoStart, &S::bAltNumbers, nullptr, "chkAltNumbers"},
      {"Ctrl", Flag, "0", BeforeAutoStart, &S::bCtrl, nullptr, "chkControlArrows"},
      {"CtrlNumbers", Flag, "0", BeforeAutoStart, &S::bCtrlNumbers, nullptr, "chkControlNumbers"},
      {"Win", Flag, "1", BeforeAutoStart, &S::bWin, nullptr, "chkWinArrows"},
      {"WinNumbers", Flag, "1", BeforeAutoStart, &S::bWinNumbers, nullptr, "chkWinNumbers"},
      {"ShiftAltNumbers", Flag, "0", BeforeAutoStart, &S::bShiftAltNumbers, nullptr,
       "chkShiftAltNum"},
      {"ShiftCtrlNumbers", Flag, "0", BeforeAutoStart, &S::bShiftCtrlNumbers, nullptr,
       "chkShiftControlNum"},
      {"ShiftWinNumbers", Flag, "1", BeforeAutoStart, &S::bShiftWinNumbers, nullptr,
       "chkShiftWinNum"},
      {"ITopMost", Flag, "1", BeforeAutoStart, &S::bIgnoreTopMost, nullptr, "chkTopWindows"},
      {"IWinNoTitle", Flag, "1", BeforeAutoStart, &S::bIgnoreNoTitle, nullptr, "chkIgnoreNoTitle"},
      {nullptr, Flag, "0", AfterAutoStart, &S::bAutoStart, nullptr, "chkAutoStart"},
      {"ShowCurDesk", Flag, "1", AfterAutoStart, &S::bShowCurDesk, nullptr, "chkShowCurDesktop"},
      {"CicleDesktops", Flag, "0", AfterAutoStart, &S::bCicleDesktops, nullptr,
       "chkCicleDesktops"},
      {"GlobalPass", Password, "", AfterAutoStart, nullptr, &S::sGlobalPass},
      {"Theme", Text, kDefaultTheme, AfterAutoStart, nullptr, &S::sTheme},
  };
  return settings;
}

Settings::Settings() {
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.flag != nullptr) this->*setting.flag = DecodeFlag(setting.defaultText);
    if (setting.text != nullptr) this->*setting.text = setting.defaultText;
  }
}

const std::vector<DesktopKey>& DesktopKeys() {
  static const std::vector<DesktopKey> keys = {
      {"Wallpaper", KeyKind::Text, "", false, &clsDesktop::sWallPaper},
      {"WallpaperType", KeyKind::Number, "0", false, nullptr, &clsDesktop::iWallPaperType},
      {"DeskName", KeyKind::Text, "", true, &clsDesktop::sDeskName},
      {"DeskPass", KeyKind::Password, "", true, &clsDesktop::sPassword},
      {"DontShowApps", KeyKind::Flag, "0", false, nullptr, nullptr,
       &clsDesktop::bHideThisDeskApps},
  };
  return keys;
}

std::string DesktopKeyName(const char* name, int desk) {
  return std::string(name) + static_cast<char>('0' + desk);
}

namespace {

// Reads one text-valued key: trimmed texts lose their blanks first. A scrambled password that
// stands for no text is no password, as it always was.
std::string ReadText(SettingsStore& store, const std::string& key, KeyKind kind,
                     const char* defaultText, bool trim) {
  std::string value = GetStr(store, kSettingsSection, key, defaultText);
  if (trim) value = TrimBlanks(value);
  if (kind == KeyKind::Password && !IsVerifier(value) && DecodePassword(value).empty()) {
    value.clear();
  }
  return value;
}

}  // namespace

void ReadProgramKeys(SettingsStore& store, ReadAt readAt, Settings& settings) {
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.key == nullptr || setting.readAt != readAt) continue;
    if (setting.kind == KeyKind::Flag) {
      settings.*setting.flag =
          GetBool(store, kSettingsSection, setting.key, DecodeFlag(setting.defaultText));
    } else {
      settings.*setting.text =
          ReadText(store, setting.key, setting.kind, setting.defaultText, false);
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
      case KeyKind::Password:
        desktop.*key.text = ReadText(store, name, key.kind, key.defaultText, key.trim);
        break;
    }
  }
}

bool WriteSettings(SettingsStore& store, const std::vector<SettingWrite>& writes,
                   const char* section) {
  std::vector<std::optional<std::string>> before;
  before.reserve(writes.size());
  for (const SettingWrite& write : writes) before.push_back(store.Read(section, write.key));
  auto apply = [&store, section](const std::string& key, const std::optional<std::string>& value) {
    return value ? SaveStr(store, section, key, *value) : DeleteSetting(store, section, key);
  };
  for (size_t i = 0; i < writes.size(); ++i) {
    if (apply(writes[i].key, writes[i].value)) continue;
    while (i-- > 0) apply(writes[i].key, before[i]);
    return false;
  }
  return true;
}

namespace {

// The write of a stored text; an empty password deletes its key.
SettingWrite TextWrite(const std::string& key, KeyKind kind, const std::string& value) {
  if (kind == KeyKind::Password && value.empty()) return {key, std::nullopt};
  return {key, value};
}

}  // namespace

std::vector<SettingWrite> ProgramSettingWrites(const Settings& settings) {
  std::vector<SettingWrite> writes;
  for (const ProgramSetting& setting : ProgramSettings()) {
    if (setting.key == nullptr) continue;
    writes.push_back(setting.flag != nullptr
                         ? SettingWrite{setting.key, EncodeFlag(settings.*setting.flag)}
                         : TextWrite(setting.key, setting.kind, settings.*setting.text));
  }
  return writes;
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
      case KeyKind::Password:
        writes.push_back(TextWrite(name, key.kind, desktop.*key.text));
        break;
    }
  }
  return WriteSettings(store, writes);
}

bool SavePassword(SettingsStore& store, int desk, const std::string& stored) {
  std::string key;
  if (desk >= 1) {
    for (const DesktopKey& desktopKey : DesktopKeys()) {
      if (desktopKey.text == &clsDesktop::sPassword) key = DesktopKeyName(desktopKey.name, desk);
    }
  } else {
    for (const ProgramSetting& setting : ProgramSettings()) {
      if (setting.text == &Settings::sGlobalPass) key = setting.key;
    }
  }
  return WriteSettings(store, {TextWrite(key, KeyKind::Password, stored)});
}

void SaveGlobalPassword(SettingsStore& store, const Settings& settings) {
  // At shut-down there is nobody left to tell.
  (void)SavePassword(store, 0, settings.sGlobalPass);
}

}  // namespace ombrix
