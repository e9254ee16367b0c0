#pragma once
// Code page 932 text and the system's UTF-8, converted by the C library's iconv ("CP932": 0x5C is
// "\" and 0x8160 is U+FF5E, where "SHIFT_JIS" would give other characters).
#include <optional>
#include <string>
#include <string_view>

namespace tolvenar::linux_port {

// Nothing when the text holds bytes that are no character of the source encoding, or characters
// the target cannot encode.
std::optional<std::string> Cp932ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToCp932(std::string_view text);

}  // namespace tolvenar::linux_port
