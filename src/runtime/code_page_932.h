#pragma once
// Code page 932 text, walked character by character. A lead byte (0x81-0x9F or 0xE0-0xFC) and the
// byte after it, whatever that byte is, form one character; a lead byte at the very end stands
// alone. Second bytes cover most of ASCII: "\" (0x5C) ends ソ (83 5C) and 表 (95 5C), letters end
// many katakana. So a path or a reply is never searched byte by byte for "\", ":" or a letter.
#include <cstddef>
#include <string>
#include <string_view>

namespace tolvenar {

bool IsLeadByte(char c);

// Where the character after the one that starts at `position` (< text.size()) starts.
std::size_t NextChar(std::string_view text, std::size_t position);

// Where the last character that is one of the single bytes of `chars` starts, or npos.
std::size_t FindLastChar(std::string_view text, std::string_view chars);

// Where the first match of `ascii` (single-byte characters only) that starts a character starts,
// or npos.
std::size_t FindChars(std::string_view text, std::string_view ascii);

// True when the last character of the text is the single byte `c`.
bool EndsWithChar(std::string_view text, char c);

// The first n characters of a text (the whole text when it is shorter).
std::string_view FirstChars(std::string_view text, std::size_t n);

// The text after its first n characters (empty when it is shorter).
std::string_view SkipChars(std::string_view text, std::size_t n);

// The last n characters of a text (the whole text when it is shorter).
std::string_view LastChars(std::string_view text, std::size_t n);

// Upper-cases the single-byte ASCII letters; double-byte characters stay as they are.
std::string UpperCase(std::string_view text);

}  // namespace tolvenar
