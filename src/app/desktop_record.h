// The desktop record: beside the crash-recovery file, which desktop every managed window is on,
// with enough to know the same window again (its handle, process and class) and the time it
// was written. A start after an abnormal end shows every window as the recovery file says, and
// then puts each window it recognises back on its desktop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace ombrix {

class Program;

struct RecordedWindow {
  int16_t desk = 0;
  Hwnd hwnd = 0;
  uint32_t processId = 0;
  std::string className;
};

struct DesktopRecord {
  int64_t written = 0;  // milliseconds since 1970-01-01 UTC
  int16_t current = 1;  // the desktop the user was on
  std::vector<RecordedWindow> windows;
};

std::string EncodeDesktopRecord(const DesktopRecord& record);
// Nothing when the text is no record at all. A line that does not read as a window, or names
// a desktop out of 1..9, is left out; so is a current desktop out of range (it reads as 1).
std::optional<DesktopRecord> DecodeDesktopRecord(const std::string& text);

// Every managed window with its desktop, and current as the user's desktop, written like the
// recovery file: a new file replacing the old one, beside the program or in the fallback folder.
void WriteDesktopRecord(Program& program, int16_t current);
void DeleteDesktopRecord(Program& program);

// The windows of the record that are still the same windows (same process, same class), when
// the record was written since the system last started; a stale record is deleted. Nothing
// when there is no record, or none of its windows is still the same.
std::optional<DesktopRecord> ReadDesktopRecord(Program& program);
// At start after an abnormal end, before anything else: every window the recovery file lists
// comes back on screen, unless the record (when there is one) recognises it. A recognised
// window stays hidden, or is hidden, unless the record puts it on the desktop the user was on
// and that desktop has no password: those are on screen already. A handle whose window the
// record no longer recognises (another process or class now) comes back too, as without a
// record: losing a window is worse.
void ShowWindowsAfterCrash(Program& program, const std::vector<Hwnd>& listed,
                           const DesktopRecord* record);
// After the first discovery at start: every recognised window is recorded on its desktop, on
// screen or not, without being shown or hidden; a window opened after the end joins the
// recorded current desktop, so it stays on screen; one whose window is no longer the same
// stays on desktop 1. Then the recorded current desktop is entered (its password asked, when
// it has one: refused, the user stays on desktop 1).
void RestoreDesktops(Program& program, const DesktopRecord& record);

}  // namespace ombrix
