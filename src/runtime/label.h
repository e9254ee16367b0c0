#pragma once
// Windowless text labels, drawn over the surface of the window they belong to.
#include <cstdint>
#include <string>

#include "runtime/pixel_geometry.h"
#include "runtime/screen_units.h"

namespace tolvenar {

// A font as controls keep it; the face name is UTF-8.
struct FontDescription {
  std::string face_name;
  double size_points = 0;
  std::int16_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  std::int16_t charset = 0;

  bool operator==(const FontDescription& other) const {
    return face_name == other.face_name && size_points == other.size_points &&
           weight == other.weight && italic == other.italic && underline == other.underline &&
           strikethrough == other.strikethrough && charset == other.charset;
  }
  bool operator!=(const FontDescription& other) const { return !(*this == other); }
};

// A windowless text.
class Label {
 public:
  virtual ~Label() = default;
  // The text, as bytes of the code page the label draws in (UTF-8 unless its window says else).
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
};

// A label that also takes a colour, a font, an enabled look and a box: a control's caption,
// centred on a transparent background.
class StyledLabel : public Label {
 public:
  // Text colour 0x00BBGGRR.
  virtual std::uint32_t ForeColour() = 0;
  // False for a value that is not a colour (the colour stays as it was).
  virtual bool SetForeColour(std::uint32_t colour) = 0;
  virtual FontDescription Font() = 0;
  virtual void SetFont(const FontDescription& font) = 0;
  // A disabled label draws its text greyed.
  virtual bool Enabled() = 0;
  virtual bool SetEnabled(bool enabled) = 0;
  // Position and size in twips, relative to the control.
  virtual double Height() = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual void SetWidth(double twips) = 0;
  virtual void SetHeight(double twips) = 0;
};

// A styled label's state, kept alike on every platform: the text, colour, font, enabled look and
// box in twips. A platform draws it and is told when it must be drawn again.
class CaptionLabel : public StyledLabel {
 public:
  // The twips per pixel the control is laid out at; set before the font and the box.
  void SetTwipsPerPixel(double twips_per_pixel) { twips_per_pixel_ = twips_per_pixel; }

  std::string Caption() override { return caption_; }
  void SetCaption(const std::string& caption) override;
  std::uint32_t ForeColour() override { return colour_; }
  bool SetForeColour(std::uint32_t colour) override;
  FontDescription Font() override { return font_; }
  void SetFont(const FontDescription& font) override;
  bool Enabled() override { return enabled_; }
  bool SetEnabled(bool enabled) override;
  double Height() override { return height_; }
  void SetLeft(double twips) override { Move(left_, twips); }
  void SetTop(double twips) override { Move(top_, twips); }
  void SetWidth(double twips) override { Move(width_, twips); }
  void SetHeight(double twips) override { Move(height_, twips); }

  // The label's box in the control's client pixels.
  PixelRect Box() const;

 protected:
  // Something drawn changed.
  virtual void Invalidate() = 0;
  // A new font was set; a platform may make its own font object from it before the redraw.
  virtual void FontChanged() {}

  const std::string& caption() const { return caption_; }
  std::uint32_t colour() const { return colour_; }
  const FontDescription& font() const { return font_; }
  bool enabled() const { return enabled_; }
  double twips_per_pixel() const { return twips_per_pixel_; }

 private:
  void Move(double& field, double twips);

  std::string caption_;
  std::uint32_t colour_ = 0;
  FontDescription font_;
  bool enabled_ = true;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  double twips_per_pixel_ = TwipsPerPixel(kUsualDotsPerInch);
};

}  // namespace tolvenar
