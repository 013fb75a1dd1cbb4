// Helpers that probe.exe's commands share. Waits keep pumping this thread's messages: under Wine
// a thread that waits without pumping can stall.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

std::string Utf8(const std::wstring& text);
// Runs this thread's messages until `ms` have passed.
void PumpFor(DWORD ms);
// Polls `holds` until it is true or `timeoutMs` have passed; true when it held.
bool WaitFor(DWORD timeoutMs, const std::function<bool()>& holds);
// A left click at a point of the screen, as the mouse gives it.
void ClickAt(LONG x, LONG y);
