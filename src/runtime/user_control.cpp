#include "runtime/user_control.h"

#include <cmath>
#include <cstdio>

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"

namespace tolvenar {
namespace {

// Texts that read as booleans, whatever their case.
std::optional<bool> BooleanWord(const std::string& text) {
  const std::string upper = UpperCase(text);
  if (upper == "TRUE") return true;
  if (upper == "FALSE") return false;
  return std::nullopt;
}

// The number a value stands for: booleans are -1 and 0; texts must read whole as a number.
std::optional<double> NumberOf(const PropertyValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b ? -1.0 : 0.0;
  if (const double* d = std::get_if<double>(&value)) return *d;
  if (const std::string* s = std::get_if<std::string>(&value)) {
    if (auto word = BooleanWord(*s)) return *word ? -1.0 : 0.0;
    return ParseNumber(*s);
  }
  return std::nullopt;
}

std::string NumberText(double value) {
  char buffer[32];
  (void)std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

}  // namespace

bool PropertyValuesEqual(const PropertyValue& a, const PropertyValue& b) {
  const auto* font_a = std::get_if<FontDescription>(&a);
  const auto* font_b = std::get_if<FontDescription>(&b);
  if (font_a || font_b) return font_a && font_b && *font_a == *font_b;
  const auto* text_a = std::get_if<std::string>(&a);
  const auto* text_b = std::get_if<std::string>(&b);
  if (text_a && text_b) return *text_a == *text_b;
  const auto number_a = NumberOf(a);
  const auto number_b = NumberOf(b);
  return number_a && number_b && *number_a == *number_b;
}

std::optional<bool> PropertyToBoolean(const PropertyValue& value) {
  const auto number = NumberOf(value);
  if (!number) return std::nullopt;
  return *number != 0;
}

std::optional<std::string> PropertyToText(const PropertyValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return std::string(*b ? "True" : "False");
  if (const double* d = std::get_if<double>(&value)) return NumberText(*d);
  if (const std::string* s = std::get_if<std::string>(&value)) return *s;
  // A font reads as its face name.
  return std::get<FontDescription>(value).face_name;
}

std::optional<std::uint8_t> PropertyToByte(const PropertyValue& value) {
  const auto number = NumberOf(value);
  if (!number) return std::nullopt;
  const auto whole = ToInt16(*number);
  if (!whole || *whole < 0 || *whole > 255) return std::nullopt;
  return static_cast<std::uint8_t>(*whole);
}

std::optional<std::int16_t> PropertyToInt16(const PropertyValue& value) {
  const auto number = NumberOf(value);
  if (!number) return std::nullopt;
  return ToInt16(*number);
}

std::optional<std::int32_t> PropertyToInt32(const PropertyValue& value) {
  const auto number = NumberOf(value);
  if (!number) return std::nullopt;
  return ToInt32(*number);
}

PropertyValue MemoryPropertyBag::ReadProperty(const std::string& key,
                                              const PropertyValue& default_value) {
  auto it = values.find(key);
  return it == values.end() ? default_value : it->second;
}

void MemoryPropertyBag::WriteProperty(const std::string& key, const PropertyValue& value,
                                      const PropertyValue& default_value) {
  if (PropertyValuesEqual(value, default_value)) {
    values.erase(key);
    return;
  }
  values[key] = value;
}

}  // namespace tolvenar
