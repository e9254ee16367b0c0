#pragma once
// The process's environment variables, as the Linux programs read them.
#include <optional>
#include <string>

#include "runtime/emulation/user_folders.h"

namespace tolvenar::linux_port {

// The variable's value; nothing when it is not set.
std::optional<std::string> EnvironmentVariable(const char* name);

// The variables the user's folders come from.
UserEnvironment UserEnvironmentOfProcess();

}  // namespace tolvenar::linux_port
