#include "runtime/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace tolvenar {
namespace {

template <typename Int>
std::optional<Int> RoundHalfEvenTo(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double rounded =
      std::nearbyint(value);  // the default rounding mode is to nearest, ties to even
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scans sign, digits, fraction and exponent from `text` at `pos` into `out` (a plain C-locale
// number); returns false when no digit was seen.
bool ScanNumber(std::string_view text, std::size_t& pos, std::string& out, bool skip_blanks) {
  auto skip = [&] {
    while (skip_blanks && pos < text.size() &&
           (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\n' || text[pos] == '\r')) {
      ++pos;
    }
  };
  auto digits = [&] {
    bool any = false;
    for (skip(); pos < text.size() && IsDigit(text[pos]); skip()) {
      out += text[pos++];
      any = true;
    }
    return any;
  };
  skip();
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) out += text[pos++];
  bool any = digits();
  if (pos < text.size() && text[pos] == '.') {
    out += text[pos++];
    any = digits() || any;
  }
  if (!any) return false;
  if (pos < text.size() &&
      (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
    const std::size_t mark = pos;
    const std::size_t kept = out.size();
    out += 'e';
    ++pos;
    skip();
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) out += text[pos++];
    if (!digits()) {  // a lone "e" does not continue the number
      pos = mark;
      out.resize(kept);
    }
  }
  return true;
}

}  // namespace

std::optional<std::int16_t> ToInt16(double value) { return RoundHalfEvenTo<std::int16_t>(value); }
std::optional<std::int32_t> ToInt32(double value) { return RoundHalfEvenTo<std::int32_t>(value); }

double ReadLeadingNumber(std::string_view text) {
  std::size_t pos = 0;
  std::string number;
  if (!ScanNumber(text, pos, number, /*skip_blanks=*/true)) return 0;
  return std::strtod(number.c_str(), nullptr);
}

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  const std::string_view inner = text.substr(begin, end - begin);
  std::size_t pos = 0;
  std::string number;
  if (!ScanNumber(inner, pos, number, /*skip_blanks=*/false) || pos != inner.size())
    return std::nullopt;
  return std::strtod(number.c_str(), nullptr);
}

std::optional<std::uint32_t> ParseDigits32(std::string_view text) {
  // from_chars alone would take a leading minus.
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result read = std::from_chars(text.data(), end, value);
  if (read.ec != std::errc() || read.ptr != end) return std::nullopt;
  return value;
}

}  // namespace tolvenar
