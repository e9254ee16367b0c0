#pragma once
// The preview window `Tolvenar_R` on user32 and GDI: a black window holding the still of the scene.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "runtime/embedded_data.h"
#include "runtime/picture.h"
#include "startup/preview_window.h"

namespace tolvenar::win32 {

class Win32PreviewWindow final : public PreviewWindowServices {
 public:
  explicit Win32PreviewWindow(EmbeddedData& embedded);
  Win32PreviewWindow(const Win32PreviewWindow&) = delete;
  Win32PreviewWindow& operator=(const Win32PreviewWindow&) = delete;
  ~Win32PreviewWindow() override;

  // Places and shows the preview window inside `parent`; it watches that the parent stays.
  void Show(WindowHandle parent);
  // The preview window; null before it is created and once it is destroyed.
  HWND handle() const { return window_; }

  bool GetWindowRect(WindowHandle handle, PixelRect& rect) override;
  bool WindowExists(WindowHandle handle) override;
  double TwipsPerPixelX() override;
  double TwipsPerPixelY() override;
  bool CreatePreviewWindow() override;
  std::uint32_t ReadWindowStyle() override;
  bool WriteWindowStyle(std::uint32_t style) override;
  bool SetParentWindow(WindowHandle parent) override;
  void MoveWindowTwips(std::int32_t left, std::int32_t top, std::int32_t width,
                       std::int32_t height) override;
  void SizeImage(std::int32_t width, std::int32_t height) override;
  void PlaceImage(std::int32_t left, std::int32_t top) override;
  void ShowPreviewWindow() override;
  bool PostCloseToSelf() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnPaint();
  double ScreenTwipsPerPixel(int index);

  EmbeddedData& embedded_;
  HWND window_ = nullptr;
  WindowHandle parent_ = 0;
  Picture still_;
  std::vector<std::uint8_t> still_bgr_;  // bottom-up DIB rows of the still
  RECT image_{0, 0, 0, 0};               // the image control's place, in client pixels
};

}  // namespace tolvenar::win32
