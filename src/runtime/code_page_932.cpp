#include "runtime/code_page_932.h"

namespace tolvenar {

bool IsLeadByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);
}

std::size_t NextChar(std::string_view text, std::size_t position) {
  return position + (IsLeadByte(text[position]) && position + 1 < text.size() ? 2 : 1);
}

std::size_t FindLastChar(std::string_view text, std::string_view chars) {
  std::size_t last = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) {
    if (!IsLeadByte(text[i]) && chars.find(text[i]) != std::string_view::npos) last = i;
  }
  return last;
}

std::size_t FindChars(std::string_view text, std::string_view ascii) {
  for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) {
    if (text.substr(i, ascii.size()) == ascii) return i;
  }
  return ascii.empty() ? 0 : std::string_view::npos;
}

bool EndsWithChar(std::string_view text, char c) {
  const std::size_t last = FindLastChar(text, std::string_view(&c, 1));
  return last != std::string_view::npos && last + 1 == text.size();
}

std::string_view FirstChars(std::string_view text, std::size_t n) {
  return text.substr(0, text.size() - SkipChars(text, n).size());
}

std::string_view SkipChars(std::string_view text, std::size_t n) {
  std::size_t position = 0;
  for (; n > 0 && position < text.size(); --n) position = NextChar(text, position);
  return text.substr(position);
}

std::string_view LastChars(std::string_view text, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i = NextChar(text, i)) ++count;
  return count <= n ? text : SkipChars(text, count - n);
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); i = NextChar(out, i)) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
  }
  return out;
}

}  // namespace tolvenar
