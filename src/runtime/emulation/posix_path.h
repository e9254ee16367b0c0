#pragma once
// The core's paths (code page 932 bytes, "\" between folders, as the Windows build has them) and
// a POSIX system's (also code page 932 bytes here; "/" between folders). Only an absolute path
// crosses: a Windows path ("C:\Music\a.mp3", "\\server\share") or a relative one names no file.
#include <optional>
#include <string>
#include <string_view>

namespace tolvenar {

// "\home\u\ソ.mp3" or "/home/u/ソ.mp3" -> "/home/u/ソ.mp3"; the second byte of a double-byte
// character is never a separator. Nothing for a path that is not absolute.
std::optional<std::string> PosixPathFromCorePath(std::string_view core_path);

// "/home/u/x" -> "\home\u\x".
std::string CorePathFromPosixPath(std::string_view posix_path);

}  // namespace tolvenar
