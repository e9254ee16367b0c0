#pragma once
// A recording fake of the preview window services.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "startup/preview_window.h"

namespace tolvenar::testing {

class FakePreviewWindow : public PreviewWindowServices {
 public:
  // A handle in the log as the signed number a command line gives.
  static std::string Number(WindowHandle handle) {
    return std::to_string(static_cast<std::intptr_t>(handle));
  }
  bool GetWindowRect(WindowHandle handle, PixelRect& rect) override {
    log.push_back("GetWindowRect " + Number(handle));
    auto it = windows.find(handle);
    if (it == windows.end()) return false;
    rect = it->second;
    return true;
  }
  bool WindowExists(WindowHandle handle) override {
    log.push_back("WindowExists " + Number(handle));
    return windows.count(handle) > 0;
  }
  double TwipsPerPixelX() override { return twips_x; }
  double TwipsPerPixelY() override { return twips_y; }
  bool CreatePreviewWindow() override {
    log.push_back("CreatePreviewWindow");
    return creatable;
  }
  std::uint32_t ReadWindowStyle() override {
    log.push_back("ReadWindowStyle");
    return style;
  }
  bool WriteWindowStyle(std::uint32_t new_style) override {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", new_style);
    log.push_back(std::string("WriteWindowStyle ") + text);
    style = new_style;
    return true;
  }
  bool SetParentWindow(WindowHandle parent) override {
    log.push_back("SetParentWindow " + Number(parent));
    return windows.count(parent) > 0;
  }
  void MoveWindowTwips(std::int32_t left, std::int32_t top, std::int32_t width,
                       std::int32_t height) override {
    log.push_back("MoveWindowTwips " + std::to_string(left) + " " + std::to_string(top) + " " +
                  std::to_string(width) + " " + std::to_string(height));
  }
  void SizeImage(std::int32_t width, std::int32_t height) override {
    log.push_back("SizeImage " + std::to_string(width) + " " + std::to_string(height));
  }
  void PlaceImage(std::int32_t left, std::int32_t top) override {
    log.push_back("PlaceImage " + std::to_string(left) + " " + std::to_string(top));
  }
  void ShowPreviewWindow() override { log.push_back("ShowPreviewWindow"); }
  bool PostCloseToSelf() override {
    log.push_back("PostCloseToSelf");
    return true;
  }

  std::vector<std::string> log;
  std::map<WindowHandle, PixelRect> windows;  // existing windows by handle
  double twips_x = 15, twips_y = 15;
  bool creatable = true;
  std::uint32_t style = 0x06000000;  // WS_CLIPSIBLINGS | WS_CLIPCHILDREN
};

}  // namespace tolvenar::testing
