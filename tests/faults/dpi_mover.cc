// Loaded into a program before it runs (injector.cc, with INJECTED_LIBRARY set
// to this DLL), this does inside the program what Windows does when the
// program's window is moved to a monitor of another DPI, which Wine never does
// (every monitor of a prefix has its one DPI): it sends the window
// WM_GETDPISCALEDSIZE and then WM_DPICHANGED with the rectangle Windows would
// suggest, which a message sent from another process would not carry. It also
// counts the GDI objects and icons that the program's own code has made and
// not freed, by patching the exe's imports: Wine's GetGuiResources answers 0.
// With DPI_MOVER_MONITOR set to a DPI, the program's window opens on a monitor
// of that DPI: GetDpiForWindow, as the program looks it up, answers it.
//
// Once the program shows its window, a hidden window of class "DpiMover" of
// the same process takes two messages, from any process:
//   kMoveTo (WM_APP + 1)  wParam a DPI: the program's window moves to a
//                         monitor of that DPI, its corner staying where it
//                         is, and is painted; returns 1, or 0 when the
//                         program has no window
//   kCount  (WM_APP + 2)  wParam 0 for the GDI objects, 1 for the icons:
//                         how many the program has made and not freed
//   kFontHeight (WM_APP + 3)  wParam a control's window: the height in
//                         pixels of its font, or 0 when it has none
#include <windows.h>

#include <set>

#include "import_hooks.h"

namespace {

constexpr wchar_t kFormClass[] = L"BrowserLauncherForm";
constexpr UINT kMoveTo = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;
constexpr UINT kFontHeight = WM_APP + 3;
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

HMODULE self;
SRWLOCK lock = SRWLOCK_INIT;
std::set<void*> gdi_objects, icons;  // made by the program and not freed
int window_dpi = 0;                  // the DPI the window was last moved to
UINT monitor_dpi = 0;                // DPI_MOVER_MONITOR

decltype(&CreateFontW) real_create_font;
decltype(&CreateSolidBrush) real_create_solid_brush;
decltype(&CreatePen) real_create_pen;
decltype(&DeleteObject) real_delete_object;
decltype(&LoadImageW) real_load_image;
decltype(&DestroyIcon) real_destroy_icon;
decltype(&GetProcAddress) real_get_proc_address;

void Track(std::set<void*>& objects, void* handle) {
  if (!handle) return;
  AcquireSRWLockExclusive(&lock);
  objects.insert(handle);
  ReleaseSRWLockExclusive(&lock);
}

void Forget(std::set<void*>& objects, void* handle) {
  AcquireSRWLockExclusive(&lock);
  objects.erase(handle);
  ReleaseSRWLockExclusive(&lock);
}

HFONT WINAPI TrackedCreateFont(int height, int width, int escapement, int orientation, int weight,
                               DWORD italic, DWORD underline, DWORD strike_out, DWORD charset,
                               DWORD precision, DWORD clip, DWORD quality, DWORD pitch,
                               LPCWSTR face) {
  HFONT font = real_create_font(height, width, escapement, orientation, weight, italic, underline,
                                strike_out, charset, precision, clip, quality, pitch, face);
  Track(gdi_objects, font);
  return font;
}

HBRUSH WINAPI TrackedCreateSolidBrush(COLORREF colour) {
  HBRUSH brush = real_create_solid_brush(colour);
  Track(gdi_objects, brush);
  return brush;
}

HPEN WINAPI TrackedCreatePen(int style, int width, COLORREF colour) {
  HPEN pen = real_create_pen(style, width, colour);
  Track(gdi_objects, pen);
  return pen;
}

BOOL WINAPI TrackedDeleteObject(HGDIOBJ object) {
  BOOL deleted = real_delete_object(object);
  if (deleted) Forget(gdi_objects, object);
  return deleted;
}

HANDLE WINAPI TrackedLoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height,
                               UINT flags) {
  HANDLE image = real_load_image(instance, name, type, width, height, flags);
  if (type == IMAGE_ICON) Track(icons, image);
  return image;
}

BOOL WINAPI TrackedDestroyIcon(HICON icon) {
  BOOL destroyed = real_destroy_icon(icon);
  if (destroyed) Forget(icons, icon);
  return destroyed;
}

UINT WINAPI DpiOfTheMonitor(HWND) { return monitor_dpi; }

FARPROC WINAPI LookUpOnTheMonitor(HMODULE module, LPCSTR name) {
  if (monitor_dpi && !IS_INTRESOURCE(name) && lstrcmpA(name, "GetDpiForWindow") == 0) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&DpiOfTheMonitor));
  }
  return real_get_proc_address(module, name);
}

// Points the exe's imports of the hooked names at the hooks.
void HookImports() {
  PatchImports({
      HookOf("gdi32.dll", "CreateFontW", &TrackedCreateFont, &real_create_font),
      HookOf("gdi32.dll", "CreateSolidBrush", &TrackedCreateSolidBrush, &real_create_solid_brush),
      HookOf("gdi32.dll", "CreatePen", &TrackedCreatePen, &real_create_pen),
      HookOf("gdi32.dll", "DeleteObject", &TrackedDeleteObject, &real_delete_object),
      HookOf("user32.dll", "LoadImageW", &TrackedLoadImage, &real_load_image),
      HookOf("user32.dll", "DestroyIcon", &TrackedDestroyIcon, &real_destroy_icon),
      HookOf("kernel32.dll", "GetProcAddress", &LookUpOnTheMonitor, &real_get_proc_address),
  });
}

BOOL CALLBACK FindForm(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t name[64];
  if (process != GetCurrentProcessId() || !GetClassNameW(window, name, 64) ||
      lstrcmpW(name, kFormClass) != 0) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND ProgramWindow() {
  HWND found = nullptr;
  EnumWindows(FindForm, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Windows's suggestion: the size the window asks for at that DPI, or else its
// present size scaled; the corner where it is.
bool MoveTo(int dpi) {
  HWND window = ProgramWindow();
  if (!window) return false;
  if (window_dpi == 0 && monitor_dpi) window_dpi = static_cast<int>(monitor_dpi);
  if (window_dpi == 0) {  // the prefix's DPI, which Wine gives every window
    HDC screen = GetDC(nullptr);
    window_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  RECT frame;
  GetWindowRect(window, &frame);
  SIZE size{MulDiv(frame.right - frame.left, dpi, window_dpi),
            MulDiv(frame.bottom - frame.top, dpi, window_dpi)};
  SendMessageW(window, kGetDpiScaledSize, static_cast<WPARAM>(dpi), reinterpret_cast<LPARAM>(&size));
  RECT suggested{frame.left, frame.top, frame.left + size.cx, frame.top + size.cy};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  window_dpi = dpi;
  // Painted before the counts, which then hold what painting makes.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return true;
}

LRESULT Count(const std::set<void*>& objects) {
  AcquireSRWLockShared(&lock);
  auto count = static_cast<LRESULT>(objects.size());
  ReleaseSRWLockShared(&lock);
  return count;
}

LRESULT FontHeight(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (!font || !GetObjectW(font, sizeof description, &description)) return 0;
  return description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
}

LRESULT CALLBACK MoverProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kMoveTo) return MoveTo(static_cast<int>(wparam));
  if (message == kCount) return Count(wparam == 0 ? gdi_objects : icons);
  if (message == kFontHeight) return FontHeight(reinterpret_cast<HWND>(wparam));
  return DefWindowProcW(window, message, wparam, lparam);
}

// Waits for the program's window, so as to make no window in a program that
// shows none, then serves the messages.
DWORD WINAPI Serve(void*) {
  while (!ProgramWindow()) Sleep(20);
  WNDCLASSW mover_class{};
  mover_class.lpfnWndProc = MoverProc;
  mover_class.hInstance = self;
  mover_class.lpszClassName = L"DpiMover";
  RegisterClassW(&mover_class);
  CreateWindowExW(0, L"DpiMover", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, self, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    wchar_t dpi[8];
    DWORD length = GetEnvironmentVariableW(L"DPI_MOVER_MONITOR", dpi, 8);
    if (length > 0 && length < 8) monitor_dpi = static_cast<UINT>(_wtoi(dpi));
    HookImports();
    CloseHandle(CreateThread(nullptr, 0, Serve, nullptr, 0, nullptr));
  }
  return TRUE;
}
