// The Linux dialog's look against the Windows build's, region by region: the gradients, the skins,
// the marks and the frames pixel for pixel; the captions by the amount and place of their ink.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "dialog_fixture.h"
#include "runtime/linux/cairo_surfaces_linux.h"
#include "runtime/linux/owners_glib.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/linux/settings_dialog_linux.h"

namespace tolvenar::linux_port {
namespace {

namespace layout = dialog_layout;

// A picture as colours by pixel.
class Pixels {
 public:
  static Pixels OfPng(const std::string& path) {
    Pixels p;
    p.png_.reset(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(p.png_.get()) == CAIRO_STATUS_SUCCESS) {
      p.width_ = cairo_image_surface_get_width(p.png_.get());
      p.height_ = cairo_image_surface_get_height(p.png_.get());
    }
    return p;
  }
  static Pixels OfWindow(GdkWindow* window, int width, int height, const std::string& keep_as) {
    Pixels p;
    p.pixbuf_.reset(gdk_pixbuf_get_from_window(window, 0, 0, width, height));
    if (p.pixbuf_) gdk_pixbuf_save(p.pixbuf_.get(), keep_as.c_str(), "png", nullptr, nullptr);
    if (p.pixbuf_) {
      p.width_ = width;
      p.height_ = height;
    }
    return p;
  }
  int width() const { return width_; }
  int height() const { return height_; }
  Colour At(int x, int y) const {
    if (png_) return PixelAt(png_.get(), x, y);
    const guchar* row = gdk_pixbuf_get_pixels(pixbuf_.get()) +
                        static_cast<std::ptrdiff_t>(y) * gdk_pixbuf_get_rowstride(pixbuf_.get());
    const guchar* p =
        row + static_cast<std::ptrdiff_t>(x) * gdk_pixbuf_get_n_channels(pixbuf_.get());
    return {p[0], p[1], p[2]};
  }

 private:
  UniqueCairoSurface png_;
  GObjectRef<GdkPixbuf> pixbuf_;
  int width_ = 0;
  int height_ = 0;
};

int Distance(Colour a, Colour b) {
  return std::max(
      {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
}

class DialogLook : public DialogFixture, public ::testing::WithParamInterface<int> {};

TEST_P(DialogLook, MatchesTheWindowsBuildRegionByRegion) {
  const int dpi = GetParam();
  const Scale scale{1440.0 / dpi, 1440.0 / dpi};
  // The audio CD with track 5, as the reference pictures were made.
  GtkSettingsDialog& dialog =
      Open("[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\nBGM\xD8\xCB\xDF\xB0\xC4=5\r\n", dpi);
  Pump(400);

  const Pixels windows = Pixels::OfPng(std::string(TOLVENAR_DIALOG_REFERENCES) + "/dialog_" +
                                       std::to_string(dpi) + "dpi.png");
  // The picture is kept beside the test program, to look at when a region differs.
  const Pixels linux =
      Pixels::OfWindow(gtk_widget_get_window(dialog.Window()), windows.width(), windows.height(),
                       "settings_dialog_linux_" + std::to_string(dpi) + "dpi.png");
  ASSERT_GT(windows.width(), 0);
  ASSERT_GT(linux.width(), 0);
  int width = 0, height = 0;
  gtk_window_get_size(GTK_WINDOW(dialog.Window()), &width, &height);
  EXPECT_EQ(width, windows.width());
  EXPECT_EQ(height, windows.height());

  const PixelRect panel = scale.Box(layout::kPanel);
  const auto in_panel = [&](const layout::Place& place) {
    const PixelRect box = scale.Box(place);
    return PixelRect{panel.left + box.left, panel.top + box.top, panel.left + box.right,
                     panel.top + box.bottom};
  };
  const auto inset = [](PixelRect box, int by) {
    return PixelRect{box.left + by, box.top + by, box.right - by, box.bottom - by};
  };
  const int ring = scale.Pixels(4);  // the skins' corners and edges

  // Pixel for pixel: every pixel of the region, or of its ring `ring_width` wide.
  const auto expect_exact = [&](const char* name, PixelRect box, int ring_width = 0) {
    int differing = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) {
        const bool on_ring = x < box.left + ring_width || x >= box.right - ring_width ||
                             y < box.top + ring_width || y >= box.bottom - ring_width;
        if (ring_width > 0 && !on_ring) continue;
        if (!(windows.At(x, y) == linux.At(x, y))) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << name;
  };
  const int client_width = scale.X(layout::kClientWidth);
  const int client_height = scale.Y(layout::kClientHeight);
  expect_exact("gradient, left", {0, 0, panel.left, client_height});
  expect_exact("gradient, top", {0, 0, client_width, panel.top});
  expect_exact("gradient, right", {panel.right, 0, client_width, client_height});
  expect_exact("gradient, under the panel",
               {0, panel.bottom, client_width, scale.Y(layout::kCredit.top)});
  expect_exact("panel, right", in_panel({4000, 0, 3035, 1740}));
  expect_exact("panel, bottom", in_panel({0, 2235, 7035, 240}));
  expect_exact("file name frame", in_panel(layout::kFileName));
  expect_exact("heading frame", in_panel(layout::kHeadingFrame), scale.Pixels(1));
  for (const layout::Place& mark : layout::kMarks) {
    const PixelRect box = in_panel(mark);
    expect_exact("mark",
                 {box.left, box.top, box.left + scale.Pixels(12), box.top + scale.Pixels(12)});
  }
  expect_exact("Set", scale.Box(layout::kSetButton), ring);
  expect_exact("Cancel", scale.Box(layout::kCancelButton), ring);
  expect_exact("file button (disabled)", in_panel(layout::kFileButton), ring);

  // Captions: about as much ink, in about the same place (the faces' rasterisers differ). A
  // pixel's ink is how far it has gone from its row's background (the column left of the box)
  // towards the text's colour, so that smoothed and crisp edges count alike.
  const auto expect_text = [&](const char* name, PixelRect box, Colour ink) {
    struct Mass {
      double amount = 0, x = 0, y = 0;
    };
    const auto mass_of = [&](const Pixels& picture) {
      Mass mass;
      for (int y = box.top; y < box.bottom; ++y) {
        const double span = Distance(picture.At(box.left - 1, y), ink);
        if (span < 64) continue;  // no contrast to measure on this row
        for (int x = box.left; x < box.right; ++x) {
          const double coverage =
              std::clamp(1.0 - Distance(picture.At(x, y), ink) / span, 0.0, 1.0);
          mass.amount += coverage;
          mass.x += coverage * x;
          mass.y += coverage * y;
        }
      }
      return mass;
    };
    const Mass on_windows = mass_of(windows);
    const Mass on_linux = mass_of(linux);
    ASSERT_GT(on_windows.amount, 5) << name;
    ASSERT_GT(on_linux.amount, 5) << name;
    // Wine smooths larger sizes with a gamma that thins the strokes; cairo does not.
    EXPECT_NEAR(on_linux.amount, on_windows.amount, 0.4 * on_windows.amount) << name;
    EXPECT_NEAR(on_linux.x / on_linux.amount, on_windows.x / on_windows.amount, scale.Pixels(3))
        << name;
    EXPECT_NEAR(on_linux.y / on_linux.amount, on_windows.y / on_windows.amount, scale.Pixels(2))
        << name;
  };
  expect_text("BGM", inset(in_panel(layout::kHeadingFrame), scale.Pixels(2)), layout::kBlack);
  for (const layout::Place& label : layout::kChoiceLabels) {
    expect_text("choice", in_panel(label), layout::kBlack);
  }
  expect_text("repeat", in_panel({layout::kRepeatLabel.left, layout::kRepeatLabel.top, 1300, 195}),
              layout::kBlack);
  expect_text("credit", scale.Box({180, 2880, 3600, 195}), layout::kWhite);
  expect_text("link", scale.Box({180, 3120, 3600, 225}), layout::kWhite);
  expect_text("Set caption", inset(scale.Box(layout::kSetButton), ring), layout::kBlack);
  expect_text("Cancel caption", inset(scale.Box(layout::kCancelButton), ring), layout::kBlack);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, DialogLook, ::testing::Values(96, 144),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "dpi";
                         });

}  // namespace
}  // namespace tolvenar::linux_port
