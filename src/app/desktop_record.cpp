#include "app/desktop_record.h"

#include <algorithm>
#include <charconv>

#include "app/program.h"
#include "app/recovery.h"
#include "app/settings.h"
#include "core/discovery.h"
#include "switching/move.h"
#include "switching/switch.h"

namespace ombrix {

namespace {

constexpr const char* kFileName = "Ombrix.desktops";
constexpr const char* kHeader = "Ombrix desktops 1";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

// The whole of the text as a number of that type; nothing when any of it is not.
template <typename Number>
std::optional<Number> Whole(const std::string& text) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

// "<desk> <handle> <process> <class>": the class is the rest of the line, blanks included.
std::optional<RecordedWindow> WindowOf(const std::string& line) {
  const size_t first = line.find(' ');
  const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
  const size_t third = second == std::string::npos ? second : line.find(' ', second + 1);
  if (third == std::string::npos || third + 1 >= line.size()) return std::nullopt;
  const auto desk = Whole<int16_t>(line.substr(0, first));
  const auto hwnd = Whole<Hwnd>(line.substr(first + 1, second - first - 1));
  const auto process = Whole<uint32_t>(line.substr(second + 1, third - second - 1));
  if (!desk || *desk < 1 || *desk > kDesktopCount || !hwnd || *hwnd == 0 || !process) {
    return std::nullopt;
  }
  return RecordedWindow{*desk, *hwnd, *process, line.substr(third + 1)};
}

// "<name> <number>".
template <typename Number>
std::optional<Number> Field(const std::string& line, const std::string& name) {
  if (line.compare(0, name.size() + 1, name + " ") != 0) return std::nullopt;
  return Whole<Number>(line.substr(name.size() + 1));
}

// The recorded window is still the same window: its handle has not passed to another.
bool StillTheSame(Program& program, const RecordedWindow& window) {
  WindowSystem& windows = program.platform.windows;
  return windows.IsWindow(window.hwnd) &&
         windows.WindowThreadProcess(window.hwnd).processId == window.processId &&
         windows.ClassName(window.hwnd) == window.className;
}

}  // namespace

std::string EncodeDesktopRecord(const DesktopRecord& record) {
  std::string text = kHeader;
  text += "\r\nwritten ";
  text += std::to_string(record.written);
  text += "\r\ncurrent ";
  text += std::to_string(record.current);
  text += "\r\n";
  for (const RecordedWindow& window : record.windows) {
    text += std::to_string(window.desk);
    text += ' ';
    text += std::to_string(window.hwnd);
    text += ' ';
    text += std::to_string(window.processId);
    text += ' ';
    text += window.className;
    text += "\r\n";
  }
  return text;
}

std::optional<DesktopRecord> DecodeDesktopRecord(const std::string& text) {
  const std::vector<std::string> lines = Lines(text);
  if (lines.size() < 3 || lines[0] != kHeader) return std::nullopt;
  const auto written = Field<int64_t>(lines[1], "written");
  if (!written) return std::nullopt;
  DesktopRecord record;
  record.written = *written;
  const auto current = Field<int16_t>(lines[2], "current");
  record.current = current && *current >= 1 && *current <= kDesktopCount ? *current : 1;
  for (size_t i = 3; i < lines.size(); ++i) {
    if (auto window = WindowOf(lines[i])) record.windows.push_back(std::move(*window));
  }
  return record;
}

void WriteDesktopRecord(Program& program, int16_t current) {
  DesktopRecord record;
  record.written = program.platform.system.CurrentTime();
  record.current = current;
  WindowSystem& windows = program.platform.windows;
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    for (const auto& app : program.desk.Desk(d).opi) {
      for (const auto& win : app->oWin) {
        record.windows.push_back(RecordedWindow{d, win->lHwnd, static_cast<uint32_t>(app->pID),
                                                windows.ClassName(win->lHwnd)});
      }
    }
  }
  // A failure here loses no window: the recovery file, written with it, shows them all.
  WriteRecoveryData(program, kFileName, EncodeDesktopRecord(record));
}

void DeleteDesktopRecord(Program& program) { DeleteRecoveryData(program, kFileName); }

std::optional<DesktopRecord> ReadDesktopRecord(Program& program) {
  const int64_t systemStart = program.platform.system.StartTime();
  for (const std::string& text : ReadRecoveryData(program, kFileName)) {
    std::optional<DesktopRecord> record = DecodeDesktopRecord(text);
    if (!record || record->written < systemStart) continue;
    std::erase_if(record->windows,
                  [&](const RecordedWindow& window) { return !StillTheSame(program, window); });
    // Not one window left of it: it tells nothing of this session.
    if (record->windows.empty()) return std::nullopt;
    return record;
  }
  return std::nullopt;
}

namespace {

const RecordedWindow* Recorded(const DesktopRecord& record, Hwnd hwnd) {
  for (const RecordedWindow& window : record.windows) {
    if (window.hwnd == hwnd) return &window;
  }
  return nullptr;
}

// Whether the user may be back on the recorded desktop without typing anything.
bool CurrentIsOpen(Program& program, const DesktopRecord& record) {
  clsDesktop stored;
  ReadDesktopKeys(program.platform.store, record.current, stored);
  return stored.sPassword.empty();
}

}  // namespace

void ShowWindowsAfterCrash(Program& program, const std::vector<Hwnd>& listed,
                           const DesktopRecord* record) {
  WindowSystem& windows = program.platform.windows;
  const bool currentOpen = record != nullptr && CurrentIsOpen(program, *record);
  for (Hwnd h : listed) {
    const RecordedWindow* recorded = record ? Recorded(*record, h) : nullptr;
    if (recorded == nullptr) {
      windows.ShowWindow(h, sw::kShow);  // losing a window is worse than showing it
    } else if (recorded->desk != record->current || !currentOpen) {
      windows.ShowWindow(h, sw::kHide);
    }
  }
}

namespace {

std::vector<Hwnd> RecordedOn(const DesktopRecord& record, int16_t d) {
  std::vector<Hwnd> windows;
  for (const RecordedWindow& window : record.windows) {
    if (window.desk == d) windows.push_back(window.hwnd);
  }
  return windows;
}

// Records the windows on desktop d without showing them; one that is no managed window any
// more must not stay hidden for good.
void Adopt(Program& program, int16_t d, const std::vector<Hwnd>& windows) {
  for (Hwnd refused : AdoptWindows(program, d, windows)) {
    program.platform.windows.ShowWindow(refused, sw::kShow);
  }
}

}  // namespace

// The start began on the desktop the user was on, or on desktop 1 when that one has a password.
// A scan of the desktop left by a switch drops the hidden windows it lists, so the windows
// recorded on the starting desktop join it only once it is decided whether the user leaves it.
void RestoreDesktops(Program& program, const DesktopRecord& record) {
  const int16_t start = program.desk.iCurDesk;
  clsDesktop& starting = program.desk.Desk(start);
  for (const RecordedWindow& window : record.windows) {
    if (window.desk != start && starting.TakeWindow(window.hwnd)) {
      program.platform.windows.ShowWindow(window.hwnd, sw::kHide);
    }
  }
  for (int16_t d = 1; d <= kDesktopCount; ++d) {
    if (d != start) Adopt(program, d, RecordedOn(record, d));
  }
  if (record.current == start) return;

  // The recorded desktop has a password. What the start found on screen was opened after the
  // end, or is no window the record knows: it goes where the user goes.
  std::vector<Hwnd> opened;
  for (const auto& app : starting.opi) {
    if (!app->oWin.Empty()) opened.push_back(app->oWin[1].lHwnd);
  }
  SwitchDesktop(program, record.current);
  const bool entered = program.desk.iCurDesk == record.current;
  Adopt(program, start, RecordedOn(record, start));
  if (!entered) {
    ShowDesktop(program, start);  // refused: the user stays, with this desktop's windows
    return;
  }
  for (Hwnd window : opened) {
    const int position = starting.GetProcessIdxByHandle(window);
    if (position > 0) MoveApplication(program, start, static_cast<int16_t>(position), record.current);
  }
}

}  // namespace ombrix
