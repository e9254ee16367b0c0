#include "scene/output_canvas.h"

#include <gtest/gtest.h>

namespace tolvenar {
namespace {

TEST(OutputCanvas, OrdersTheOutputAtTheOriginFirstThenByPlace) {
  struct Case {
    std::vector<OutputGeometry> outputs;
    std::vector<std::size_t> order;
  };
  const Case cases[] = {
      {{{1024, 0, 800, 600, 1}, {0, 0, 1024, 768, 1}}, {1, 0}},
      // Nothing at the origin (a desktop laid out from a negative corner): left to right.
      {{{0, -600, 800, 600, 1}, {-1920, 0, 1920, 1080, 2}, {1920, 0, 800, 600, 1}}, {1, 0, 2}},
      // Stacked: top to bottom; equal places keep the order they came in.
      {{{0, 768, 1024, 768, 1}, {0, 0, 1024, 768, 1}, {0, 768, 640, 480, 1}}, {1, 0, 2}},
      {{}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SceneOrder(c.outputs), c.order);
}

TEST(OutputCanvas, LaysPartsSideBySideAtEachOutputsResolution) {
  // A HiDPI output beside a plain one: the scaled one's part has its full pixel size, the next
  // starts where it ends, and a scale the compositor did not give (0) counts as 1.
  const std::vector<PixelRect> parts =
      CanvasParts({{0, 0, 1280, 720, 2}, {1280, 0, 800, 600, 0}, {2080, 0, 0, 0, 1}});
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0], (PixelRect{0, 0, 2560, 1440}));
  EXPECT_EQ(parts[1], (PixelRect{2560, 0, 3360, 600}));
  // An output not yet sized still gets a part, one pixel, so that no part is empty.
  EXPECT_EQ(parts[2], (PixelRect{3360, 0, 3361, 1}));
  EXPECT_EQ(BufferScale(3), 3);
  EXPECT_EQ(BufferScale(-1), 1);
}

TEST(OutputCanvas, ChoosesTheLayerShellOverFullScreenWindows) {
  EXPECT_EQ(ChooseShell(true, true), SurfaceShell::kLayerShell);
  EXPECT_EQ(ChooseShell(true, false), SurfaceShell::kLayerShell);
  EXPECT_EQ(ChooseShell(false, true), SurfaceShell::kFullScreenToplevel);
  EXPECT_EQ(ChooseShell(false, false), SurfaceShell::kNone);
}

TEST(OutputCanvas, AnOutputThatCameLaterShowsTheFirstOnesPictureUndistorted) {
  const std::vector<PixelRect> parts = {{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
  struct Case {
    std::optional<std::size_t> part;
    std::int32_t width, height;
    PixelRect shown;
  };
  const Case cases[] = {
      {1, 800, 600, {1024, 0, 1824, 600}},             // its own part, whatever its size
      {std::nullopt, 2048, 1536, parts[0]},            // the same shape: the whole first part
      {std::nullopt, 1920, 1080, {0, 96, 1024, 672}},  // wider: the middle rows
      {std::nullopt, 600, 800, {224, 0, 800, 768}},    // taller: the middle columns
      {7, 0, 0, parts[0]},                             // no part of that number, no size yet
  };
  for (const Case& c : cases) EXPECT_EQ(*PictureOf(c.part, parts, c.width, c.height), c.shown);
  EXPECT_FALSE(PictureOf(0, {}, 800, 600).has_value());
}

TEST(OutputCanvas, DrawsStraightIntoTheWindowOnlyWhenOneShowsTheWholeCanvasAtItsSize) {
  const PixelPoint canvas = {1024, 768};
  const ShownPart whole = {{0, 0, 1024, 768}, 1024, 768};
  const struct {
    std::vector<ShownPart> shown;
    bool straight;
  } cases[] = {
      {{whole}, true},
      {{}, false},
      {{whole, {{0, 96, 1024, 672}, 1920, 1080}}, false},  // an output came: both copy
      {{{{0, 0, 1024, 768}, 2048, 1536}}, false},          // scaled up on the way
      {{{{0, 0, 800, 600}, 800, 600}}, false},             // a part of a larger canvas
  };
  for (const auto& c : cases) EXPECT_EQ(DrawsStraightIntoWindow(c.shown, canvas), c.straight);
}

}  // namespace
}  // namespace tolvenar
