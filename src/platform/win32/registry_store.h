// SettingsStore in the registry: HKEY_CURRENT_USER\Software\Ombrix\<section>, REG_SZ values.
// No key stays open between calls.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class RegistryStore : public SettingsStore {
 public:
  // A value of another type than REG_SZ reads as missing.
  std::optional<std::string> Read(const std::string& section, const std::string& key) override;
  bool Write(const std::string& section, const std::string& key, const std::string& value) override;
  bool Delete(const std::string& section, const std::string& key) override;
};

}  // namespace ombrix::win32
