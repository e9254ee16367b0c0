#pragma once
// A windowless caption label drawn over a control's surface: centred text, transparent background.
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

class CaptionLabel {
 public:
  virtual ~CaptionLabel() = default;
  // The text (UTF-8).
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
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
