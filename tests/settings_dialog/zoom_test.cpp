#include "settings_dialog/zoom.h"

#include <gtest/gtest.h>

#include "fakes/fake_dialog.h"

namespace tolvenar {
namespace {

using V = std::vector<std::string>;

TEST(Zoom, OpensFromThePointAndClosesBackIntoIt) {
  testing::CallLog log;
  testing::FakeAnimation animation(log);
  const ZoomPoint point{800, 600};
  ZoomWindowOpen(animation, point, 77);
  ZoomWindowClose(animation, point, 77);
  EXPECT_EQ(
      log,
      (V{"GetWindowRect 77", "DrawAnimatedRects 77 3 (800,600,800,600) -> (261,166,763,434)",
         "GetWindowRect 77", "DrawAnimatedRects 77 3 (261,166,763,434) -> (800,600,800,600)"}));
}

TEST(Zoom, FailedWindowRectRunsToTheCorner) {
  testing::CallLog log;
  testing::FakeAnimation animation(log);
  animation.rect = {};
  ZoomWindowOpen(animation, ZoomPoint{-5, 32767}, 1);
  EXPECT_EQ(log.back(), "DrawAnimatedRects 1 3 (-5,32767,-5,32767) -> (0,0,0,0)");
}

TEST(Zoom, OutlinesRunInEvenStepsAndEndOnTheTarget) {
  const std::vector<PixelRect> outlines = ZoomOutlines({800, 600, 800, 600}, {0, 0, 400, 300}, 4);
  EXPECT_EQ(
      outlines,
      (std::vector<PixelRect>{
          {600, 450, 700, 525}, {400, 300, 600, 450}, {200, 150, 500, 375}, {0, 0, 400, 300}}));
  EXPECT_TRUE(ZoomOutlines({}, {0, 0, 10, 10}, 0).empty());
}

}  // namespace
}  // namespace tolvenar
