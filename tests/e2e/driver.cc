// e2e_driver: runs in the same Wine prefix and X display as a program under
// test, finds that program's windows by their titles, prints what a person
// would see as one JSON document on stdout, and acts on the windows the way a
// person would: buttons, keys, closing.
//
// Exit status: 0 done, 1 window or control not found in time (or another
// failure), 2 wrong command line. Errors go to stderr as {"error": "..."}.
// "unseen" instead runs a program where no one sees it and exits with the
// program's exit code.

#include <windows.h>
// commctrl.h needs the types windows.h declares.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr UINT kReplyTimeoutMs = 2000;  // for each message sent to the program under test
constexpr DWORD kPollIntervalMs = 20;

// A window or control that did not turn up in time, or a failed system call.
class Failure : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

// ---------------------------------------------------------------- JSON

constexpr std::string_view kNull = "null";

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string json_string(std::wstring_view text) { return json_string(utf8(text)); }

std::string json_number(long long number) { return std::to_string(number); }

std::string json_bool(bool value) { return value ? "true" : "false"; }

std::string json_handle(const void* handle) {
  return json_number(static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)));
}

std::string json_array(const std::vector<std::string>& items) {
  std::string out = "[";
  for (const std::string& item : items) out += (out.size() > 1 ? "," : "") + item;
  return out + ']';
}

class JsonObject {
 public:
  JsonObject& add(std::string_view key, std::string_view value) {
    body_ += body_.empty() ? "\"" : ",\"";
    body_ += key;
    body_ += "\":";
    body_ += value;
    return *this;
  }
  std::string str() const { return '{' + body_ + '}'; }

 private:
  std::string body_;
};

std::string json_rect(const RECT& rect) {
  return JsonObject()
      .add("left", json_number(rect.left))
      .add("top", json_number(rect.top))
      .add("width", json_number(rect.right - rect.left))
      .add("height", json_number(rect.bottom - rect.top))
      .str();
}

// ---------------------------------------------------------------- windows

// Sends a message to a window of the program under test without hanging on it.
LRESULT send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

std::wstring class_name(HWND hwnd) {
  wchar_t name[256];
  return {name, static_cast<std::size_t>(GetClassNameW(hwnd, name, 256))};
}

// A top-level window's title as the system keeps it: for another process's
// window GetWindowText sends no message, so a busy program cannot stall it.
std::wstring title_of(HWND hwnd) {
  wchar_t title[1024];
  return {title, static_cast<std::size_t>(GetWindowTextW(hwnd, title, 1024))};
}

// A control's current text: WM_GETTEXT crosses processes, and unlike
// GetWindowText it returns what an edit box holds now.
std::wstring text_of(HWND control) {
  std::wstring text(static_cast<std::size_t>(send(control, WM_GETTEXTLENGTH)) + 1, L'\0');
  const LRESULT copied =
      send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

BOOL CALLBACK collect_window(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> top_level_windows() {
  std::vector<HWND> windows;
  EnumWindows(collect_window, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> descendants_of(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, collect_window, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND find_titled(std::wstring_view title, bool visible_only, std::wstring_view window_class = {}) {
  for (HWND hwnd : top_level_windows()) {
    if ((!visible_only || IsWindowVisible(hwnd)) && title_of(hwnd) == title &&
        (window_class.empty() || class_name(hwnd) == window_class)) {
      return hwnd;
    }
  }
  return nullptr;
}

template <class Condition>
void wait_until(Condition done, milliseconds timeout, const std::string& what) {
  const auto deadline = Clock::now() + timeout;
  while (!done()) {
    if (Clock::now() >= deadline) {
      throw Failure(what + " within " + std::to_string(timeout.count()) + " ms");
    }
    Sleep(kPollIntervalMs);
  }
}

HWND wait_for_window(std::wstring_view title, milliseconds timeout,
                     std::wstring_view window_class = {}) {
  HWND found = nullptr;
  wait_until([&] { return (found = find_titled(title, true, window_class)) != nullptr; }, timeout,
             "no visible window titled " + json_string(title));
  return found;
}

HWND wait_for_message_box(std::wstring_view title, milliseconds timeout) {
  return wait_for_window(title, timeout, L"#32770");
}

// Returns once the window's thread has retrieved the given number of queued
// messages (posted or input): each sent message is handled the next time the
// thread looks at its queue, after it dispatched the previous one or from
// within a modal loop such as a message box.
void wait_until_handled(HWND hwnd, std::size_t queued_messages) {
  for (std::size_t i = 0; i <= queued_messages; ++i) send(hwnd, WM_NULL);
}

int parse_number(std::wstring_view digits) {
  if (digits.empty() || digits.size() > 9 || !std::ranges::all_of(digits, iswdigit)) {
    throw UsageError("not a number: " + utf8(digits));
  }
  return std::stoi(std::wstring(digits));
}

// A control given as "#ID" or by its exact text.
HWND find_control(HWND top, std::wstring_view control) {
  const bool by_id = control.starts_with(L'#');
  const int id = by_id ? parse_number(control.substr(1)) : 0;
  for (HWND child : descendants_of(top)) {
    if (by_id ? GetDlgCtrlID(child) == id : text_of(child) == control) return child;
  }
  throw Failure("no control " + json_string(control) + " in window " + json_string(title_of(top)));
}

// Styles as unsigned numbers: WS_POPUP is the sign bit.
std::string json_style(HWND hwnd, int index) {
  return json_number(static_cast<DWORD>(GetWindowLongW(hwnd, index)));
}

RECT window_rect_on_screen(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

RECT window_rect_in_client_of(HWND hwnd, HWND top) {
  RECT rect = window_rect_on_screen(hwnd);
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT client_rect_on_screen(HWND hwnd) {
  RECT rect{};
  GetClientRect(hwnd, &rect);
  MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// ---------------------------------------------------------------- pixels

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A memory DC drawing into 32-bit pixels 0x00RRGGBB, row by row from the top.
class Canvas {
 public:
  Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) {
      throw Failure("cannot make a bitmap of " + std::to_string(width) + "x" +
                    std::to_string(height));
    }
    pixels_ = {static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * height};
    previous_ = SelectObject(dc_, bitmap_.get());
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  std::span<std::uint32_t> pixels() const {
    GdiFlush();
    return pixels_;
  }

 private:
  HDC dc_;
  GdiObject<HBITMAP> bitmap_;
  HGDIOBJ previous_ = nullptr;
  std::span<std::uint32_t> pixels_;
};

// What the screen shows in a rectangle, whichever window it belongs to.
std::unique_ptr<Canvas> capture(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) throw Failure("nothing to capture: the area is empty");
  auto canvas = std::make_unique<Canvas>(width, height);
  BitBlt(canvas->dc(), 0, 0, width, height, ScreenDc().get(), rect.left, rect.top,
         SRCCOPY | CAPTUREBLT);
  return canvas;
}

std::string hex_colour(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

std::string most_frequent_colours(std::span<const std::uint32_t> pixels, std::size_t top) {
  std::map<std::uint32_t, long long> counts;
  for (const std::uint32_t pixel : pixels) ++counts[pixel & 0xFFFFFF];
  std::vector<std::pair<std::uint32_t, long long>> ranked(counts.begin(), counts.end());
  std::ranges::stable_sort(ranked, std::greater{}, &std::pair<std::uint32_t, long long>::second);
  ranked.resize(std::min(top, ranked.size()));
  std::vector<std::string> colours;
  for (const auto& [rgb, count] : ranked) {
    colours.push_back(JsonObject()
                          .add("rgb", json_string(hex_colour(rgb)))
                          .add("count", json_number(count))
                          .str());
  }
  return JsonObject()
      .add("total", json_number(static_cast<long long>(pixels.size())))
      .add("colours", json_array(colours))
      .str();
}

// ---------------------------------------------------------------- window description

std::string json_icon_size(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return std::string(kNull);
  const GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(colour ? colour.get() : mask.get(), sizeof bitmap, &bitmap);
  // Without colour bitmap the mask holds the AND and XOR masks one above the other.
  const LONG height = colour ? bitmap.bmHeight : bitmap.bmHeight / 2;
  return '[' + json_number(bitmap.bmWidth) + ',' + json_number(height) + ']';
}

HICON window_icon(HWND hwnd, WPARAM which, int class_icon) {
  if (const auto icon = reinterpret_cast<HICON>(send(hwnd, WM_GETICON, which))) return icon;
  return reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, class_icon));
}

// Under Wine the icons of another process's window cannot be read, but Wine's
// X11 driver copies them to the _NET_WM_ICON property of this X window.
std::string x11_window(HWND top) {
  const HANDLE window = GetPropW(top, L"__wine_x11_whole_window");
  return window ? json_handle(window) : std::string(kNull);
}

std::string focused_control(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) || !info.hwndFocus ||
      !IsChild(top, info.hwndFocus)) {
    return std::string(kNull);
  }
  return json_number(GetDlgCtrlID(info.hwndFocus));
}

int screen_dpi() { return GetDeviceCaps(ScreenDc().get(), LOGPIXELSX); }

std::string describe_control(HWND control, HWND top) {
  const HWND parent = GetAncestor(control, GA_PARENT);
  const std::wstring window_class = class_name(control);
  return JsonObject()
      .add("id", json_number(GetDlgCtrlID(control)))
      .add("hwnd", json_handle(control))
      .add("class", json_string(window_class))
      .add("text", json_string(text_of(control)))
      .add("parent", json_number(parent == top ? 0 : GetDlgCtrlID(parent)))
      .add("rect", json_rect(window_rect_in_client_of(control, top)))
      .add("enabled", json_bool(IsWindowEnabled(control)))
      .add("visible", json_bool(IsWindowVisible(control)))
      .add("style", json_style(control, GWL_STYLE))
      .add("exstyle", json_style(control, GWL_EXSTYLE))
      .add("checked",
           window_class == L"Button" ? json_number(send(control, BM_GETCHECK)) : std::string(kNull))
      .str();
}

std::string describe_window(HWND top) {
  std::vector<std::string> controls;
  for (HWND control : descendants_of(top)) controls.push_back(describe_control(control, top));
  const std::string icons =
      JsonObject()
          .add("big", json_icon_size(window_icon(top, ICON_BIG, GCLP_HICON)))
          .add("small", json_icon_size(window_icon(top, ICON_SMALL, GCLP_HICONSM)))
          .str();
  return JsonObject()
      .add("hwnd", json_handle(top))
      .add("title", json_string(title_of(top)))
      .add("class", json_string(class_name(top)))
      .add("style", json_style(top, GWL_STYLE))
      .add("exstyle", json_style(top, GWL_EXSTYLE))
      .add("window", json_rect(window_rect_on_screen(top)))
      .add("client", json_rect(client_rect_on_screen(top)))
      .add("dpi", json_number(screen_dpi()))
      .add("icons", icons)
      .add("x11_window", x11_window(top))
      .add("focus", focused_control(top))
      .add("controls", json_array(controls))
      .str();
}

// ---------------------------------------------------------------- message boxes

// Icon handles are private to each process under Wine, so a message box's
// icon is recognised by drawing each standard icon on the same background
// and comparing the pixels with what the screen shows.
std::size_t pixels_differing(std::span<const std::uint32_t> shown, HICON icon, int width,
                             int height) {
  Canvas drawn(width, height);
  // The corners of the standard icons are transparent: they show the background.
  std::ranges::fill(drawn.pixels(), shown.front());
  DrawIconEx(drawn.dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  const auto far_apart = [](std::uint32_t a, std::uint32_t b) {
    int distance = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      distance +=
          std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    }
    return distance > 48;  // antialiasing and dithering differ by less
  };
  std::size_t differing = 0;
  const auto pixels = drawn.pixels();
  for (std::size_t i = 0; i < shown.size(); ++i) differing += far_apart(shown[i], pixels[i]);
  return differing;
}

HWND icon_static_of(HWND box) {
  for (HWND child : descendants_of(box)) {
    if (class_name(child) == L"Static" &&
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
      return child;
    }
  }
  return nullptr;
}

std::string recognised_icon(HWND icon_static) {
  const RECT rect = client_rect_on_screen(icon_static);
  const auto shown = capture(rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const std::pair<const char*, LPCWSTR> kinds[] = {{"critical", IDI_HAND},
                                                   {"exclamation", IDI_EXCLAMATION},
                                                   {"information", IDI_ASTERISK},
                                                   {"question", IDI_QUESTION}};
  std::string best(kNull);
  // A match leaves fewer than one pixel in ten apart.
  std::size_t fewest = shown->pixels().size() / 10;
  for (const auto& [name, resource] : kinds) {
    const std::size_t differing =
        pixels_differing(shown->pixels(), LoadIconW(nullptr, resource), width, height);
    if (differing < fewest) {
      fewest = differing;
      best = json_string(std::string_view(name));
    }
  }
  return best;
}

// A box just made may not have drawn its icon yet on a busy machine: it is
// looked at again for a while before it counts as showing none.
std::string message_icon(HWND box) {
  const HWND icon_static = icon_static_of(box);
  if (!icon_static) return std::string(kNull);
  std::string icon = recognised_icon(icon_static);
  for (int attempt = 0; icon == kNull && attempt < 40; ++attempt) {
    Sleep(50);
    icon = recognised_icon(icon_static);
  }
  return icon;
}

std::string describe_message_box(HWND box) {
  std::vector<std::string> buttons;
  for (HWND child : descendants_of(box)) {
    if (class_name(child) == L"Button") buttons.push_back(json_string(text_of(child)));
  }
  const HWND text = GetDlgItem(box, 0xFFFF);
  return JsonObject()
      .add("title", json_string(title_of(box)))
      .add("text", text ? json_string(text_of(text)) : std::string(kNull))
      .add("icon", message_icon(box))
      .add("buttons", json_array(buttons))
      .str();
}

// ---------------------------------------------------------------- tool tips

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

// Memory in the program under test, for the tool tip messages whose pointers
// the system does not carry across processes.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, std::size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {
    if (!address_) throw Failure("cannot allocate memory in the program under test");
  }
  ~RemoteBuffer() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  char* address() const { return static_cast<char*>(address_); }
  void write(std::size_t offset, const void* data, std::size_t size) const {
    WriteProcessMemory(process_, address() + offset, data, size, nullptr);
  }
  void read(std::size_t offset, void* data, std::size_t size) const {
    ReadProcessMemory(process_, address() + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

constexpr std::size_t kToolTextChars = 1024;

// The tools of one tool tip window that belong to `top` or its controls.
void collect_tools(HWND tooltip, const RemoteBuffer& remote, HWND top,
                   std::vector<std::string>& tools) {
  const auto count = static_cast<WPARAM>(send(tooltip, TTM_GETTOOLCOUNT));
  for (WPARAM i = 0; i < count; ++i) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.lpszText = reinterpret_cast<LPWSTR>(remote.address() + sizeof info);
    const wchar_t empty = L'\0';
    remote.write(0, &info, sizeof info);
    remote.write(sizeof info, &empty, sizeof empty);
    if (!send(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote.address()))) continue;
    remote.read(0, &info, sizeof info);
    const bool by_window = info.uFlags & TTF_IDISHWND;
    const auto tool_window = by_window ? reinterpret_cast<HWND>(info.uId) : info.hwnd;
    if (tool_window != top && !IsChild(top, tool_window)) continue;
    std::wstring text(kToolTextChars, L'\0');
    remote.read(sizeof info, text.data(), text.size() * sizeof(wchar_t));
    text.resize(text.find(L'\0'));
    const bool text_kept = info.lpszText != LPSTR_TEXTCALLBACKW && !IS_INTRESOURCE(info.lpszText);
    tools.push_back(JsonObject()
                        .add("id", json_number(by_window ? GetDlgCtrlID(tool_window)
                                                         : static_cast<long long>(info.uId)))
                        .add("text", text_kept ? json_string(text) : std::string(kNull))
                        .str());
  }
}

std::string tooltips_of(HWND top) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(top, &process_id);
  const UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id));
  if (!process) throw Failure("cannot open the process of window " + json_string(title_of(top)));
  const RemoteBuffer remote(process.get(), sizeof(TTTOOLINFOW) + kToolTextChars * sizeof(wchar_t));
  std::vector<std::string> tools;
  for (HWND hwnd : top_level_windows()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == process_id && class_name(hwnd) == TOOLTIPS_CLASSW) {
      collect_tools(hwnd, remote, top, tools);
    }
  }
  return json_array(tools);
}

// ---------------------------------------------------------------- keys

struct NamedKey {
  std::wstring_view name;
  WORD key;
  bool extended;
};

constexpr NamedKey kNamedKeys[] = {
    {L"space", VK_SPACE, false},   {L"tab", VK_TAB, false},        {L"enter", VK_RETURN, false},
    {L"escape", VK_ESCAPE, false}, {L"backspace", VK_BACK, false}, {L"delete", VK_DELETE, true},
    {L"home", VK_HOME, true},      {L"end", VK_END, true},         {L"left", VK_LEFT, true},
    {L"right", VK_RIGHT, true},    {L"up", VK_UP, true},           {L"down", VK_DOWN, true},
    {L"pageup", VK_PRIOR, true},   {L"pagedown", VK_NEXT, true},   {L"f1", VK_F1, false},
    {L"f4", VK_F4, false},         {L"shift", VK_SHIFT, false},    {L"ctrl", VK_CONTROL, false},
    {L"alt", VK_MENU, false},
};

INPUT key_event(const NamedKey& key, bool release) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key.key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key.key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

NamedKey key_named(std::wstring_view name) {
  if (name.size() == 1 && std::iswalnum(name[0])) {
    return {name, static_cast<WORD>(std::towupper(name[0])), false};
  }
  for (const NamedKey& key : kNamedKeys) {
    if (key.name == name) return key;
  }
  throw UsageError("unknown key: " + utf8(name));
}

// "shift+tab": the modifiers held down around the last key.
void add_chord(std::wstring_view chord, std::vector<INPUT>& inputs) {
  std::vector<NamedKey> keys;
  for (std::size_t start = 0, plus = 0; plus != std::wstring_view::npos; start = plus + 1) {
    plus = chord.find(L'+', start);
    keys.push_back(
        key_named(chord.substr(start, plus == std::wstring_view::npos ? plus : plus - start)));
  }
  for (const NamedKey& key : keys) inputs.push_back(key_event(key, false));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(key_event(*key, true));
}

void add_text(std::wstring_view text, std::vector<INPUT>& inputs) {
  for (const wchar_t c : text) {
    for (const DWORD release : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | release;
      inputs.push_back(input);
    }
  }
}

// KEYS: chords like "alt+s" and "text:..." to type, as key presses.
std::vector<INPUT> key_presses(std::span<const std::wstring> keys) {
  std::vector<INPUT> inputs;
  for (const std::wstring_view chord_or_text : keys) {
    if (chord_or_text.starts_with(L"text:")) {
      add_text(chord_or_text.substr(5), inputs);
    } else {
      add_chord(chord_or_text, inputs);
    }
  }
  return inputs;
}

void bring_to_foreground(HWND top) {
  SetForegroundWindow(top);
  wait_until([&] { return GetForegroundWindow() == top; }, milliseconds(1000),
             "window " + json_string(title_of(top)) + " did not come to the foreground");
}

// ---------------------------------------------------------------- other monitors

// tests/faults/dpi_mover.dll, loaded into a program, moves its window to a
// monitor of another DPI, counts the GDI objects and icons it holds and tells
// the height of each control's font.
constexpr UINT kMoveTo = WM_APP + 1, kCount = WM_APP + 2, kFontHeight = WM_APP + 3;
constexpr UINT kMoveTimeoutMs = 10000;

HWND mover_of(HWND top, milliseconds timeout) {
  DWORD process = 0;
  GetWindowThreadProcessId(top, &process);
  HWND mover = nullptr;
  wait_until(
      [&] {
        for (HWND hwnd : top_level_windows()) {
          DWORD owner = 0;
          GetWindowThreadProcessId(hwnd, &owner);
          if (owner == process && class_name(hwnd) == L"DpiMover") mover = hwnd;
        }
        return mover != nullptr;
      },
      timeout, "no DPI mover in the program of window " + json_string(title_of(top)));
  return mover;
}

LRESULT ask_mover(HWND mover, UINT message, WPARAM wparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(mover, message, wparam, 0, SMTO_ABORTIFHUNG, kMoveTimeoutMs, &result)) {
    throw Failure("the DPI mover did not answer");
  }
  return static_cast<LRESULT>(result);
}

// ---------------------------------------------------------------- commands

struct Arguments {
  std::vector<std::wstring> words;  // after the command name
  milliseconds timeout{5000};
  std::size_t top = 5;
};

std::string done(HWND hwnd) {
  return JsonObject()
      .add("title", json_string(title_of(hwnd)))
      .add("hwnd", json_handle(hwnd))
      .str();
}

std::string window_command(const Arguments& args) {
  return describe_window(wait_for_window(args.words[0], args.timeout));
}

std::string message_command(const Arguments& args) {
  return describe_message_box(wait_for_message_box(args.words[0], args.timeout));
}

std::string dismiss_command(const Arguments& args) {
  const HWND box = wait_for_message_box(args.words[0], args.timeout);
  const HWND ok = GetDlgItem(box, IDOK);
  if (!ok) throw Failure("message box " + json_string(args.words[0]) + " has no OK button");
  const std::string description = describe_message_box(box);
  PostMessageW(ok, BM_CLICK, 0, 0);
  wait_until_handled(box, 1);
  return description;
}

std::string click_command(const Arguments& args) {
  const HWND top = wait_for_window(args.words[0], args.timeout);
  const HWND control = find_control(top, args.words[1]);
  // Wine's buttons act on BM_CLICK even when disabled; a person could not.
  if (!IsWindowEnabled(control) || !IsWindowVisible(control)) {
    throw Failure("control " + json_string(args.words[1]) + " is disabled or hidden");
  }
  const std::string result = done(top);
  PostMessageW(control, BM_CLICK, 0, 0);
  wait_until_handled(top, 1);
  return result;
}

std::string close_command(const Arguments& args) {
  const HWND top = wait_for_window(args.words[0], args.timeout);
  const std::string result = done(top);
  PostMessageW(top, WM_CLOSE, 0, 0);
  wait_until_handled(top, 1);
  return result;
}

std::string keys_command(const Arguments& args) {
  std::vector<INPUT> inputs = key_presses(std::span(args.words).subspan(1));
  const HWND top = wait_for_window(args.words[0], args.timeout);
  const std::string result = done(top);
  bring_to_foreground(top);
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) {
    throw Failure("SendInput sent " + std::to_string(sent) + " of the key presses");
  }
  wait_until_handled(top, 2 * inputs.size());  // a key down may add a WM_CHAR
  return result;
}

std::string gone_command(const Arguments& args) {
  const std::wstring& title = args.words[0];
  wait_until([&] { return !find_titled(title, false); }, args.timeout,
             "a window titled " + json_string(title) + " stayed");
  return JsonObject().add("title", json_string(title)).add("gone", json_bool(true)).str();
}

std::string tooltips_command(const Arguments& args) {
  return tooltips_of(wait_for_window(args.words[0], args.timeout));
}

std::string colours_command(const Arguments& args) {
  const HWND top = wait_for_window(args.words[0], args.timeout);
  const RECT area = args.words[1] == L"client"
                        ? client_rect_on_screen(top)
                        : window_rect_on_screen(find_control(top, args.words[1]));
  return most_frequent_colours(capture(area)->pixels(), args.top);
}

std::string move_command(const Arguments& args) {
  const HWND top = wait_for_window(args.words[0], args.timeout);
  const int dpi = parse_number(args.words[1]);
  const HWND mover = mover_of(top, args.timeout);
  if (!ask_mover(mover, kMoveTo, static_cast<WPARAM>(dpi))) {
    throw Failure("the DPI mover found no window to move");
  }
  JsonObject fonts;
  for (HWND control : descendants_of(top)) {
    fonts.add(std::to_string(GetDlgCtrlID(control)),
              json_number(ask_mover(mover, kFontHeight, reinterpret_cast<WPARAM>(control))));
  }
  return JsonObject()
      .add("dpi", json_number(dpi))
      .add("gdi_objects", json_number(ask_mover(mover, kCount, 0)))
      .add("icons", json_number(ask_mover(mover, kCount, 1)))
      .add("font_heights", fonts.str())
      .str();
}

struct Command {
  std::wstring_view name;
  std::size_t min_words, max_words;
  std::string (*run)(const Arguments&);
};

constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();

constexpr Command kCommands[] = {
    {L"window", 1, 1, window_command},   {L"message", 1, 1, message_command},
    {L"dismiss", 1, 1, dismiss_command}, {L"click", 2, 2, click_command},
    {L"close", 1, 1, close_command},     {L"keys", 2, kAny, keys_command},
    {L"gone", 1, 1, gone_command},       {L"tooltips", 1, 1, tooltips_command},
    {L"colours", 2, 2, colours_command}, {L"move", 2, 2, move_command},
};

constexpr std::string_view kUsage =
    "usage: e2e_driver COMMAND TITLE [ARGUMENTS] [--timeout MS] [--top N]\n"
    "       e2e_driver unseen PROGRAM [ARGUMENTS]\n"
    "  window TITLE | message TITLE | dismiss TITLE | click TITLE CONTROL | close TITLE\n"
    "  keys TITLE KEYS... | gone TITLE | tooltips TITLE | colours TITLE CONTROL|client\n"
    "  move TITLE DPI (the program run with dpi_mover.dll)\n"
    "CONTROL is #ID or the control's exact text; KEYS like space, shift+tab, alt+s, text:Hello\n";

Arguments parse_arguments(std::span<wchar_t*> words) {
  Arguments args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::wstring_view word = words[i];
    if (!word.starts_with(L"--")) {
      args.words.emplace_back(word);
      continue;
    }
    if (word != L"--timeout" && word != L"--top") throw UsageError("unknown option " + utf8(word));
    if (i + 1 == words.size()) throw UsageError(utf8(word) + " needs a number");
    const int number = parse_number(words[++i]);
    if (word == L"--timeout") args.timeout = milliseconds(number);
    if (word == L"--top") args.top = static_cast<std::size_t>(number);
  }
  return args;
}

std::string run(std::span<wchar_t*> words) {
  if (words.empty()) throw UsageError("no command");
  for (const Command& command : kCommands) {
    if (command.name != words[0]) continue;
    const Arguments args = parse_arguments(words.subspan(1));
    if (args.words.size() < command.min_words || args.words.size() > command.max_words) {
      throw UsageError("wrong number of arguments for " + utf8(command.name));
    }
    return command.run(args);
  }
  throw UsageError("unknown command: " + utf8(words[0]));
}

// ---------------------------------------------------------------- where no one watches

// The command line from the given word on, as it stands: the driver's name is
// the first word.
std::wstring command_line_from_word(int word) {
  const wchar_t* line = GetCommandLineW();
  for (int i = 0; i < word; ++i) {
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
      if (*line == L'"') quoted = !quoted;
    }
    while (*line == L' ' || *line == L'\t') ++line;
  }
  return line;
}

// Runs a command line on the desktop of a window station of its own, which
// has no display, as a deployment tool's service runs a program; returns the
// program's exit code once it ends.
int run_unseen(std::wstring command_line) {
  const HWINSTA station = CreateWindowStationW(L"Unseen", 0, WINSTA_ALL_ACCESS, nullptr);
  if (!station) throw Failure("cannot create a window station");
  // A desktop is made in the window station of the process that makes it.
  const HWINSTA own = GetProcessWindowStation();
  SetProcessWindowStation(station);
  const HDESK desktop = CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  SetProcessWindowStation(own);
  if (!desktop) throw Failure("cannot create a desktop");
  wchar_t desktop_name[] = L"Unseen\\Default";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop_name;
  PROCESS_INFORMATION child{};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &child)) {
    throw Failure("cannot start " + utf8(command_line));
  }
  WaitForSingleObject(child.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  CloseDesktop(desktop);
  CloseWindowStation(station);
  return static_cast<int>(code);
}

// Raw bytes: the C runtime's text mode would turn "\n" into "\r\n".
void write(DWORD stream, std::string_view text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetProcessDPIAware();  // report and capture real pixels, not scaled ones
  try {
    if (argc > 2 && std::wstring_view(argv[1]) == L"unseen") {
      return run_unseen(command_line_from_word(2));
    }
    write(STD_OUTPUT_HANDLE, run({argv + 1, static_cast<std::size_t>(argc - 1)}) + '\n');
    return 0;
  } catch (const UsageError& error) {
    write(STD_ERROR_HANDLE, std::string(error.what()) + '\n' + std::string(kUsage));
    return 2;
  } catch (const std::exception& error) {
    write(STD_ERROR_HANDLE,
          JsonObject().add("error", json_string(std::string_view(error.what()))).str() + '\n');
    return 1;
  }
}
