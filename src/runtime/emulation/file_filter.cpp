#include "runtime/emulation/file_filter.h"

#include "runtime/code_page_932.h"

namespace tolvenar {
namespace {

std::vector<std::string> SplitPatterns(std::string_view list) {
  std::vector<std::string> patterns;
  while (!list.empty()) {
    const std::size_t end = list.find(';');
    const std::string_view pattern = list.substr(0, end);
    if (!pattern.empty()) patterns.emplace_back(pattern);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return patterns;
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(std::string_view filter) {
  std::vector<FileFilter> filters;
  std::vector<std::string_view> fields;
  while (!filter.empty()) {
    const std::size_t end = filter.find('\0');
    const std::string_view field = filter.substr(0, end);
    if (field.empty()) break;  // the closing double NUL
    fields.push_back(field);
    if (end == std::string_view::npos) break;
    filter.remove_prefix(end + 1);
  }
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    filters.push_back({std::string(fields[i]), SplitPatterns(fields[i + 1])});
  }
  return filters;
}

std::string CaseInsensitivePattern(std::string_view pattern) {
  std::string spelled;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (IsLeadByte(c)) {  // a double-byte character stays whole, whatever its second byte
      const std::size_t next = NextChar(pattern, i);
      spelled += pattern.substr(i, next - i);
      i = next - 1;
      continue;
    }
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    if (!lower && !upper) {
      spelled += c;
      continue;
    }
    const char up = upper ? c : static_cast<char>(c - 'a' + 'A');
    const char down = lower ? c : static_cast<char>(c - 'A' + 'a');
    spelled += '[';
    spelled += up;
    spelled += down;
    spelled += ']';
  }
  return spelled;
}

}  // namespace tolvenar
