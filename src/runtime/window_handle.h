#pragma once
// A platform window handle as the core passes it around (never dereferenced outside win32/).
#include <cstdint>

namespace tolvenar {

using WindowHandle = std::uintptr_t;

// The window a 32-bit number names, as a command line passes it: window handles are 32-bit values,
// sign-extended on 64-bit Windows.
inline WindowHandle WindowHandleFromNumber(std::int32_t number) {
  return static_cast<WindowHandle>(static_cast<std::intptr_t>(number));
}

}  // namespace tolvenar
