#pragma once
// Desktop-wide services of the window system that start-up and the saver use.
#include <cstdint>
#include <string>

namespace tolvenar {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // True when a top-level window with exactly this title exists anywhere on the desktop; a failed
  // look-up counts as none.
  virtual bool TopLevelWindowExists(const std::string& title) = 0;
  // The platform's ShowCursor: zero hides, non-zero shows; returns the new display count.
  virtual std::int32_t ShowCursor(std::int32_t show_flag) = 0;
};

}  // namespace tolvenar
