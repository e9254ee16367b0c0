#include "runtime/command_line.h"

#include "runtime/conversions.h"

namespace tolvenar {

std::string ModeLetter(std::string_view argument_text) {
  if (argument_text.size() < 2) return {};
  return UpperCase(argument_text.substr(1, 1));
}

}  // namespace tolvenar
