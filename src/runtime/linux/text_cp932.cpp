#include "runtime/linux/text_cp932.h"

#include <iconv.h>

namespace tolvenar::linux_port {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  // iconv_open reports failure as (iconv_t)-1.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view text) {
    if (!ok()) return std::nullopt;
    std::string in(text);
    std::string out(in.size() * 3 + 4, '\0');  // CP932 to UTF-8 at most 3 bytes for 1
    char* in_ptr = in.data();
    char* out_ptr = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    out.resize(out.size() - out_left);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  return Converter("UTF-8", "CP932").Convert(text);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  return Converter("CP932", "UTF-8").Convert(text);
}

}  // namespace tolvenar::linux_port
