#include "platform/win32/registry_store.h"

#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

std::wstring SectionPath(const std::string& section) {
  return L"Software\\Ombrix\\" + Widen(section);
}

}  // namespace

std::optional<std::string> RegistryStore::Read(const std::string& section, const std::string& key) {
  const std::wstring path = SectionPath(section);
  const std::wstring name = Widen(key);
  // RRF_NOEXPAND keeps REG_EXPAND_SZ out of the REG_SZ filter.
  const DWORD flags = RRF_RT_REG_SZ | RRF_NOEXPAND;
  for (;;) {
    DWORD bytes = 0;
    LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), flags, nullptr,
                                  nullptr, &bytes);
    if (status != ERROR_SUCCESS) return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    DWORD type = 0;
    status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), flags, &type, value.data(),
                          &bytes);
    if (status == ERROR_MORE_DATA) continue;  // the value grew between the two calls
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    // The byte count includes the terminating zero.
    value.resize(wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
    return Narrow(value);
  }
}

bool RegistryStore::Write(const std::string& section, const std::string& key,
                          const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring wide = Widen(value);
  const LSTATUS status = RegSetValueExW(handle, Widen(key).c_str(), 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(wide.c_str()),
                                        static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

bool RegistryStore::Delete(const std::string& section, const std::string& key) {
  HKEY handle = nullptr;
  LSTATUS status =
      RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_SET_VALUE, &handle);
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  status = RegDeleteValueW(handle, Widen(key).c_str());
  RegCloseKey(handle);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace ombrix::win32
