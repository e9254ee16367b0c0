#pragma once
// The pointer, the screen, the file chooser and the shell on GTK 3. A window handle here is the
// GtkWidget that owns the window (a dialog, a control), as the core passes it back and forth.
#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

#include "runtime/user_services.h"

namespace tolvenar::linux_port {

inline WindowHandle HandleOf(GtkWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }
// The handle is the widget's address, made by HandleOf.
inline GtkWidget* WidgetOf(WindowHandle handle) {
  return reinterpret_cast<GtkWidget*>(handle);  // NOLINT(performance-no-int-to-ptr)
}

// A GDK mouse button number (1 left, 2 middle, 3 right) as the handlers take it (mouse_press.h).
std::int16_t MouseButtonOf(guint gdk_button);

class LinuxPointerLocator final : public PointerLocator {
 public:
  std::optional<PixelPoint> CursorPosition() override;
  // The widget whose window is under the pointer, when the point is where the pointer is (the
  // only point the program asks about); 0 over another program's window or none.
  WindowHandle WindowAt(PixelPoint point) override;
};

class LinuxAppPointer final : public AppPointer {
 public:
  // The hourglass is the "wait" cursor on every window of the program.
  void SetAppPointer(AppPointerShape shape) override;
  AppPointerShape CurrentShape() const override { return shape_; }

 private:
  AppPointerShape shape_ = AppPointerShape::kDefault;
};

// The screen's resolution as X clients read it: the Xft.dpi resource, else what GDK says, else 96.
int ScreenDotsPerInch();

class LinuxScreenMetrics final : public ScreenMetrics {
 public:
  explicit LinuxScreenMetrics(int dots_per_inch);
  double TwipsPerPixelX() override { return twips_per_pixel_; }
  double TwipsPerPixelY() override { return twips_per_pixel_; }
  // The primary monitor's size (where the dialog opens).
  double WidthTwips() override;
  double HeightTwips() override;

 private:
  double twips_per_pixel_;
};

// The answer of a chooser whose chosen UTF-8 path is `system_path`: the core path in code page
// 932; refused when the code page cannot hold a character of it; cancelled when it does not fit
// the request's buffer (`buffer_size` bytes with the closing NUL), as the Windows build does.
FileChoice ChosenFileAnswer(const std::string& system_path, std::uint32_t buffer_size);
// The request's filters as GTK filters whose patterns match either case; floating references (a
// chooser takes them over).
std::vector<GtkFileFilter*> MakeFileFilters(const std::string& request_filter);

class LinuxFileChooser final : public FileChooser {
 public:
  FileChoice OpenFileName(const OpenFileRequest& request) override;
  // A modal message dialog with the owner's title and an OK button.
  void ShowRefusal(WindowHandle owner, const std::string& message) override;
};

class LinuxShell final : public Shell {
 public:
  // "open" of an address: the desktop's handler for it, on the owner's screen.
  void Execute(WindowHandle owner, const std::string& operation, const std::string& file,
               const std::string& parameters, const std::string& directory,
               std::int32_t show_command) override;
};

}  // namespace tolvenar::linux_port
