#include "platform/sim/sim.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "core/text.h"

namespace ombrix::sim {

void SimClock::Start(const void* owner, int id, int intervalMs, std::function<void()> tick) {
  Stop(owner, id);
  const int interval = std::max(intervalMs, 1);
  timers_.push_back(
      std::make_shared<Timer>(Timer{owner, id, interval, now + interval, std::move(tick)}));
}

void SimClock::Stop(const void* owner, int id) {
  std::erase_if(timers_, [&](const auto& t) { return t->owner == owner && t->id == id; });
}

void SimClock::StopAll(const void* owner) {
  std::erase_if(timers_, [&](const auto& t) { return t->owner == owner; });
}

bool SimClock::Running(const void* owner, int id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const auto& t) { return t->owner == owner && t->id == id; });
}

void SimClock::Advance(int milliseconds) {
  const int64_t end = now + milliseconds;
  while (true) {
    auto next = std::min_element(timers_.begin(), timers_.end(),
                                 [](const auto& a, const auto& b) { return a->due < b->due; });
    if (next == timers_.end() || (*next)->due > end) break;
    // Held, so a tick that stops its own timer does not destroy what runs.
    std::shared_ptr<Timer> timer = *next;
    now = timer->due;
    timer->due += timer->interval;
    timer->tick();
  }
  now = end;
}

Hwnd SimWindowSystem::Create(SimWindow window) {
  window.hwnd = nextHwnd_;
  nextHwnd_ += 4;
  windows_[window.hwnd] = window;
  zPosition_[window.hwnd] = zOrder_.insert(zOrder_.begin(), window.hwnd);
  return window.hwnd;
}

void SimWindowSystem::Destroy(Hwnd hwnd) {
  auto position = zPosition_.find(hwnd);
  if (position == zPosition_.end()) return;
  zOrder_.erase(position->second);
  zPosition_.erase(position);
  windows_.erase(hwnd);
}

SimWindow* SimWindowSystem::Get(Hwnd hwnd) {
  auto found = windows_.find(hwnd);
  return found == windows_.end() ? nullptr : &found->second;
}

std::vector<Hwnd> SimWindowSystem::TopLevelWindows() {
  ++enumerations;
  return std::vector<Hwnd>(zOrder_.begin(), zOrder_.end());
}

Hwnd SimWindowSystem::FindWindow(const std::string& className, const std::string& caption) {
  for (Hwnd hwnd : zOrder_) {
    const SimWindow& window = windows_.at(hwnd);
    if ((className.empty() || window.className == className) &&
        (caption.empty() || window.text == caption)) {
      return hwnd;
    }
  }
  return 0;
}

bool SimWindowSystem::IsWindow(Hwnd hwnd) { return Get(hwnd) != nullptr; }

bool SimWindowSystem::IsWindowVisible(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window && window->visible;
}

std::string SimWindowSystem::ClassName(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->className : "";
}

std::string SimWindowSystem::WindowText(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->text : "";
}

Rect SimWindowSystem::WindowRect(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->rect : Rect{};
}

uint32_t SimWindowSystem::Style(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->style : 0;
}

uint32_t SimWindowSystem::ExStyle(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->exStyle : 0;
}

Hwnd SimWindowSystem::Owner(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? window->owner : 0;
}

ThreadProcess SimWindowSystem::WindowThreadProcess(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window ? ThreadProcess{window->threadId, window->processId} : ThreadProcess{};
}

bool SimWindowSystem::ShowWindow(Hwnd hwnd, int command) {
  showCalls.emplace_back(hwnd, command);
  if (duringShow) {
    auto nested = std::move(duringShow);  // once
    nested(hwnd, command);
  }
  SimWindow* window = Get(hwnd);
  if (!window) return false;
  const bool wasVisible = window->visible;
  constexpr int kMaximize = 3;
  constexpr int kMinimize = 6;
  window->visible = command != sw::kHide;
  if (command == kMinimize) window->minimized = true;
  if (command == kMaximize || command == sw::kShowNormal) window->minimized = false;
  if (command == kMaximize) window->maximized = true;
  // Showing activates the window and raises it above the others; it becomes the foreground
  // only where the caller may give it away.
  if (command == sw::kShow || command == sw::kShowNormal || command == kMaximize) {
    BringToTop(hwnd);
    if (MayGiveForeground()) foreground = hwnd;
  }
  return wasVisible;
}

HideOutcome SimWindowSystem::HideWindow(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  if (window && window->refusesHide) {
    showCalls.emplace_back(hwnd, sw::kHide);
    return HideOutcome::Refused;
  }
  const bool answers = Answers(hwnd);
  ShowWindow(hwnd, sw::kHide);
  return answers ? HideOutcome::Hidden : HideOutcome::Posted;
}

bool SimWindowSystem::Answers(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window && !window->hung;
}

void SimWindowSystem::BringToTop(Hwnd hwnd) {
  auto position = zPosition_.find(hwnd);
  if (position == zPosition_.end()) return;
  zOrder_.splice(zOrder_.begin(), zOrder_, position->second);
}

void SimWindowSystem::SendToBottom(Hwnd hwnd) {
  auto position = zPosition_.find(hwnd);
  if (position == zPosition_.end()) return;
  zOrder_.splice(zOrder_.end(), zOrder_, position->second);
}

bool SimWindowSystem::IsIconic(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  return window && window->minimized;
}

bool SimWindowSystem::MayGiveForeground() {
  SimWindow* front = Get(foreground);
  return !foregroundLocked || !front || !front->visible || front->processId == callerProcess;
}

void SimWindowSystem::SetFocus(Hwnd hwnd) {
  focus = hwnd;
  SimWindow* window = Get(hwnd);
  if (window && !attachedThreads.empty()) foreground = hwnd;
}

void SimWindowSystem::SwitchToThisWindow(Hwnd hwnd) {
  SimWindow* window = Get(hwnd);
  if (!window) return;
  if (!MayGiveForeground()) return;
  window->minimized = false;
  window->visible = true;
  BringToTop(hwnd);
  foreground = hwnd;
}

IconHandle SimWindowSystem::ClassIcon(Hwnd hwnd, bool small) {
  SimWindow* window = Get(hwnd);
  if (!window) return 0;
  return small ? window->smallIcon : window->largeIcon;
}

bool SimWindowSystem::AttachThreadInput(uint32_t fromThread, uint32_t toThread, bool attach) {
  if (attach) {
    attachedThreads.emplace_back(fromThread, toThread);
  } else {
    std::erase(attachedThreads, std::make_pair(fromThread, toThread));
  }
  return true;
}

bool SimWindowSystem::SetOpacity(Hwnd hwnd, uint8_t alpha) {
  SimWindow* window = Get(hwnd);
  if (!window) return false;
  if (window->hung) throw std::logic_error("a style change waits for ever on a hung window");
  window->exStyle |= 0x80000;
  window->alpha = alpha;
  return true;
}

std::vector<uint32_t> SimWindowSystem::ShellProcessIds() {
  std::vector<uint32_t> processes;
  for (const auto& [hwnd, window] : windows_) {
    const std::string lower = LowerText(window.className);
    if (lower == "shell_traywnd" || lower == "progman") processes.push_back(window.processId);
  }
  return processes;
}

bool SimFiles::DeleteFile(const std::string& path) {
  files.erase(path);
  modified.erase(path);
  return true;
}

std::optional<int64_t> SimFiles::ModifiedTime(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  auto found = modified.find(path);
  return found == modified.end() ? clock_.WallTime() : found->second;
}

std::optional<uint64_t> SimFiles::FileSize(const std::string& path) {
  auto found = files.find(path);
  if (found == files.end()) return std::nullopt;
  auto size = sizes.find(path);
  return size != sizes.end() ? size->second : found->second.size();
}

std::optional<std::string> SimFiles::ReadFile(const std::string& path, uint64_t largest) {
  const auto size = FileSize(path);
  if (!size || *size > largest) return std::nullopt;
  if (*size > (uint64_t{64} << 20)) throw std::bad_alloc();
  return files.at(path);
}

bool SimFiles::IsUnder(const std::string& path, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (path.compare(0, folder.size(), folder) == 0) return true;
  }
  return false;
}

bool SimFiles::Writable(const std::string& path) const { return !IsUnder(path, readOnlyFolders); }

bool SimFiles::ReplaceFile(const std::string& path, const std::string& bytes) {
  if (!Writable(path)) return false;
  ++replaces;
  files[path] = bytes;
  modified[path] = clock_.WallTime();
  return true;
}

bool SimFiles::CreateFolder(const std::string& path) {
  if (!Writable(path)) return false;
  if (!FolderExists(path)) folders.push_back(path);
  return true;
}

bool SimFiles::FolderExists(const std::string& path) {
  return std::find(folders.begin(), folders.end(), path) != folders.end();
}

bool SimFiles::CopyFileTo(const std::string& from, const std::string& to) {
  auto source = files.find(from);
  if (source == files.end() || !Writable(to)) return false;
  files[to] = source->second;
  return true;
}

bool SimFiles::DeleteFilesIn(const std::string& folder) {
  const std::string prefix = folder + "\\";
  std::erase_if(files, [&](const auto& file) {
    return file.first.compare(0, prefix.size(), prefix) == 0 &&
           file.first.find('\\', prefix.size()) == std::string::npos;
  });
  return true;
}

namespace {

// The name of a direct entry of folder in path, or nullopt.
std::optional<std::string> EntryName(const std::string& folder, const std::string& path) {
  const std::string prefix = folder + "\\";
  if (path.compare(0, prefix.size(), prefix) != 0 ||
      path.find('\\', prefix.size()) != std::string::npos || path.size() == prefix.size()) {
    return std::nullopt;
  }
  return path.substr(prefix.size());
}

}  // namespace

std::vector<std::string> SimFiles::FilesWithExtension(const std::string& folder,
                                                      const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& [path, bytes] : files) {
    const auto name = EntryName(folder, path);
    if (name && name->size() >= extension.size() &&
        LowerText(name->substr(name->size() - extension.size())) == LowerText(extension)) {
      names.insert(names.begin(), *name);
    }
  }
  return names;
}

std::vector<std::string> SimFiles::Subfolders(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::string& path : folders) {
    if (const auto name = EntryName(folder, path)) names.insert(names.begin(), *name);
  }
  return names;
}

std::string SimRegistry::KeyPathOf(RegistryRoot root, const std::string& key) {
  return (root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + key;
}

std::string SimRegistry::PathOf(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  return KeyPathOf(root, key) + "\\" + name;
}

void SimRegistry::SetText(RegistryRoot root, const std::string& key, const std::string& name,
                          const std::string& text) {
  keys.insert(KeyPathOf(root, key));
  values[PathOf(root, key, name)] = RegistryData{reg::kText, text, {}};
}

std::optional<std::string> SimRegistry::Text(RegistryRoot root, const std::string& key,
                                             const std::string& name) {
  const auto data = ReadValue(root, key, name);
  if (!data || (data->type != reg::kText && data->type != reg::kExpandableText)) {
    return std::nullopt;
  }
  return data->text;
}

bool SimRegistry::Writable(RegistryRoot root, const std::string& key) const {
  const std::string path = KeyPathOf(root, key);
  for (const std::string& locked : readOnlyKeys) {
    if (path.compare(0, locked.size(), locked) == 0 &&
        (path.size() == locked.size() || path[locked.size()] == '\\')) {
      return false;
    }
  }
  return true;
}

bool SimRegistry::KeyExists(RegistryRoot root, const std::string& key) {
  return keys.count(KeyPathOf(root, key)) != 0;
}

bool SimRegistry::CreateKey(RegistryRoot root, const std::string& key) {
  if (KeyExists(root, key)) return Writable(root, key);
  if (!Writable(root, key)) return false;
  keys.insert(KeyPathOf(root, key));
  return true;
}

bool SimRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
  const std::string path = KeyPathOf(root, key);
  if (!KeyExists(root, key) || !Writable(root, key)) return false;
  const auto below = SubkeyNames(root, key);
  if (below && !below->empty()) return false;
  keys.erase(path);
  std::erase_if(values, [&](const auto& value) {
    return value.first.compare(0, path.size() + 1, path + "\\") == 0;
  });
  return true;
}

std::optional<RegistryData> SimRegistry::ReadValue(RegistryRoot root, const std::string& key,
                                                   const std::string& name) {
  auto found = values.find(PathOf(root, key, name));
  if (found == values.end()) return std::nullopt;
  return found->second;
}

bool SimRegistry::WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                             const RegistryData& data) {
  if (!CreateKey(root, key)) return false;
  values[PathOf(root, key, name)] = data;
  return true;
}

bool SimRegistry::DeleteValue(RegistryRoot root, const std::string& key,
                              const std::string& name) {
  if (!KeyExists(root, key)) return true;
  if (!Writable(root, key)) return false;
  values.erase(PathOf(root, key, name));
  return true;
}

std::optional<std::vector<std::string>> SimRegistry::ValueNames(RegistryRoot root,
                                                                const std::string& key) {
  if (!KeyExists(root, key)) return std::nullopt;
  const std::string head = KeyPathOf(root, key) + "\\";
  std::vector<std::string> names;
  for (const auto& [path, data] : values) {
    if (path.compare(0, head.size(), head) == 0 &&
        path.find('\\', head.size()) == std::string::npos) {
      names.push_back(path.substr(head.size()));
    }
  }
  return names;
}

std::optional<std::vector<std::string>> SimRegistry::SubkeyNames(RegistryRoot root,
                                                                 const std::string& key) {
  if (!KeyExists(root, key)) return std::nullopt;
  const std::string head = KeyPathOf(root, key) + "\\";
  std::vector<std::string> names;
  for (const std::string& path : keys) {
    if (path.compare(0, head.size(), head) == 0 &&
        path.find('\\', head.size()) == std::string::npos) {
      names.push_back(path.substr(head.size()));
    }
  }
  return names;
}

bool SimShell::Apply(const std::string& path) {
  if (duringSet) duringSet();
  if (refuse || (!path.empty() && !files_.FileExists(path))) return false;
  applied.push_back(path);
  registry_.SetText(RegistryRoot::CurrentUser, "Control Panel\\Desktop", "Wallpaper", path);
  return true;
}

bool SimShell::SetSystemWallpaper(const std::string& path) { return Apply(path); }

std::optional<bool> SimShell::ActiveDesktopOption() {
  if (!activeDesktopExists) return std::nullopt;
  return activeDesktopOn;
}

bool SimShell::EnableActiveDesktop() {
  if (!activeDesktopExists) return false;
  activeDesktopOn = true;
  return true;
}

bool SimShell::SetActiveDesktopWallpaper(const std::string& path) {
  return activeDesktopExists && Apply(path);
}

void SimShell::UserSets(const std::string& path, const std::string& wallpaperStyle,
                        const std::string& tile) {
  const std::string key = "Control Panel\\Desktop";
  registry_.SetText(RegistryRoot::CurrentUser, key, "Wallpaper", path);
  registry_.SetText(RegistryRoot::CurrentUser, key, "WallpaperStyle", wallpaperStyle);
  registry_.SetText(RegistryRoot::CurrentUser, key, "TileWallpaper", tile);
}

bool SimShell::OpenDocument(Hwnd, const std::string& pathOrAddress) {
  if (std::find(unopenable.begin(), unopenable.end(), pathOrAddress) != unopenable.end()) {
    return false;
  }
  opened.push_back(pathOrAddress);
  return true;
}

bool SimShell::StartProgram(const std::string& path, const std::string& arguments) {
  if (!files_.FileExists(path)) return false;
  started.push_back(path + "|" + arguments);
  return true;
}

std::string SimUi::ChooseFileToOpen(Hwnd owner, const std::string& title,
                                    const std::vector<FileFilter>& filters) {
  fileDialogs.push_back({owner, title, filters});
  if (fileChoices.empty()) return "";
  std::string chosen = std::move(fileChoices.front());
  fileChoices.pop_front();
  return chosen;
}

IconHandle SimUi::LoadIconFile(const std::string& path) {
  if (std::find(iconFiles.begin(), iconFiles.end(), path) == iconFiles.end()) return 0;
  auto [found, added] =
      loadedIcons.emplace(path, 0x7200 + static_cast<IconHandle>(loadedIcons.size()));
  return found->second;
}

void SimUi::WaitMessage() {
  if (userActions.empty()) {
    throw std::logic_error("a modal loop waits for the user, and the test has nothing left to do");
  }
  std::function<void()> action = std::move(userActions.front());
  userActions.pop_front();
  action();
}

void SimFormHost::RemoveCloseMenu(Form& form) {
  if (SimWindow* window = windows_.Get(form.hwnd)) window->closeCommand = false;
}

World::World() {
  windows.callerProcess = process.processId;
  windows.onSend = [this](const PostedMessage& m) -> int32_t {
    if (m.hwnd != ui.mainHwnd || !ui.mainEvents) return 0;
    return ui.mainEvents->OnSubscribedMessage(m.message, m.wParam, m.lParam).lReturn;
  };
}

void World::Crash() {
  clock.StopEverything();
  for (Hwnd hwnd : windows.TopLevelWindows()) {
    if (windows.WindowThreadProcess(hwnd).processId == process.processId) windows.Destroy(hwnd);
  }
  ui.mainEvents = nullptr;
  ui.mainHwnd = 0;
  tray.present = false;
}

Hwnd World::Open(const std::string& title, uint32_t processId, Hwnd owner,
                 const std::string& className) {
  SimWindow window;
  window.className = className;
  window.text = title;
  window.processId = processId;
  window.threadId = processId + 1;
  window.owner = owner;
  return windows.Create(window);
}

bool SimWindowSystem::PostMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) {
  posted.push_back({hwnd, message, wParam, lParam});
  return IsWindow(hwnd);
}

int32_t SimWindowSystem::SendMessage(Hwnd hwnd, uint32_t message, int32_t wParam, int32_t lParam) {
  sent.push_back({hwnd, message, wParam, lParam});
  return onSend ? onSend(sent.back()) : 0;
}

uint32_t SimWindowSystem::RegisterMessage(const std::string& name) {
  constexpr uint32_t kFirstRegistered = 0xC000;
  return registeredMessages_.try_emplace(name, kFirstRegistered + registeredMessages_.size())
      .first->second;
}

std::optional<int32_t> SimRunningInstance::Ask(uint32_t message, int32_t wParam, int32_t lParam) {
  if (!answers) return std::nullopt;
  // What the main window does not handle gets the default processing's 0.
  const MessageResult result = mainWindow->OnSubscribedMessage(message, wParam, lParam);
  return result.bHandled ? result.lReturn : 0;
}

bool SimWindowSystem::SendMessageTimeout(Hwnd hwnd, uint32_t message, int32_t wParam,
                                         int32_t lParam, uint32_t) {
  SimWindow* window = Get(hwnd);
  if (!window || window->hung) return false;
  SendMessage(hwnd, message, wParam, lParam);
  constexpr uint32_t kClose = 16;
  if (message == kClose) Destroy(hwnd);
  return true;
}

Termination SimProcess::TerminateProcess(uint32_t processId, uint32_t) {
  auto found = processes.find(processId);
  if (found == processes.end()) return Termination::NotOpened;
  if (critical.count(processId) != 0) return Termination::Critical;
  if (!found->second) return Termination::Failed;
  killed.push_back(processId);
  return Termination::Done;
}

std::string SimProcess::ProgramOfProcess(uint32_t processId) {
  auto found = programs.find(processId);
  return found == programs.end() ? std::string() : found->second;
}

std::optional<std::string> SimProcess::DerivePasswordKey(const std::string& password,
                                                         const std::string& salt,
                                                         uint32_t iterations, size_t keyLength) {
  ++keysDerived;
  if (cryptoFails || iterations < 1 || iterations > INT_MAX || keyLength > INT_MAX) {
    return std::nullopt;
  }
  std::string key(keyLength, '\0');
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                        reinterpret_cast<const unsigned char*>(salt.data()),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                        static_cast<int>(keyLength), reinterpret_cast<unsigned char*>(key.data())) != 1) {
    return std::nullopt;
  }
  return key;
}

std::optional<std::string> SimProcess::RandomBytes(size_t n) {
  std::string bytes(n, '\0');
  if (cryptoFails || n > INT_MAX ||
      RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(n)) != 1) {
    return std::nullopt;
  }
  return bytes;
}

Hwnd SimWindowSystem::ForegroundWindow() { return foreground; }

bool SimWindowSystem::SetForegroundWindow(Hwnd hwnd) {
  if (!IsWindow(hwnd)) return false;
  foreground = hwnd;
  return true;
}

bool SimWindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int, int, int, int,
                                   uint32_t flags) {
  if (!IsWindow(hwnd)) return false;
  constexpr uint32_t kNoActivate = 0x10;
  if ((flags & kNoActivate) == 0) foreground = hwnd;
  constexpr Hwnd kBottom = 1;
  if (insertAfter == kBottom) {
    SendToBottom(hwnd);
  } else {
    BringToTop(hwnd);
  }
  return true;
}

std::optional<std::string> MemoryStore::Read(const std::string& section, const std::string& key) {
  auto s = sections.find(section);
  if (s == sections.end()) return std::nullopt;
  auto k = s->second.find(key);
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

bool MemoryStore::Write(const std::string& section, const std::string& key,
                        const std::string& value) {
  if (failWrites || lockedKeys.count(key) != 0) return false;
  ++writes;
  sections[section][key] = value;
  return true;
}

bool MemoryStore::Delete(const std::string& section, const std::string& key) {
  if (failWrites || lockedKeys.count(key) != 0) return false;
  auto s = sections.find(section);
  if (s != sections.end()) s->second.erase(key);
  return true;
}

bool SimTray::Add(int id, const std::string& tip, IconHandle picture) {
  if (id != 1 || owner == 0 || !shellUp) return false;
  tooltip = tip;
  icon = picture;
  if (!present) ++adds;
  present = true;
  return true;
}

bool SimTray::ChangeIcon(int id, IconHandle picture) {
  if (id != 1 || !present) return false;
  icon = picture;
  return true;
}

bool SimTray::ChangeTooltip(int id, const std::string& tip) {
  if (id != 1 || !present) return false;
  tooltip = tip;
  tooltips.push_back(tip);
  return true;
}

void SimTray::Remove() {
  if (present) ++removes;
  present = false;
}

bool SimTray::Balloon(const std::string& text, const std::string& title, int iconType,
                      int timeoutMs) {
  if (!present) return false;
  balloons.push_back({text, title, iconType, timeoutMs});
  return true;
}

int SimUi::MessageBox(Hwnd, const std::string& text, const std::string& title, uint32_t style) {
  boxes.push_back({text, title, style});
  if (duringBox) duringBox();
  if (!boxAnswers.empty()) {
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
  }
  constexpr int kOk = 1;
  constexpr int kNo = 7;
  constexpr uint32_t kYesNoButtons = 4;
  return (style & 0xF) == kYesNoButtons ? kNo : kOk;
}

Hwnd SimUi::CreateMainWindow(MainWindowEvents& events) {
  if (mainEvents) throw std::logic_error("the main window exists already");
  if (mainWindowFails) return 0;
  mainEvents = &events;
  SimWindow window;
  window.className = "ThunderRT6FormDC";
  window.text = "OmbrixMainWND";
  window.visible = false;
  window.processId = process_.processId;
  mainHwnd = windows_.Create(window);
  return mainHwnd;
}

void SimUi::StartTimer(int id, uint32_t intervalMs) {
  clock_.Start(this, id, static_cast<int>(intervalMs), [this, id] {
    if (mainEvents && !mainDestroyed) mainEvents->OnTimer(id);
  });
}

void SimUi::DestroyMainWindow() {
  clock_.StopAll(this);
  windows_.Destroy(mainHwnd);
  mainDestroyed = true;
}

void SimUi::DoEvents() {
  ++doEvents;
  while (!queue.empty() && mainEvents) {
    const PostedMessage next = queue.front();
    queue.pop_front();
    mainEvents->OnSubscribedMessage(next.message, next.wParam, next.lParam);
  }
}

int SimUi::PopupMenu(Hwnd, const Menu& menu) {
  popups.push_back(menu);
  return choosePopupItem ? choosePopupItem(menu) : 0;
}

Hwnd SimFormHost::Load(Form& form) {
  if (form.hwnd != 0) return form.hwnd;
  SimWindow window;
  window.className = "OmbrixForm";
  window.text = form.Caption;
  window.visible = false;
  window.processId = process_.processId;
  window.exStyle = form.topmost ? 0x8 : 0;
  form.hwnd = windows_.Create(window);
  ++loads;
  loaded_.push_back(&form);
  form.OnLoad();
  SyncTimers(form);
  return form.hwnd;
}

// As the real host: a timer runs while it is enabled with an interval; one enabled again
// after it stopped starts a new interval.
void SimFormHost::SyncTimers(Form& form) {
  for (size_t i = 0; i < form.Controls().size(); ++i) {
    const Control& control = form.Controls()[i];
    if (control.kind != ControlKind::Timer) continue;
    const bool wanted = control.Enabled && control.Interval > 0;
    const int id = static_cast<int>(i);
    if (!wanted) {
      clock_.Stop(&form, id);
    } else if (!clock_.Running(&form, id)) {
      clock_.Start(&form, id, control.Interval, [&form, i] {
        if (i < form.Controls().size()) form.OnTimer(form.Controls()[i]);
      });
    }
  }
}

void SimFormHost::Show(Form& form) {
  SimWindow* window = windows_.Get(form.hwnd);
  if (!window) return;
  window->visible = true;
  constexpr Hwnd kTopMost = -1;
  constexpr uint32_t kNoSizeNoMoveNoActivate = 0x13;
  if (form.topmost) windows_.SetWindowPos(form.hwnd, kTopMost, 0, 0, 0, 0, kNoSizeNoMoveNoActivate);
}

void SimFormHost::Hide(Form& form) {
  if (SimWindow* window = windows_.Get(form.hwnd)) window->visible = false;
}

Form* SimFormHost::Loaded(const std::string& name) {
  for (Form* form : loaded_) {
    if (form->Name == name) return form;
  }
  return nullptr;
}

void SimFormHost::Unload(Form& form) {
  std::erase(loaded_, &form);
  clock_.StopAll(&form);
  windows_.Destroy(form.hwnd);
  form.hwnd = 0;
}

void SimFormHost::Refresh(Form& form) {
  SimWindow* window = windows_.Get(form.hwnd);
  if (!window) return;
  window->text = form.Caption;
  SyncTimers(form);
}

bool SimFormHost::Reachable(Form& form, const Control& control) {
  return form.hwnd != 0 && control.Enabled && form.Shows(control);
}

Control& ControlNamed(Form& form, const std::string& name, int index) {
  for (Control& control : form.Controls()) {
    if (control.Name == name && control.Index == index) return control;
  }
  throw std::logic_error(form.Name + " has no control " + name);
}

Control& SimFormHost::Reach(Form& form, const std::string& name, int index) {
  Control& control = ControlNamed(form, name, index);
  if (!Reachable(form, control)) {
    throw std::logic_error("the user cannot reach " + name + ": it is disabled or not shown");
  }
  return control;
}

void SimFormHost::Click(Form& form, const std::string& name, int index) {
  Control& control = Reach(form, name, index);
  if (control.kind == ControlKind::CheckBox) control.Value = !control.Value;
  if (control.kind == ControlKind::OptionButton) form.SelectOption(control);
  form.OnClick(control);
}

void SimFormHost::Type(Form& form, const std::string& name, const std::string& text) {
  Control& control = Reach(form, name, -1);
  control.Caption = FitText(control, text);
  form.OnChange(control);
}

void SimFormHost::Choose(Form& form, const std::string& name, const std::string& item) {
  Control& control = Reach(form, name, -1);
  const auto found = std::find(control.Items.begin(), control.Items.end(), item);
  if (found == control.Items.end()) throw std::logic_error(name + " does not list " + item);
  control.ListIndex = static_cast<int>(found - control.Items.begin());
  form.OnChange(control);
}

void SimFormHost::ChooseTab(Form& form, const std::string& name, int tab) {
  Control& control = Reach(form, name, -1);
  if (tab < 0 || static_cast<size_t>(tab) >= control.Items.size()) {
    throw std::logic_error(name + " has no tab " + std::to_string(tab));
  }
  control.ListIndex = tab;
  form.OnClick(control);
}

void SimFormHost::Pick(Form& form, const std::string& name, int position, int index) {
  Control& control = Reach(form, name, index);
  const size_t count =
      control.kind == ControlKind::ComboBox ? control.Items.size() : control.ListItems.size();
  if (position < 0 || static_cast<size_t>(position) >= count) {
    throw std::logic_error(name + " has no item " + std::to_string(position));
  }
  control.ListIndex = position;
  if (control.kind == ControlKind::ComboBox) {
    form.OnChange(control);
  } else {
    form.OnClick(control);
  }
}

Size SimFormHost::MeasureText(const Font&, const std::string& text) {
  return Size{static_cast<int32_t>(text.size()) * 7, 16};
}

}  // namespace ombrix::sim
