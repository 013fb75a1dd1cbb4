#include "platform/win32/files.h"

#include <algorithm>

#include "platform/win32/system.h"
#include "platform/win32/text.h"
#include "platform/win32/win.h"
// These need <windows.h> first.
#include <aclapi.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace ombrix::win32 {

namespace {

// Owns a file handle for the length of one operation.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = ::CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// ReadFile and WriteFile move at most 4 GiB - 1 per call; the files here are small, but the
// loops keep that from mattering.
constexpr size_t kChunk = 1u << 30;

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, wanted, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  const bool written = WriteAll(file.Get(), bytes);
  return file.Close() && written;
}

}  // namespace

bool Win32Files::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Files::DeleteFile(const std::string& path) {
  if (DeleteFileW(Widen(path).c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::optional<std::string> Win32Files::ReadFile(const std::string& path, uint64_t largest) {
  FileHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
      static_cast<uint64_t>(size.QuadPart) > largest) {
    return std::nullopt;
  }
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD wanted = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data() + done, wanted, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file became shorter while it was read
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

std::optional<uint64_t> Win32Files::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<int64_t> Win32Files::ModifiedTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return UnixMilliseconds(data.ftLastWriteTime);
}

bool Win32Files::ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::wstring target = Widen(path);
  const std::wstring fresh = target + L".new";
  if (WriteNewFile(fresh, bytes) &&
      MoveFileExW(fresh.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  DeleteFileW(fresh.c_str());
  return false;
}

bool Win32Files::CreateFolder(const std::string& path) {
  const std::wstring folder = Widen(path);
  if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
  if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Files::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Files::CopyFileTo(const std::string& from, const std::string& to) {
  return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), FALSE) != FALSE;
}

bool Win32Files::DeleteFilesIn(const std::string& folder) {
  const std::wstring base = Widen(folder) + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  bool all = true;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    all = DeleteFileW((base + found.cFileName).c_str()) != FALSE && all;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return all;
}

namespace {

// The names the folder lists, files or subfolders; "." and ".." are no subfolders.
std::vector<std::wstring> Listing(const std::string& folder, bool subfolders) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((Widen(folder) + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::wstring name = found.cFileName;
    if (isFolder == subfolders && name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

// Every name is compared here: a search pattern "*.lng" also finds "a.lngx" by its short name.
std::vector<std::string> Win32Files::FilesWithExtension(const std::string& folder,
                                                        const std::string& extension) {
  const std::wstring wanted = Widen(extension);
  std::vector<std::string> names;
  for (const std::wstring& name : Listing(folder, false)) {
    if (name.size() >= wanted.size() &&
        CompareStringOrdinal(name.c_str() + name.size() - wanted.size(),
                             static_cast<int>(wanted.size()), wanted.c_str(),
                             static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
      names.push_back(Narrow(name));
    }
  }
  return names;
}

std::vector<std::string> Win32Files::Subfolders(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::wstring& name : Listing(folder, true)) names.push_back(Narrow(name));
  return names;
}

std::string Win32Files::UserDataFolder() {
  if (userDataFolder_) return *userDataFolder_;
  PWSTR folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &folder))) path = folder;
  CoTaskMemFree(folder);
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  userDataFolder_ = Narrow(path);
  return *userDataFolder_;
}

namespace {

bool OwnedByThisUser(const std::wstring& folder) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                            nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  bool own = false;
  HANDLE token = nullptr;
  if (owner != nullptr && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    own = size != 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size) &&
          EqualSid(owner, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid);
    ::CloseHandle(token);
  }
  LocalFree(descriptor);
  return own;
}

}  // namespace

bool Win32Files::IsUsersOwnFolder(const std::string& path) {
  auto found = ownFolders_.find(path);
  if (found == ownFolders_.end())
    found = ownFolders_.emplace(path, OwnedByThisUser(Widen(path))).first;
  return found->second;
}

}  // namespace ombrix::win32
