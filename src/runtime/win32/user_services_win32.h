#pragma once
// The pointer, the screen, the file chooser and the shell on user32, gdi32, comdlg32 and shell32.
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/user_services.h"

namespace tolvenar::win32 {

class Win32PointerLocator final : public PointerLocator {
 public:
  std::optional<PixelPoint> CursorPosition() override;
  WindowHandle WindowAt(PixelPoint point) override;
};

class Win32AppPointer final : public AppPointer {
 public:
  void SetAppPointer(AppPointerShape shape) override;
  AppPointerShape CurrentShape() const override { return shape_; }

 private:
  AppPointerShape shape_ = AppPointerShape::kDefault;
};

class Win32ScreenMetrics final : public ScreenMetrics {
 public:
  double TwipsPerPixelX() override;
  double TwipsPerPixelY() override;
  double WidthTwips() override;
  double HeightTwips() override;
};

// A chosen path in `code_page` exactly; else its short (8.3) form when the file has one that the
// code page holds; else nullopt.
std::optional<std::string> AnsiPathOf(const std::wstring& path, UINT code_page);

class Win32FileChooser final : public FileChooser {
 public:
  FileChoice OpenFileName(const OpenFileRequest& request) override;
  // A message box with the dialog's title and an OK button.
  void ShowRefusal(WindowHandle owner, const std::string& message) override;
};

class Win32Shell final : public Shell {
 public:
  void Execute(WindowHandle owner, const std::string& operation, const std::string& file,
               const std::string& parameters, const std::string& directory,
               std::int32_t show_command) override;
};

}  // namespace tolvenar::win32
