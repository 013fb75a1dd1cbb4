// Files on kernel32 and the user's data folder from the shell. Paths are UTF-8 with
// backslashes; the W functions take them.
#pragma once

#include <map>

#include "platform/platform.h"

namespace ombrix::win32 {

class Win32Files : public Files {
 public:
  // A folder of that name is not a file.
  bool FileExists(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, uint64_t largest) override;
  std::optional<uint64_t> FileSize(const std::string& path) override;
  std::optional<int64_t> ModifiedTime(const std::string& path) override;
  // Writes "<path>.new", then moves it over path in one step. Not flushed to the disk: the
  // files written this way (what a crash of the program needs) are stale after a crash of the
  // system anyway, and a flush at every switch costs more than the switch.
  bool ReplaceFile(const std::string& path, const std::string& bytes) override;
  // A folder that already exists counts as created.
  bool CreateFolder(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to) override;
  bool DeleteFilesIn(const std::string& folder) override;
  // The local application-data folder; empty when the shell does not know it. Asked once:
  // the shell reads (and may write) the registry for it, and it does not change.
  std::string UserDataFolder() override;
  // The folder's owner against the user of this process's token; asked once per folder.
  bool IsUsersOwnFolder(const std::string& path) override;
  std::vector<std::string> FilesWithExtension(const std::string& folder,
                                              const std::string& extension) override;
  std::vector<std::string> Subfolders(const std::string& folder) override;

 private:
  std::optional<std::string> userDataFolder_;
  std::map<std::string, bool> ownFolders_;
};

}  // namespace ombrix::win32
