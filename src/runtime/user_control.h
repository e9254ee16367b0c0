#pragma once
// Hosting of a user control: the container's property bag, its ambient values and notifications,
// and a timer.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include "runtime/label.h"
#include "runtime/window_handle.h"

namespace tolvenar {

// A stored property value: a boolean, a number, a text or a font.
using PropertyValue = std::variant<bool, double, std::string, FontDescription>;

// Equality as the bag judges "equal to the default": numbers and numeric texts compare as numbers,
// booleans as -1 and 0.
bool PropertyValuesEqual(const PropertyValue& a, const PropertyValue& b);

// Conversions of a read value; nullopt when the value does not convert (the setting stays).
std::optional<bool> PropertyToBoolean(const PropertyValue& value);
std::optional<std::string> PropertyToText(const PropertyValue& value);
std::optional<std::uint8_t> PropertyToByte(const PropertyValue& value);
std::optional<std::int16_t> PropertyToInt16(const PropertyValue& value);
std::optional<std::int32_t> PropertyToInt32(const PropertyValue& value);

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored value of the key, or the default when the key is absent.
  virtual PropertyValue ReadProperty(const std::string& key,
                                     const PropertyValue& default_value) = 0;
  // Stores the value; stores nothing (and forgets the key) when it equals the default.
  virtual void WriteProperty(const std::string& key, const PropertyValue& value,
                             const PropertyValue& default_value) = 0;
};

// A bag held in memory; the container's stored properties.
class MemoryPropertyBag final : public PropertyBag {
 public:
  PropertyValue ReadProperty(const std::string& key, const PropertyValue& default_value) override;
  void WriteProperty(const std::string& key, const PropertyValue& value,
                     const PropertyValue& default_value) override;

  std::map<std::string, PropertyValue> values;
};

// The container as the control sees it.
class ControlHost {
 public:
  virtual ~ControlHost() = default;
  // Tells the container that the named property changed and must be stored again.
  virtual void PropertyChanged(const std::string& name) = 0;
  // The container's font.
  virtual FontDescription AmbientFont() = 0;
  // The container's window and the control's own window.
  virtual WindowHandle ContainerWindow() = 0;
  virtual WindowHandle ControlWindow() = 0;
};

// A timer that ticks on the window thread while enabled.
class IntervalTimer {
 public:
  virtual ~IntervalTimer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual void SetInterval(std::uint32_t milliseconds) = 0;
};

}  // namespace tolvenar
