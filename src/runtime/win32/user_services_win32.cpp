#include "runtime/win32/user_services_win32.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "runtime/win32/screen_win32.h"
#include "runtime/win32/system_function.h"
#include "runtime/win32/text_encoding.h"

namespace tolvenar::win32 {
std::optional<PixelPoint> Win32PointerLocator::CursorPosition() {
  POINT p{};
  if (!GetCursorPos(&p)) return std::nullopt;
  return PixelPoint{p.x, p.y};
}

WindowHandle Win32PointerLocator::WindowAt(PixelPoint point) {
  return reinterpret_cast<WindowHandle>(WindowFromPoint(POINT{point.x, point.y}));
}

void Win32AppPointer::SetAppPointer(AppPointerShape shape) {
  shape_ = shape;
  SetCursor(LoadCursorA(nullptr, shape == AppPointerShape::kHourglass ? IDC_WAIT : IDC_ARROW));
}

double Win32ScreenMetrics::TwipsPerPixelX() { return ScreenTwipsPerPixel(LOGPIXELSX); }
double Win32ScreenMetrics::TwipsPerPixelY() { return ScreenTwipsPerPixel(LOGPIXELSY); }
double Win32ScreenMetrics::WidthTwips() { return GetSystemMetrics(SM_CXSCREEN) * TwipsPerPixelX(); }
double Win32ScreenMetrics::HeightTwips() {
  return GetSystemMetrics(SM_CYSCREEN) * TwipsPerPixelY();
}

std::optional<std::string> AnsiPathOf(const std::wstring& path, UINT code_page) {
  if (std::optional<std::string> exact = NarrowExactly(path, code_page)) return exact;
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return std::nullopt;  // no such file, or no short form
  std::wstring short_path(length, L'\0');
  const DWORD copied = GetShortPathNameW(path.c_str(), short_path.data(), length);
  if (copied == 0 || copied >= length) return std::nullopt;
  short_path.resize(copied);
  return NarrowExactly(short_path, code_page);
}

FileChoice Win32FileChooser::OpenFileName(const OpenFileRequest& request) {
  // The wide chooser shows the Japanese title and filter on any system code page; the ANSI
  // function would show them only where the system's code page is 932.
  const std::wstring filter = Widen(request.filter, OpenFileRequest::kTextCodePage);
  const std::wstring title = Widen(request.title, OpenFileRequest::kTextCodePage);
  const std::wstring initial_dir = Widen(request.initial_dir, CP_ACP);
  std::vector<wchar_t> file(request.file_buffer_size + 1, L'\0');
  std::vector<wchar_t> file_title(request.file_title_buffer_size + 1, L'\0');
  OPENFILENAMEW ofn{};
  // The request without the fields added after the first 32-bit layout (76 bytes there).
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = request.file_buffer_size;
  ofn.lpstrFileTitle = file_title.data();
  ofn.nMaxFileTitle = request.file_title_buffer_size;
  ofn.lpstrInitialDir = initial_dir.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = request.flags;
  static const auto get_open_file_name =
      SystemFunction<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
  if (!get_open_file_name || get_open_file_name(&ofn) <= 0) return {};
  const std::optional<std::string> path = AnsiPathOf(std::wstring(file.data()), CP_ACP);
  if (!path) return {ChoiceOutcome::kNameNotHeld, ""};
  // The buffer counts ANSI bytes, NUL included: a longer path is refused as the ANSI chooser
  // would refuse it.
  if (path->size() >= request.file_buffer_size) return {};
  return {ChoiceOutcome::kChosen, *path};
}

void Win32FileChooser::ShowRefusal(WindowHandle owner, const std::string& message) {
  const HWND window = reinterpret_cast<HWND>(owner);
  std::wstring title(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<std::size_t>(
      GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
  MessageBoxW(window, Widen(message, CP_UTF8).c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void Win32Shell::Execute(WindowHandle owner, const std::string& operation, const std::string& file,
                         const std::string& parameters, const std::string& directory,
                         std::int32_t show_command) {
  static const auto shell_execute =
      SystemFunction<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
  if (!shell_execute) return;
  shell_execute(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(), parameters.c_str(),
                directory.c_str(), show_command);
}

}  // namespace tolvenar::win32
