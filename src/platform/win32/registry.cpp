#include "platform/win32/registry.h"

#include "platform/win32/text.h"
#include "platform/win32/win.h"

namespace ombrix::win32 {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// An open key for the length of one operation.
class Key {
 public:
  Key(RegistryRoot root, const std::string& path, REGSAM access) {
    if (RegOpenKeyExW(RootKey(root), Widen(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The text of a text value's bytes, without the final terminator.
std::wstring TextOf(const std::vector<uint8_t>& bytes) {
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

std::wstring Expanded(const std::wstring& text) {
  const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return text;
  std::wstring expanded(size, L'\0');
  const DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
  if (written == 0 || written > size) return text;
  expanded.resize(written - 1);
  return expanded;
}

std::optional<std::vector<std::string>> Names(RegistryRoot root, const std::string& path,
                                              bool values) {
  Key key(root, path, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS);
  if (!key) return std::nullopt;
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD length = 16384;
    const LSTATUS status =
        values ? RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr)
               : RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return std::nullopt;
    names.push_back(Narrow(name, length));
  }
  return names;
}

}  // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) {
  return static_cast<bool>(Key(root, key, KEY_QUERY_VALUE));
}

bool Win32Registry::CreateKey(RegistryRoot root, const std::string& key) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(RootKey(root), Widen(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(handle);
  return true;
}

bool Win32Registry::DeleteKey(RegistryRoot root, const std::string& key) {
  return RegDeleteKeyW(RootKey(root), Widen(key).c_str()) == ERROR_SUCCESS;
}

std::optional<RegistryData> Win32Registry::ReadValue(RegistryRoot root, const std::string& key,
                                                     const std::string& name) {
  Key open(root, key, KEY_QUERY_VALUE);
  if (!open) return std::nullopt;
  const std::wstring value = Widen(name);
  std::vector<uint8_t> bytes;
  DWORD type = 0;
  for (;;) {
    DWORD size = 0;
    if (RegQueryValueExW(open.Get(), value.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    bytes.resize(size);
    const LSTATUS status =
        RegQueryValueExW(open.Get(), value.c_str(), nullptr, &type, bytes.data(), &size);
    if (status == ERROR_MORE_DATA) continue;  // the value grew between the two calls
    if (status != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    break;
  }
  RegistryData data;
  data.type = type;
  if (IsText(type)) {
    const std::wstring text = TextOf(bytes);
    data.text = Narrow(type == REG_EXPAND_SZ ? Expanded(text) : text);
  } else {
    data.bytes = std::move(bytes);
  }
  return data;
}

bool Win32Registry::WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                               const RegistryData& data) {
  std::vector<uint8_t> bytes = data.bytes;
  if (IsText(data.type)) {
    const std::wstring wide = Widen(data.text);
    const auto* first = reinterpret_cast<const uint8_t*>(wide.c_str());
    bytes.assign(first, first + (wide.size() + 1) * sizeof(wchar_t));
  }
  return RegSetKeyValueW(RootKey(root), Widen(key).c_str(), Widen(name).c_str(), data.type,
                         bytes.data(), static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  const LSTATUS status = RegDeleteKeyValueW(RootKey(root), Widen(key).c_str(), Widen(name).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

std::optional<std::vector<std::string>> Win32Registry::ValueNames(RegistryRoot root,
                                                                  const std::string& key) {
  return Names(root, key, true);
}

std::optional<std::vector<std::string>> Win32Registry::SubkeyNames(RegistryRoot root,
                                                                   const std::string& key) {
  return Names(root, key, false);
}

}  // namespace ombrix::win32
