#pragma once
// The window services the saver window stands on: one borderless top-level window, its two timers,
// the event pass (with the wait until the next frame) and the end of the process.
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/pixel_geometry.h"
#include "scene/frame_clock.h"

namespace tolvenar {

// The handlers the window runs; they run inside ProcessEvents or inside Close.
class SaverWindowEvents {
 public:
  virtual ~SaverWindowEvents() = default;
  virtual void Form_KeyDown() = 0;      // any key, any shift state
  virtual void Form_MouseDown() = 0;    // any button, anywhere over the window
  virtual void Form_QueryUnload() = 0;  // the window is about to close; never cancels
  virtual void Form_Unload() = 0;       // the window closes
  virtual void Timer1_Timer() = 0;
  virtual void Timer2_Timer() = 0;
};

enum class SaverTimer { kTimer1 = 1, kTimer2 = 2 };

class SaverWindowHost {
 public:
  virtual ~SaverWindowHost() = default;
  // Each monitor's rectangle in screen pixels, the primary first; at least one (the primary screen
  // when the system lists none).
  virtual std::vector<PixelRect> GetMonitors() = 0;
  // Sets the window's outer size, keeping its position.
  virtual void SetSize(int width, int height) = 0;
  // Moves the window's top-left corner to screen position (left, top), keeping its size.
  virtual void Move(int left, int top) = 0;
  // Shows the window in its normal state, modeless, and activates it.
  virtual void ShowNormal() = 0;
  // Runs Form_QueryUnload, then Form_Unload, then destroys the window; nothing when it is already
  // closed or closing.
  virtual void Close() = 0;
  // Starts a periodic timer; its ticks run TimerN_Timer during ProcessEvents only.
  virtual void StartTimer(SaverTimer timer, std::uint32_t interval_ms) = 0;
  // Stops a timer; no tick of it runs afterwards. Nothing when it is not running.
  virtual void StopTimer(SaverTimer timer) = 0;
  // Processes the pending window events and returns; the handlers run inside. Given `until` (a time
  // on the window's frame clock), it then goes on sleeping and handling each event and timer tick
  // as it comes until that time, or until the window has closed; never a busy wait.
  virtual void ProcessEvents(std::optional<FrameTime> until) = 0;
  // Serves only what the system asks of the window and waits for its answer (the end of the
  // session: the window closes then); input and timer ticks wait for ProcessEvents.
  virtual void ServeRequests() = 0;
  // Ends the process at once.
  virtual void EndProcess() = 0;
};

}  // namespace tolvenar
