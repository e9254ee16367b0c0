#pragma once
// The screen-saver command line: its mode is the second character of the argument text.
#include <string>
#include <string_view>

namespace tolvenar {

// The second character of the argument text, upper-cased; empty when the text is shorter.
std::string ModeLetter(std::string_view argument_text);

}  // namespace tolvenar
