#pragma once
// Adding the saver to the display modes of the user's XScreenSaver: the daemon runs only the
// programs listed in the `programs:` resource of ~/.xscreensaver, and rereads that file when it
// changes. The file is the user's (and its settings program's): a list that is there gets one line;
// where there is none, the system's list is written with the line at its end.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tolvenar {

// The list entry: a GL visual, and the hack by its bare name, as the daemon looks for it in its
// hack directory, drawing on the window the daemon gives it.
inline constexpr std::string_view kXscreensaverEntry = "GL: tolvenar --root";

enum class XscreensaverRegistration {
  kAdded,            // the entry was appended to the end of the user's list
  kAddedSystemList,  // the user had no list: the system's list went into the file, the entry last
  kListed,           // the list already runs the saver: nothing changed
  kListedDisabled,   // the list holds the saver switched off by the user: left so
  kNoProgramsList,   // the bytes hold no `programs:` resource (AddToXscreensaverPrograms only)
  kNoSystemList,     // no list of the user's, and the system's cannot be read: nothing changed
  kNoHome,           // no home folder to look in
  kUnreadable,       // the file is there but cannot be read
  kWriteFailed,      // the new file could not be written; the old one is untouched
};

// The daemon's own list of display modes is the `programs` resource of its app-defaults file;
// the first of these that can be read is taken (Debian's place first).
inline constexpr std::array<std::string_view, 2> kXscreensaverAppDefaults = {
    "/etc/X11/app-defaults/XScreenSaver", "/usr/share/X11/app-defaults/XScreenSaver"};

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

// The `programs` resource of XScreenSaver's app-defaults file written as ~/.xscreensaver spells it
// (`programs:`), its lines as they are, closed by a blank line as the settings program closes the
// list; nothing when the file has no such resource. The last of `*programs`, `programs`,
// `XScreenSaver.programs` and `XScreenSaver*programs` counts, as in a resource database.
std::optional<std::string> SystemProgramsResource(std::string_view app_defaults);

// The registration on the bytes: the user's file (none when it does not exist) and the system's
// app-defaults file (none when it cannot be read). Where the user has no list, no file or a file
// without one, the daemon runs the system's list: the file gets that list with the entry at its
// end (appended to the file's own bytes, or after a header in a new file) so no saver the user
// sees today is hidden. Without the system's list nothing is written: the file would list this
// saver alone, not the display modes the user sees today.
ProgramsUpdate AddToXscreensaverFile(const std::optional<std::string>& file,
                                     const std::optional<std::string>& app_defaults);

// $HOME/.xscreensaver; nothing without a home.
std::optional<std::string> XscreensaverFilePath(const std::optional<std::string>& home);

// Reads the user's file and the first readable app-defaults file of app_defaults_paths, and
// writes AddToXscreensaverFile's result through a temporary file renamed over the old one.
XscreensaverRegistration RegisterXscreensaver(const std::string& path,
                                              const std::vector<std::string>& app_defaults_paths);

// One line for the user about the result (ends in a newline).
std::string RegistrationMessage(XscreensaverRegistration result, const std::string& path);

// 0 when the saver is in the list afterwards, else 1.
int RegistrationExitStatus(XscreensaverRegistration result);

}  // namespace tolvenar
