#pragma once
// A platform window handle as the core passes it around (never dereferenced outside win32/).
#include <cstdint>

namespace tolvenar {

using WindowHandle = std::uintptr_t;

}  // namespace tolvenar
