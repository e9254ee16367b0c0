#include "runtime/win32/embedded_data_win32.h"

#include <windows.h>

#include <string>

namespace tolvenar::win32 {

std::string_view Win32EmbeddedData::Bytes(std::string_view name) {
  // Resources live as long as the module: nothing to free.
  const std::string resource_name(name);
  HRSRC found = FindResourceA(nullptr, resource_name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (!loaded) return {};
  const void* data = LockResource(loaded);
  const DWORD size = SizeofResource(nullptr, found);
  if (!data || size == 0) return {};
  return {static_cast<const char*>(data), size};
}

}  // namespace tolvenar::win32
