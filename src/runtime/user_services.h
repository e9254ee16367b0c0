#pragma once
// Platform services the program's windows ask for on the user's behalf: the pointer, the screen,
// the file chooser and the shell.
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/pixel_geometry.h"
#include "runtime/window_handle.h"

namespace tolvenar {

// Where the mouse pointer is and what lies under it.
class PointerLocator {
 public:
  virtual ~PointerLocator() = default;
  // The mouse pointer's screen position in pixels (GetCursorPos); nullopt when it cannot be read.
  virtual std::optional<PixelPoint> CursorPosition() = 0;
  // The window that contains the screen point (WindowFromPoint); 0 when none.
  virtual WindowHandle WindowAt(PixelPoint point) = 0;
};

// The application-wide mouse pointer, shown over every window of the program while set.
enum class AppPointerShape { kDefault, kHourglass };

class AppPointer {
 public:
  virtual ~AppPointer() = default;
  virtual void SetAppPointer(AppPointerShape shape) = 0;
  // The shape last set (the default until one is): windows show it when asked for a pointer.
  virtual AppPointerShape CurrentShape() const = 0;
};

class ScreenMetrics {
 public:
  virtual ~ScreenMetrics() = default;
  // Twips per screen pixel across and down (15 at 96 dots per inch).
  virtual double TwipsPerPixelX() = 0;
  virtual double TwipsPerPixelY() = 0;
  // The screen's size in twips.
  virtual double WidthTwips() = 0;
  virtual double HeightTwips() = 0;
};

// The fields of an open-file request (GetOpenFileNameA). The filter and the title are the
// program's own texts in code page 932 bytes, whatever the system's code page; the filter holds
// its embedded NULs and the closing double NUL. The folder and the answer are ANSI bytes.
struct OpenFileRequest {
  static constexpr std::uint32_t kTextCodePage = 932;
  WindowHandle owner = 0;
  std::string filter;
  std::uint32_t file_buffer_size = 0;        // characters, NUL included
  std::uint32_t file_title_buffer_size = 0;  // characters, NUL included
  std::string initial_dir;
  std::string title;
  std::uint32_t flags = 0;
};

// What the chooser gave back.
enum class ChoiceOutcome {
  kCancelled,    // cancelled or failed, or the path does not fit the file buffer
  kChosen,       // `path` holds the chosen full path
  kNameNotHeld,  // the chosen name has a character the ANSI code page cannot hold, and no short
                 // form that it can
};
struct FileChoice {
  ChoiceOutcome outcome = ChoiceOutcome::kCancelled;
  std::string path;  // ANSI bytes; empty unless chosen
};

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Shows the chooser modally to request.owner. A path comes back exactly as chosen (never a
  // look-alike that names another file): in the ANSI code page, else in its short form, else
  // refused. A path longer than the file buffer (its first NUL included) counts as cancelled.
  virtual FileChoice OpenFileName(const OpenFileRequest& request) = 0;
  // Tells the user, modally to `owner`, why a chosen file was not taken (UTF-8 text).
  virtual void ShowRefusal(WindowHandle owner, const std::string& message) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecuteA(owner, operation, file, parameters, directory, show_command); the result is
  // not reported.
  virtual void Execute(WindowHandle owner, const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       std::int32_t show_command) = 0;
};

}  // namespace tolvenar
