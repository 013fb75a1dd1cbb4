// Registry on advapi32: values and keys under the current user's or the machine's root.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Registry : public Registry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& key) override;
  bool CreateKey(RegistryRoot root, const std::string& key) override;
  bool DeleteKey(RegistryRoot root, const std::string& key) override;
  std::optional<RegistryData> ReadValue(RegistryRoot root, const std::string& key,
                                        const std::string& name) override;
  bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryData& data) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  std::optional<std::vector<std::string>> ValueNames(RegistryRoot root,
                                                     const std::string& key) override;
  std::optional<std::vector<std::string>> SubkeyNames(RegistryRoot root,
                                                      const std::string& key) override;
};

}  // namespace ombrix::win32
