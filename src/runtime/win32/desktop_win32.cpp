#include "runtime/win32/desktop_win32.h"

#include <windows.h>

namespace tolvenar::win32 {

bool Win32Desktop::TopLevelWindowExists(const std::string& title) {
  return FindWindowA(nullptr, title.c_str()) != nullptr;
}

std::int32_t Win32Desktop::ShowCursor(std::int32_t show_flag) { return ::ShowCursor(show_flag); }

}  // namespace tolvenar::win32
