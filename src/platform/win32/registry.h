// Registry on advapi32: text values under the current user's or the machine's root.
#pragma once

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Registry : public Registry {
 public:
  std::optional<std::string> ReadText(RegistryRoot root, const std::string& key,
                                      const std::string& name) override;
  bool WriteText(RegistryRoot root, const std::string& key, const std::string& name,
                 const std::string& text) override;
  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
};

}  // namespace ombrix::win32
