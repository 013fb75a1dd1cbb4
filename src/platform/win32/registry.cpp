#include "platform/win32/registry.h"

#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

}  // namespace

std::optional<std::string> Win32Registry::ReadText(RegistryRoot root, const std::string& key,
                                                   const std::string& name) {
  const std::wstring path = Widen(key);
  const std::wstring value = Widen(name);
  // An expandable text passes the REG_SZ filter, expanded.
  const DWORD flags = RRF_RT_REG_SZ;
  for (;;) {
    DWORD bytes = 0;
    if (RegGetValueW(RootKey(root), path.c_str(), value.c_str(), flags, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    const LSTATUS status = RegGetValueW(RootKey(root), path.c_str(), value.c_str(), flags, nullptr,
                                        text.data(), &bytes);
    if (status == ERROR_MORE_DATA) continue;  // the value grew between the two calls
    if (status != ERROR_SUCCESS) return std::nullopt;
    text.resize(wcsnlen(text.c_str(), bytes / sizeof(wchar_t)));
    return Narrow(text);
  }
}

bool Win32Registry::WriteText(RegistryRoot root, const std::string& key, const std::string& name,
                              const std::string& text) {
  const std::wstring wide = Widen(text);
  const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return RegSetKeyValueW(RootKey(root), Widen(key).c_str(), Widen(name).c_str(), REG_SZ,
                         wide.c_str(), bytes) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  const LSTATUS status = RegDeleteKeyValueW(RootKey(root), Widen(key).c_str(), Widen(name).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace ombrix::win32
