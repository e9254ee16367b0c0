#include "runtime/emulation/posix_path.h"

#include "runtime/code_page_932.h"

namespace tolvenar {
namespace {

// Replaces every single-byte `from` character with `to`.
std::string ReplaceChar(std::string_view text, char from, char to) {
  std::string result(text);
  for (std::size_t i = 0; i < result.size(); i = NextChar(result, i)) {
    if (result[i] == from) result[i] = to;
  }
  return result;
}

}  // namespace

std::optional<std::string> PosixPathFromCorePath(std::string_view core_path) {
  std::string path = ReplaceChar(core_path, '\\', '/');
  // One leading separator: two name a network share, which a POSIX system would read as the root.
  if (path.empty() || path[0] != '/' || (path.size() > 1 && path[1] == '/')) return std::nullopt;
  return path;
}

std::string CorePathFromPosixPath(std::string_view posix_path) {
  return ReplaceChar(posix_path, '/', '\\');
}

}  // namespace tolvenar
