#pragma once
// A saver window host that records every call and plays a script of events, one entry per event
// pass, into the window's handlers. A pass given a time to wait until records it and, with a clock,
// moves the clock on to it (unless the window closed meanwhile), as the real wait would.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_frame_clock.h"
#include "fakes/fake_runtime.h"
#include "scene/saver_window_host.h"

namespace tolvenar::testing {

class FakeSaverWindowHost : public SaverWindowHost {
 public:
  using PassScript = std::function<void(FakeSaverWindowHost&)>;

  explicit FakeSaverWindowHost(CallLog& log) : log_(log) {}
  void Connect(SaverWindowEvents& events) { events_ = &events; }

  std::vector<PixelRect> GetMonitors() override {
    log_.push_back("GetMonitors");
    return monitors;
  }
  void SetSize(int width, int height) override {
    log_.push_back("SetSize " + std::to_string(width) + " " + std::to_string(height));
  }
  void Move(int left, int top) override {
    log_.push_back("Move " + std::to_string(left) + " " + std::to_string(top));
  }
  void ShowNormal() override {
    log_.push_back("ShowNormal");
    shown = true;
    if (on_show) on_show(*this);
  }
  void Close() override {
    log_.push_back("Close");
    if (!open || closing) return;
    closing = true;
    events_->Form_QueryUnload();
    events_->Form_Unload();
    open = false;
    closing = false;
  }
  void StartTimer(SaverTimer timer, std::uint32_t interval_ms) override {
    log_.push_back("StartTimer " + std::to_string(static_cast<int>(timer)) + " " +
                   std::to_string(interval_ms));
    running[static_cast<int>(timer)] = true;
  }
  void StopTimer(SaverTimer timer) override {
    log_.push_back("StopTimer " + std::to_string(static_cast<int>(timer)));
    running[static_cast<int>(timer)] = false;
  }
  void ProcessEvents(std::optional<FrameTime> until) override {
    log_.push_back("ProcessEvents");
    waits.push_back(until);
    ++passes;
    if (passes > kMaxPasses) {  // a loop that never ends: close from outside so the test ends
      log_.push_back("(too many passes)");
      ExternalClose();
      return;
    }
    if (passes <= static_cast<int>(script.size()) && script[passes - 1]) script[passes - 1](*this);
    if (clock && until && open) clock->now = std::max(clock->now, *until);
  }
  void ServeRequests() override {
    log_.push_back("ServeRequests");
    ++requests;
    if (on_requests) on_requests(*this);
  }
  void EndProcess() override { log_.push_back("EndProcess"); }

  // Events as the platform delivers them: timer ticks only while their timer runs.
  void Tick(SaverTimer timer) {
    if (!running[static_cast<int>(timer)]) return;
    if (timer == SaverTimer::kTimer1) events_->Timer1_Timer();
    if (timer == SaverTimer::kTimer2) events_->Timer2_Timer();
  }
  void KeyDown() {
    if (open) events_->Form_KeyDown();
  }
  void MouseDown() {
    if (open) events_->Form_MouseDown();
  }
  // A close request that comes from outside (WM_CLOSE at log-off, another program).
  void ExternalClose() {
    log_.push_back("(close request)");
    Close();
  }

  static constexpr int kMaxPasses = 50;
  std::vector<PixelRect> monitors{{0, 0, 1024, 768}};
  std::vector<PassScript> script;
  PassScript on_show;
  FakeFrameClock* clock = nullptr;
  std::vector<std::optional<FrameTime>> waits;  // each pass's `until`
  PassScript on_requests;                       // each time the system's requests are served
  bool open = true;
  bool closing = false;
  bool shown = false;
  bool running[3] = {false, false, false};
  int passes = 0;
  int requests = 0;

 private:
  CallLog& log_;
  SaverWindowEvents* events_ = nullptr;
};

}  // namespace tolvenar::testing
