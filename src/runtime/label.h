#pragma once
// Windowless text labels, drawn over the surface of the window they belong to.
#include <cstdint>
#include <string>

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

}  // namespace tolvenar
