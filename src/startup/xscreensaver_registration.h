#pragma once
// Adding the saver to the display modes of the user's XScreenSaver: the daemon runs only the
// programs listed in the `programs:` resource of ~/.xscreensaver, and rereads that file when it
// changes. The file is the user's (and its settings program's): only one line is ever added.
#include <optional>
#include <string>
#include <string_view>

namespace tolvenar {

// The list entry: a GL visual, and the hack by its bare name, as the daemon looks for it in its
// hack directory, drawing on the window the daemon gives it.
inline constexpr std::string_view kXscreensaverEntry = "GL: tolvenar --root";

enum class XscreensaverRegistration {
  kAdded,           // the entry was appended to the end of the list
  kListed,          // the list already runs the saver: nothing changed
  kListedDisabled,  // the list holds the saver switched off by the user: left so
  kNoProgramsList,  // the file has no `programs:` resource: the system's list applies
  kNoFile,          // no ~/.xscreensaver: XScreenSaver has not been set up for this user
  kNoHome,          // no home folder to look in
  kUnreadable,      // the file is there but cannot be read
  kWriteFailed,     // the new file could not be written; the old one is untouched
};

struct ProgramsUpdate {
  XscreensaverRegistration result = XscreensaverRegistration::kNoProgramsList;
  std::string content;  // the file's new bytes when the entry was added, else its old ones
};

// Appends kXscreensaverEntry to the `programs:` list in the bytes of a ~/.xscreensaver file,
// keeping every byte that is there, unless the list already has an entry that runs `tolvenar`
// (by any path, with any visual or label, switched on or off). The list is one resource value
// continued over lines ending in a backslash, its entries separated by the two characters `\n`;
// the entry goes last, so the positions the file's `selected:` counts stay where they were.
ProgramsUpdate AddToXscreensaverPrograms(std::string_view content);

// $HOME/.xscreensaver; nothing without a home.
std::optional<std::string> XscreensaverFilePath(const std::optional<std::string>& home);

// Reads the file, adds the entry where it is missing and writes the result through a temporary
// file renamed over the old one. A missing file or list is left as it is: made here, it would
// hold only this saver and hide every other display mode the system lists.
XscreensaverRegistration RegisterXscreensaver(const std::string& path);

// One line for the user about the result (ends in a newline).
std::string RegistrationMessage(XscreensaverRegistration result, const std::string& path);

// 0 when the saver is in the list afterwards, else 1.
int RegistrationExitStatus(XscreensaverRegistration result);

}  // namespace tolvenar
