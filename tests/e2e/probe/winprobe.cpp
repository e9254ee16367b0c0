// A small Windows program the end-to-end tests use to look at windows from inside Wine (embedded
// child windows have no X window of their own). Prints one line per request, "none" when not found.
//   winprobe find <title>          -> "<hwnd> <left> <top> <right> <bottom> <visible>"
//   winprobe style <title>         -> "<style hex> <exstyle hex> <class name>"
//   winprobe close <title>         -> posts WM_CLOSE to the window, prints "posted" or "none"
//   winprobe makechild <w> <h>     -> creates a top-level window with a w x h client area, prints
//   its
//                                     handle, and keeps it for 60 s or until killed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "find") == 0) return Find(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "close") == 0) return Close(argv[2]);
  if (argc >= 3 && std::strcmp(argv[1], "style") == 0) return Style(argv[2]);
  if (argc >= 4 && std::strcmp(argv[1], "makechild") == 0)
    return MakeHost(std::atoi(argv[2]), std::atoi(argv[3]));
  std::fputs("usage: winprobe find|style|close <title> | makechild <w> <h>\n", stderr);
  return 2;
}
