#pragma once
// Code page 932 bytes, as the core keeps its texts and paths, to and from the UTF-8 of Linux file
// names and libraries, with iconv's "CP932" (whose mapping matches the Windows code page, where
// "SHIFT_JIS" differs for a few characters).
#include <optional>
#include <string>
#include <string_view>

namespace tolvenar::linux_port {

// nullopt when the text is not valid in the code it is said to be in.
std::optional<std::string> Cp932ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToCp932(std::string_view text);

}  // namespace tolvenar::linux_port
