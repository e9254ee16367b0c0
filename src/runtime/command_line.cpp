#include "runtime/command_line.h"

#include "runtime/code_page_932.h"

namespace tolvenar {

std::string ModeLetter(std::string_view argument_text) {
  return UpperCase(FirstChars(SkipChars(argument_text, 1), 1));
}

}  // namespace tolvenar
