#pragma once
// The process's environment variables, as the Windows program reads them.
#include <optional>
#include <string>
#include <string_view>

namespace tolvenar::win32 {

// The variable's value in UTF-8; nothing when it is not set.
std::optional<std::string> EnvironmentVariable(std::string_view name);

}  // namespace tolvenar::win32
