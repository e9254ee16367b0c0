#pragma once
// The preview window `Tolvenar_R` on user32 and GDI: a black window holding the still of the scene.
#include <windows.h>

#include <cstdint>

#include "runtime/embedded_data.h"
#include "runtime/win32/dib_win32.h"
#include "runtime/win32/window_win32.h"
#include "startup/preview_window.h"

namespace tolvenar::win32 {

class Win32PreviewWindow final : public PreviewWindowServices, public Window {
 public:
  explicit Win32PreviewWindow(EmbeddedData& embedded);
  Win32PreviewWindow(const Win32PreviewWindow&) = delete;
  Win32PreviewWindow& operator=(const Win32PreviewWindow&) = delete;
  ~Win32PreviewWindow() override;

  // Places and shows the preview window inside `parent`; it watches that the parent stays.
  void Show(WindowHandle parent);
  // handle(): the preview window; null before it is created and once it is destroyed.

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
  void OnPaint(HDC dc) override;
  void OnTimer(UINT_PTR id) override;
  void OnClose() override;

  EmbeddedData& embedded_;
  WindowHandle parent_ = 0;
  Dib still_;
  RECT image_{0, 0, 0, 0};  // the image control's place, in client pixels
};

}  // namespace tolvenar::win32
