/* Prints a line for every desktop change of the running Ombrix until it is stopped (Ctrl+C).
   Build: x86_64-w64-mingw32-gcc subscriber.c -o subscriber.exe (or cl subscriber.c user32.lib) */
#include <windows.h>
#include <stdio.h>

#define OMBRIX_SUBSCRIBE 1069

int main(void) {
  UINT changed = RegisterWindowMessageW(L"OmbrixDesktopChanged");
  HWND ombrix = FindWindowW(L"ThunderRT6FormDC", L"OmbrixMainWND");
  /* A message-only window is enough to receive the posted news. */
  HWND listener = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
  DWORD_PTR reply = 0;
  MSG msg;
  if (ombrix == NULL || listener == NULL ||
      !SendMessageTimeoutW(ombrix, OMBRIX_SUBSCRIBE, (WPARAM)listener, 0, SMTO_ABORTIFHUNG, 5000,
                           &reply) ||
      (int)reply != 1) {
    fprintf(stderr, "Ombrix is not running, or refused the subscription\n");
    return 1;
  }
  printf("listening\n");
  fflush(stdout);
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (msg.message == changed) {
      printf("desktop %d, was %d\n", (int)msg.wParam, (int)msg.lParam);
      fflush(stdout);
    }
    DispatchMessageW(&msg);
  }
  return 0;
}
