#pragma once
// The platform's rectangle and the program's pixel rectangle are the same four edges.
#include <windows.h>

#include "runtime/pixel_geometry.h"

namespace tolvenar::win32 {

inline RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace tolvenar::win32
