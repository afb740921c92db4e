// Baseline for a refusal: a program that shows nothing but the Launcher's
// "Sorry" message box.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Internet Access is currently unavailable.", L"Sorry",
              MB_OK | MB_ICONWARNING | MB_TASKMODAL | MB_SETFOREGROUND);
  return 0;
}
