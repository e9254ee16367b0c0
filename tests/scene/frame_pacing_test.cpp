// The frame limit: the variable's values, and when each frame is due as the frames come.
#include "scene/frame_pacing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "fakes/fake_frame_clock.h"

namespace tolvenar::testing {
namespace {

using std::chrono::milliseconds;

TEST(FramePacingTest, MaxFpsFromTheVariable) {
  const struct {
    std::optional<std::string_view> value;
    std::uint32_t fps;
  } cases[] = {
      {std::nullopt, 60},
      {"", 60},
      {"60", 60},
      {"0", 0},
      {"144", 144},
      {"030", 30},
      {"1", 1},
      {" 30", 60},
      {"30 ", 60},
      {"-1", 60},
      {"+30", 60},
      {"29.97", 60},
      {"1e3", 60},
      {"thirty", 60},
      {"4294967295", 4294967295u},
      {"4294967296", 60},
      {"99999999999999999999", 60},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? std::string(*c.value) : std::string("(unset)"));
    EXPECT_EQ(ParseMaxFps(c.value), c.fps);
  }
}

TEST(FramePacingTest, EachFrameIsDueOneIntervalAfterTheLastWithoutBurstsAfterASlowOne) {
  constexpr FrameTime k60 = FrameTime(16666667);  // a sixtieth of a second, rounded up
  constexpr FrameTime k7 = FrameTime(142857143);
  const struct {
    const char* what;
    std::uint32_t max_fps;
    std::vector<FrameTime> asked_at;  // the clock at each call, one a frame
    std::vector<std::optional<FrameTime>> due;
  } cases[] = {
      {"on time", 60, {FrameTime(0), k60, 2 * k60}, {k60, 2 * k60, 3 * k60}},
      {"woken late, drawn slowly: the rate holds",
       60,
       {milliseconds(1000), milliseconds(1000) + k60 + milliseconds(3),
        milliseconds(1000) + 2 * k60 + milliseconds(15)},
       {milliseconds(1000) + k60, milliseconds(1000) + 2 * k60, milliseconds(1000) + 3 * k60}},
      {"a frame of 100 ms: the next at once, then the count from there",
       60,
       {FrameTime(0), k60 + milliseconds(100), k60 + milliseconds(101)},
       {k60, k60 + milliseconds(100), 2 * k60 + milliseconds(100)}},
      {"seven a second: the interval rounded up",
       7,
       {FrameTime(0), k7, 2 * k7},
       {k7, 2 * k7, 3 * k7}},
      {"one a second, the second frame drawn half a second late: the third still on time",
       1,
       {FrameTime(0), milliseconds(1500)},
       {milliseconds(1000), milliseconds(2000)}},
      {"no limit", 0, {FrameTime(0), milliseconds(1)}, {std::nullopt, std::nullopt}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFrameClock clock;
    FramePacer pacer(clock, c.max_fps);
    std::vector<std::optional<FrameTime>> due;
    for (FrameTime at : c.asked_at) {
      clock.now = at;
      due.push_back(pacer.NextFrameDue());
    }
    EXPECT_EQ(due, c.due);
  }
}

}  // namespace
}  // namespace tolvenar::testing
