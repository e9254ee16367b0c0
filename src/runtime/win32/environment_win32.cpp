#include "runtime/win32/environment_win32.h"

#include <windows.h>

#include "runtime/win32/text_encoding.h"

namespace tolvenar::win32 {

std::optional<std::string> EnvironmentVariable(std::string_view name) {
  const std::wstring wide_name = Widen(name);
  const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(wide_name.c_str(), value.data(), size));
  return Narrow(value);
}

}  // namespace tolvenar::win32
