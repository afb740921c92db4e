// Baseline: the least a program does to show a window. Its title is the
// command line, so that the timer finds it as it finds the program it stands
// beside.
#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR title, int) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = L"EmptyWindow";
  RegisterClassExW(&window_class);
  // A fixed dialog frame of about the programs' size.
  HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, window_class.lpszClassName, title,
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 200, 200, 440, 300,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
