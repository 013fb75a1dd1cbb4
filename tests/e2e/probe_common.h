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
std::wstring ClassOf(HWND hwnd);
// The top-level window of that title, or with "@" first, of that class.
HWND Named(const wchar_t* name);
// The Nth (from 1) shown child of that class, in the children's order.
HWND NthShown(HWND parent, const wchar_t* cls, int n);
