// A small Windows program the end-to-end tests use to look at windows from inside Wine (embedded
// child windows have no X window of their own). Prints one line per request, "none" when not found.
//   winprobe find <title>          -> "<hwnd> <left> <top> <right> <bottom> <visible>"
//   winprobe style <title>         -> "<style hex> <exstyle hex> <class name>"
//   winprobe close <title>         -> posts WM_CLOSE to the window, prints "posted" or "none"
//   winprobe makechild <w> <h>     -> creates a top-level window with a w x h client area, prints
//                                     its handle, and keeps it for 60 s or until killed
//   winprobe hold <path>           -> opens the file with no sharing, prints "held", keeps it 60 s
//   winprobe findchild <parent> <title>
//                                  -> a direct child of window <parent> with this title:
//                                     "<hwnd> <parent> <left> <top> <right> <bottom> <visible>
//                                     <client width> <client height>", its rectangle relative to
//                                     the parent's client area, then the parent's client size
//   winprobe client <title>        -> "<left> <top> <right> <bottom>": the client area on screen
//   winprobe children <title>      -> one line per descendant window:
//                                     "<class>|<enabled>|<left> <top> <right> <bottom>|<text>"
//                                     (screen pixels; the text in UTF-8)
//   winprobe owned <title>         -> "<hwnd>|<title>" of each visible window the window owns (its
//                                     modal choosers), the title in UTF-8
//   winprobe focus <title>         -> "<class>|<left> <top> <right> <bottom>" of the window that
//   has
//                                     the keyboard focus in the window's thread
//   winprobe acp                   -> the ANSI code page in effect
//   winprobe cursor                -> "shown" or "hidden": the pointer as the thread of the
//                                     foreground window has it (Wine answers for that thread, so
//                                     a program that has ended no longer counts)
//   winprobe sees <folder> <hex>   -> "<code page> found" when GetFileAttributesA finds the name
//                                     whose ANSI bytes are <hex> in <folder>, else "<code page>
//                                     missing" (Wine converts file names only in a locale that
//                                     exists on the machine)
//   winprobe wavedevs              -> the number of wave output devices winmm sees
//   winprobe launch <title> <command line>
//                                  -> starts the program and waits (30 s at most) until a window
//                                     with this title is visible and neither it nor any child has
//                                     anything left to paint; prints "<ms since the process was
//                                     created> <ms since the launch>", or "none"; then posts
//                                     WM_CLOSE to the window and waits for the program to end
//   winprobe resources <file>      -> what the system reads from a program file without running it,
//                                     one "<key>|<value>" line each: "string1" (string resource 1),
//                                     "fixed" (file and product version from the fixed version
//                                     info), each version string by its name, and "manifest" (the
//                                     manifest with id 1 on one line)
//   winprobe monitors              -> "<monitors> <left> <top> <width> <height>": how many monitors
//                                     the system reports and the virtual screen they span
#include <windows.h>

#include <mmsystem.h>
#include <winver.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Find(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::puts("none");
    return 1;
  }
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%lld %ld %ld %ld %ld %d\n",
              static_cast<long long>(reinterpret_cast<INT_PTR>(window)), r.left, r.top, r.right,
              r.bottom, IsWindowVisible(window) ? 1 : 0);
  return 0;
}

int Style(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::puts("none");
    return 1;
  }
  char class_name[256] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  std::printf("%08lx %08lx %s\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)), class_name);
  return 0;
}

int Close(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::puts("none");
    return 1;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  std::puts("posted");
  return 0;
}

struct ChildSearch {
  const char* title;
  HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<ChildSearch*>(lparam);
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, search->title) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

int FindChild(const char* parent_text, const char* title) {
  HWND parent =
      reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(parent_text, nullptr, 10)));
  ChildSearch search{title, nullptr};
  if (IsWindow(parent)) EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
  if (!search.found || GetAncestor(search.found, GA_PARENT) != parent) {
    std::puts("none");
    return 1;
  }
  RECT r{}, client{};
  GetWindowRect(search.found, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  GetClientRect(parent, &client);
  std::printf(
      "%lld %lld %ld %ld %ld %ld %d %ld %ld\n",
      static_cast<long long>(reinterpret_cast<INT_PTR>(search.found)),
      static_cast<long long>(reinterpret_cast<INT_PTR>(GetAncestor(search.found, GA_PARENT))),
      r.left, r.top, r.right, r.bottom, IsWindowVisible(search.found) ? 1 : 0, client.right,
      client.bottom);
  return 0;
}

int MakeHost(int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TolvenarProbeHost";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  RegisterClassA(&wc);
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND host =
      CreateWindowA("TolvenarProbeHost", "Probe Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  std::printf("%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(host)));
  std::fflush(stdout);
  const DWORD end = GetTickCount() + 60000;
  MSG message;
  while (GetTickCount() < end && IsWindow(host)) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  return 0;
}

// Opens a file with no sharing, so that nobody else can read or write it, until killed or 60 s.
int Hold(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::puts("none");
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  Sleep(60000);
  CloseHandle(file);
  return 0;
}

int Client(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  RECT r{};
  if (!window || !GetClientRect(window, &r)) {
    std::puts("none");
    return 1;
  }
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, origin.x + r.right, origin.y + r.bottom);
  return 0;
}

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), length, nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(length - 1));
  return bytes;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  wchar_t class_name[128] = {};
  wchar_t text[512] = {};
  GetClassNameW(child, class_name, 128);
  // WM_GETTEXT reaches the control itself (an edit field's text is not its window title).
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &copied);
  RECT r{};
  GetWindowRect(child, &r);
  std::printf("%s|%d|%ld %ld %ld %ld|%s\n", Utf8(class_name).c_str(),
              IsWindowEnabled(child) ? 1 : 0, r.left, r.top, r.right, r.bottom, Utf8(text).c_str());
  return TRUE;
}

int Children(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::puts("none");
    return 1;
  }
  EnumChildWindows(window, PrintChild, 0);
  return 0;
}

BOOL CALLBACK PrintOwned(HWND window, LPARAM owner) {
  if (GetWindow(window, GW_OWNER) != reinterpret_cast<HWND>(owner) || !IsWindowVisible(window))
    return TRUE;
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  std::printf("%lld|%s\n", static_cast<long long>(reinterpret_cast<INT_PTR>(window)),
              Utf8(title).c_str());
  return TRUE;
}

int Owned(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  if (!window) {
    std::puts("none");
    return 1;
  }
  EnumWindows(PrintOwned, reinterpret_cast<LPARAM>(window));
  return 0;
}

int Focus(const char* title) {
  HWND window = FindWindowA(nullptr, title);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ||
      !info.hwndFocus) {
    std::puts("none");
    return 1;
  }
  wchar_t class_name[128] = {};
  GetClassNameW(info.hwndFocus, class_name, 128);
  RECT r{};
  GetWindowRect(info.hwndFocus, &r);
  std::printf("%s|%ld %ld %ld %ld\n", Utf8(class_name).c_str(), r.left, r.top, r.right, r.bottom);
  return 0;
}

int Cursor() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info)) {
    std::puts("none");
    return 1;
  }
  std::puts(info.flags & CURSOR_SHOWING ? "shown" : "hidden");
  return 0;
}

int Sees(const char* folder, const char* hex) {
  std::string path = std::string(folder) + "\\";
  for (const char* p = hex; p[0] && p[1]; p += 2) {
    const char pair[3] = {p[0], p[1], 0};
    path += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  const bool found = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  std::printf("%u %s\n", GetACP(), found ? "found" : "missing");
  return 0;
}

double Milliseconds(FILETIME from, FILETIME to) {
  const auto ticks = [](FILETIME t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(to) - ticks(from)) / 10000.0;
}

BOOL CALLBACK AnyChildToPaint(HWND window, LPARAM lparam) {
  if (!GetUpdateRect(window, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(lparam) = true;
  return FALSE;
}

bool Painted(HWND window) {
  if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
  bool to_paint = false;
  EnumChildWindows(window, AnyChildToPaint, reinterpret_cast<LPARAM>(&to_paint));
  return !to_paint;
}

int Launch(const char* title, const char* command_line) {
  std::string command(command_line);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  FILETIME launched;
  GetSystemTimePreciseAsFileTime(&launched);
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::puts("none");
    return 1;
  }
  HWND window = nullptr;
  FILETIME seen{};
  for (int i = 0; i < 30000 && !window; ++i) {
    HWND found = FindWindowA(nullptr, title);
    if (found && Painted(found)) {
      GetSystemTimePreciseAsFileTime(&seen);
      window = found;
    } else {
      Sleep(1);
    }
  }
  FILETIME created, exited, kernel, user;
  if (window && GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user)) {
    std::printf("%.1f %.1f\n", Milliseconds(created, seen), Milliseconds(launched, seen));
    PostMessageA(window, WM_CLOSE, 0, 0);
  } else {
    std::puts("none");
    TerminateProcess(process.hProcess, 1);
  }
  WaitForSingleObject(process.hProcess, 30000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return window ? 0 : 1;
}

int Resources(const char* path_text) {
  const std::wstring path(path_text, path_text + std::strlen(path_text));
  HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!file) {
    std::puts("none");
    return 1;
  }
  wchar_t name[256] = {};
  if (LoadStringW(file, 1, name, 256) > 0) std::printf("string1|%s\n", Utf8(name).c_str());
  if (HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const char* text = static_cast<const char*>(LockResource(LoadResource(file, found)));
    std::string manifest(text ? text : "", text ? SizeofResource(file, found) : 0);
    for (char& c : manifest)
      if (c == '\r' || c == '\n') c = ' ';
    std::printf("manifest|%s\n", manifest.c_str());
  }
  FreeLibrary(file);

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::string info(size, '\0');
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
    std::printf("fixed|%u.%u.%u.%u %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                LOWORD(fixed->dwFileVersionLS), HIWORD(fixed->dwProductVersionMS),
                LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
                LOWORD(fixed->dwProductVersionLS));
  struct Translation {
    WORD language, code_page;
  }* translation = nullptr;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof(Translation))
    return 0;
  for (const wchar_t* key :
       {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
        L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
    wchar_t query[128];
    swprintf(query, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
             translation->code_page, key);
    wchar_t* value = nullptr;
    if (VerQueryValueW(info.data(), query, reinterpret_cast<void**>(&value), &length) && value)
      std::printf("%s|%s\n", Utf8(key).c_str(), Utf8(value).c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "find") == 0) return Find(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "close") == 0) return Close(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "style") == 0) return Style(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "hold") == 0) return Hold(argv[2]);
  if (argc >= 4 && std::strcmp(argv[1], "findchild") == 0) return FindChild(argv[2], argv[3]);
  if (argc >= 4 && std::strcmp(argv[1], "makechild") == 0)
    return MakeHost(std::atoi(argv[2]), std::atoi(argv[3]));
  if (argc >= 3 && std::strcmp(argv[1], "client") == 0) return Client(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "children") == 0) return Children(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "owned") == 0) return Owned(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "focus") == 0) return Focus(argv[2]);
  if (argc >= 2 && std::strcmp(argv[1], "acp") == 0) {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "cursor") == 0) return Cursor();
  if (argc >= 4 && std::strcmp(argv[1], "launch") == 0) return Launch(argv[2], argv[3]);
  if (argc >= 4 && std::strcmp(argv[1], "sees") == 0) return Sees(argv[2], argv[3]);
  if (argc >= 2 && std::strcmp(argv[1], "monitors") == 0) {
    std::printf("%d %d %d %d %d\n", GetSystemMetrics(SM_CMONITORS),
                GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "resources") == 0) return Resources(argv[2]);
  if (argc >= 2 && std::strcmp(argv[1], "wavedevs") == 0) {
    std::printf("%u\n", waveOutGetNumDevs());
    return 0;
  }
  std::fputs(
      "usage: winprobe find|style|close|hold|client|children|owned|focus <title>"
      " | makechild <w> <h> | findchild <parent> <title> | acp | cursor | sees <folder> <hex>"
      " | wavedevs | resources <file> | monitors"
      " | launch <title> <command line>\n",
      stderr);
  return 2;
}
