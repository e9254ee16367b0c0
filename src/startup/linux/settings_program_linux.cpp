#include "startup/linux/settings_program_linux.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/emulation/user_folders.h"

namespace tolvenar::linux_port {

int RunSettingsProgram() {
  // The saver's own file, with any link on the way (the one on the PATH) resolved.
  std::string self(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
  if (length <= 0) {
    (void)std::fprintf(stderr, "tolvenar: cannot find the program's own file: %s\n",
                       std::strerror(errno));
    return 1;
  }
  self.resize(static_cast<std::size_t>(length));
  const std::string program = ParentFolder(self) + "/" + kSettingsProgramName;
  execl(program.c_str(), kSettingsProgramName, static_cast<char*>(nullptr));
  (void)std::fprintf(stderr, "tolvenar: cannot start %s: %s\n", program.c_str(),
                     std::strerror(errno));
  return 1;
}

}  // namespace tolvenar::linux_port
