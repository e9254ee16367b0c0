#pragma once
// The user's settings file as both Linux programs see it: the settings store over it, and the
// process services whose program folder is that file's folder.
#include <string>
#include <utility>

#include "runtime/linux/process_linux.h"
#include "runtime/linux/profile_file_linux.h"
#include "runtime/emulation/user_folders.h"
#include "settings/settings_store.h"

namespace tolvenar::linux_port {

class UserSettingsFile {
 public:
  // Without a home there is no settings file: the store reads the defaults and writes nowhere.
  // `argument_text` is the command line the core's modules read from the process.
  UserSettingsFile(const UserEnvironment& environment, std::string argument_text)
      : ini_(SettingsFilePath(environment).value_or("")),
        process_(std::move(argument_text), ini_.empty() ? std::string() : ParentFolder(ini_)),
        profile_(IniFilePath(process_.ProgramDirectory()), ini_),
        store_(profile_, process_) {}
  UserSettingsFile(const UserSettingsFile&) = delete;
  UserSettingsFile& operator=(const UserSettingsFile&) = delete;

  LinuxProcess& process() { return process_; }
  SettingsStore& store() { return store_; }

 private:
  std::string ini_;
  LinuxProcess process_;
  LinuxProfileFile profile_;
  SettingsStore store_;
};

}  // namespace tolvenar::linux_port
