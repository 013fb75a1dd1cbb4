// A stand-in for OmbrixLib.dll that loads and has the nine exports, but whose SetHook cannot
// install the keyboard hook, as when the system refuses it.
#include <windows.h>

extern "C" {
__declspec(dllexport) BOOL WINAPI SetHook(HWND, int) { return FALSE; }
__declspec(dllexport) BOOL WINAPI UnHook() { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeAltArrows(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeCtrlArrows(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeWinArrows(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeAltNum(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeCtrlNum(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI TakeWinNum(int) { return TRUE; }
__declspec(dllexport) BOOL WINAPI IgnoreHook(int) { return TRUE; }
}
