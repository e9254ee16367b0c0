#include "startup/preview.h"

#include <gtest/gtest.h>

#include "fakes/fake_preview_window.h"

namespace tolvenar {
namespace {

using testing::FakePreviewWindow;
using Steps = std::vector<std::string>;

constexpr WindowHandle kParent = 0x1234;

TEST(PreviewPlacement, UsualPreviewAreaInOrder) {
  FakePreviewWindow fake;
  fake.windows[kParent] = {500, 300, 652, 412};  // 152 x 112
  const PreviewPlacement placement = PlacePreviewWindow(fake, kParent);
  EXPECT_EQ(fake.log, (Steps{"GetWindowRect 4660", "CreatePreviewWindow", "ReadWindowStyle",
                             "WriteWindowStyle 46000000", "SetParentWindow 4660",
                             "MoveWindowTwips 0 0 2280 1680", "SizeImage 152 112", "PlaceImage 0 0",
                             "ShowPreviewWindow"}));
  EXPECT_TRUE(placement.created);
  EXPECT_EQ(placement.width_twips, 2280);
  EXPECT_EQ(placement.height_twips, 1680);
}

TEST(PreviewPlacement, SizesTable) {
  struct Case {
    const char* what;
    PixelRect rect;
    double twips_x, twips_y;
    int width_twips, height_twips, image_width, image_height;
  } cases[] = {
      {"usual area", {0, 0, 152, 112}, 15, 15, 2280, 1680, 152, 112},
      {"other size, negative origin", {-40, -30, 160, 120}, 15, 15, 3000, 2250, 200, 150},
      {"120 dpi screen", {0, 0, 152, 112}, 12, 12, 1824, 1344, 152, 112},
      {"unequal factors", {0, 0, 100, 100}, 15, 12, 1500, 1200, 100, 100},
      {"half twips round to even", {0, 0, 5, 7}, 14.5, 14.5, 72, 102, 5, 7},
      {"largest width that fits", {0, 0, 2184, 10}, 15, 15, 32760, 150, 2184, 10},
      {"16-bit overflow leaves width 0", {0, 0, 2185, 10}, 15, 15, 0, 150, 0, 10},
      {"both overflow", {0, 0, 3000, 3000}, 15, 15, 0, 0, 0, 0},
      {"empty area", {10, 10, 10, 10}, 15, 15, 0, 0, 0, 0},
      {"inverted rectangle", {10, 10, 0, 0}, 15, 15, -150, -150, -10, -10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePreviewWindow fake;
    fake.windows[kParent] = c.rect;
    fake.twips_x = c.twips_x;
    fake.twips_y = c.twips_y;
    const PreviewPlacement p = PlacePreviewWindow(fake, kParent);
    EXPECT_EQ(p.width_twips, c.width_twips);
    EXPECT_EQ(p.height_twips, c.height_twips);
    EXPECT_EQ(p.image_width, c.image_width);
    EXPECT_EQ(p.image_height, c.image_height);
    // Every step still runs after an overflow.
    EXPECT_EQ(fake.log.back(), "ShowPreviewWindow");
  }
}

TEST(PreviewPlacement, NoWindowBehindTheHandleCreatesNothing) {
  for (std::int32_t handle : {0, 99999, -1}) {
    SCOPED_TRACE(handle);
    FakePreviewWindow fake;
    fake.windows[kParent] = {0, 0, 152, 112};
    const PreviewPlacement p = PlacePreviewWindow(fake, WindowHandleFromNumber(handle));
    EXPECT_FALSE(p.created);
    EXPECT_EQ(fake.log, Steps{"GetWindowRect " + std::to_string(handle)});
  }
}

TEST(PreviewPlacement, WindowThatCannotBeCreatedStopsThere) {
  FakePreviewWindow fake;
  fake.windows[kParent] = {0, 0, 152, 112};
  fake.creatable = false;
  EXPECT_FALSE(PlacePreviewWindow(fake, kParent).created);
  EXPECT_EQ(fake.log, (Steps{"GetWindowRect 4660", "CreatePreviewWindow"}));
}

TEST(PreviewPlacement, OnlyTheChildBitIsAdded) {
  for (std::uint32_t style : {0x00000000u, 0x80000000u, 0x40000000u, 0x16CF0000u}) {
    FakePreviewWindow fake;
    fake.windows[kParent] = {0, 0, 152, 112};
    fake.style = style;
    PlacePreviewWindow(fake, kParent);
    EXPECT_EQ(fake.style, style | 0x40000000u) << std::hex << style;
  }
}

TEST(PreviewClosing, UnloadPostsCloseToItself) {
  FakePreviewWindow fake;
  PreviewFormUnload(fake);
  EXPECT_EQ(fake.log, Steps{"PostCloseToSelf"});
}

TEST(PreviewClosing, ClosesWhenThePreviewAreaHasGone) {
  FakePreviewWindow fake;
  fake.windows[kParent] = {0, 0, 152, 112};
  EXPECT_FALSE(PreviewCheckParent(fake, kParent));
  EXPECT_EQ(fake.log, Steps{"WindowExists 4660"});
  fake.windows.clear();
  fake.log.clear();
  EXPECT_TRUE(PreviewCheckParent(fake, kParent));
  EXPECT_EQ(fake.log, (Steps{"WindowExists 4660", "PostCloseToSelf"}));
}

TEST(TwipsToPixels, Table) {
  struct Case {
    double twips, factor;
    std::int32_t pixels;
  } cases[] = {{2280, 15, 152}, {7.5, 15, 0}, {22.5, 15, 2}, {37.5, 15, 2},
               {-22.5, 15, -2}, {100, 0, 0},  {100, -15, 0}, {1e12, 1, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(TwipsToPixels(c.twips, c.factor), c.pixels) << c.twips << " / " << c.factor;
}

}  // namespace
}  // namespace tolvenar
