#pragma once
// Replacing a file's bytes so that a reader sees either the old file or the new one, never a part.
#include <string>

namespace tolvenar {

// Writes `content` to a temporary file beside `path` (beside the file a symbolic link names, so
// the link stays), keeps the old file's permissions, then renames it over `path`. On failure the
// old file is untouched and the temporary file removed.
bool ReplaceWholeFile(const std::string& path, const std::string& content);

}  // namespace tolvenar
