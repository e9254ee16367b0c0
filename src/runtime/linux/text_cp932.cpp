#include "runtime/linux/text_cp932.h"

#include <vector>

#include "runtime/linux/owners_posix.h"

namespace tolvenar::linux_port {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  const iconv_t converter = iconv_open(to, from);
  // iconv_open's documented failure value.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  const UniqueIconv owner(converter);
  // A code page 932 character takes at most 3 bytes in UTF-8; a UTF-8 character never takes
  // fewer bytes than its code page 932 form.
  std::vector<char> out(text.size() * 3 + 1);
  char* in_at = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char* out_at = out.data();
  std::size_t out_left = out.size();
  const std::size_t done = iconv(converter, &in_at, &in_left, &out_at, &out_left);
  if (done == static_cast<std::size_t>(-1) || in_left != 0) return std::nullopt;
  return std::string(out.data(), out_at);
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  return Convert("UTF-8", "CP932", text);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Convert("CP932", "UTF-8", text);
}

}  // namespace tolvenar::linux_port
