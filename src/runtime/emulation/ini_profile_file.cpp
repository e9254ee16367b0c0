#include "runtime/emulation/ini_profile_file.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "runtime/code_page_932.h"
#include "runtime/emulation/replace_whole_file.h"

namespace tolvenar {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// A blank that is the second byte of a double-byte character belongs to that character and stays:
// cut off, it would leave a lone first byte that pairs with whatever is written after it.
std::string_view TrimRight(std::string_view text) {
  std::size_t end = 0;  // just past the last character that is not a blank
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t next = NextChar(text, i);
    if (next - i == 2 || !IsBlank(text[i])) end = next;
    i = next;
  }
  return text.substr(0, end);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// The platform sees C strings: everything from the first NUL on is not there.
std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t next = NextChar(a, i);
    if (next - i == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
    i = next;
  }
  return true;
}

// One meaningful line of the file: a section header or an entry.
struct Line {
  bool is_section = false;
  std::string_view name;
  std::optional<std::string_view> value;  // none for a bare name
};

// Calls `visit(line)` for each meaningful line of `text`, in order.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  // Of two entries in a row with an empty name the second is dropped, as the platform does.
  bool previous_entry_unnamed = false;
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find_first_of(kLineEnd, position);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = Trim(text.substr(position, end - position));
    position = text.find_first_not_of(kLineEnd, end);
    if (position == std::string_view::npos) position = text.size();
    if (raw.empty()) continue;

    if (raw.front() == '[') {
      const std::size_t close = FindLastChar(raw, "]");
      if (close != std::string_view::npos) {
        previous_entry_unnamed = false;
        visit(Line{true, UpToNul(Trim(raw.substr(1, close - 1))), std::nullopt});
        continue;
      }
    }
    Line line;
    line.name = raw;
    const std::size_t equals = raw.find('=');
    if (equals != std::string_view::npos) {
      line.name = TrimRight(raw.substr(0, equals));
      line.value = UpToNul(TrimLeft(raw.substr(equals + 1)));
    }
    const bool unnamed = line.name.empty();
    if (unnamed && previous_entry_unnamed) continue;
    line.name = UpToNul(line.name);
    previous_entry_unnamed = line.name.empty();
    visit(line);
  }
}

enum class Loaded { kContent, kMissing, kUnreadable };

Loaded LoadFile(const std::string& file, std::string& content) {
  content.clear();
  std::error_code error;
  const fs::path path(file);
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) return Loaded::kMissing;
  if (error || fs::is_directory(status)) return Loaded::kUnreadable;
  const std::uintmax_t size = fs::file_size(path, error);
  if (error || size > kLargestProfileFile) return Loaded::kUnreadable;
  std::ifstream in(path, std::ios::binary);
  if (!in) return Loaded::kUnreadable;
  content.resize(static_cast<std::size_t>(size));
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad()) return Loaded::kUnreadable;
  content.resize(static_cast<std::size_t>(in.gcount()));
  return Loaded::kContent;
}

// Where a key sits in a file: the section that holds it (the first of its name) and the entry.
struct Place {
  bool section_found = false;
  bool entry_found = false;
  std::optional<std::string_view> value;  // of the entry found
};

// Sections are counted from 1 in file order; 0 is the part before the first header, which has
// no name and is the only section an empty section name finds.
struct Finder {
  std::string_view section;
  std::string_view key;
  std::size_t section_number = 0;
  std::size_t target_section = 0;  // the number of the first section of the name, when found
  bool section_found = false;
  bool entry_found = false;
  std::optional<std::string_view> value;

  Finder(std::string_view section_name, std::string_view key_name)
      : section(Trim(UpToNul(section_name))), key(Trim(UpToNul(key_name))) {
    section_found = section.empty();
  }

  bool InTarget() const { return section_found && section_number == target_section; }

  void operator()(const Line& line) {
    if (line.is_section) {
      ++section_number;
      if (!section_found && !section.empty() && SameName(line.name, section)) {
        section_found = true;
        target_section = section_number;
      }
      return;
    }
    if (InTarget() && !entry_found && SameName(line.name, key)) {
      entry_found = true;
      value = line.value;
    }
  }
};

// `text` cut to at most `limit` bytes without splitting a double-byte character.
std::string CutText(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = 0;
  while (end < limit) {
    const std::size_t next = NextChar(text, end);
    if (next > limit) break;
    end = next;
  }
  return std::string(text.substr(0, end));
}

// The value as the platform hands it back: one pair of matching quotes around it is dropped, and
// the text is cut to size - 1 bytes.
std::string CopyOut(std::string_view value, std::size_t buffer_size) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return CutText(value, buffer_size - 1);
}

void AppendEntry(std::string& out, std::string_view name, std::optional<std::string_view> value) {
  out += name;
  if (value) {
    out += '=';
    out += *value;
  }
  out += kLineEnd;
}

void AppendSectionHeader(std::string& out, std::string_view name) {
  // A section without a name has no header of its own; its entries join the previous section.
  if (name.empty()) return;
  out += '[';
  out += name;
  out += ']';
  out += kLineEnd;
}

// The file rewritten with `key` of `section` set to `value`; `finder` has seen the file.
std::string Rewrite(std::string_view content, const Finder& finder, std::string_view section,
                    std::string_view key, std::string_view value) {
  // New names keep their trailing blanks, as the platform writes them.
  const std::string_view new_section = TrimLeft(UpToNul(section));
  const std::string_view new_key = TrimLeft(UpToNul(key));

  std::string out;
  out.reserve(content.size() + section.size() + key.size() + value.size() + 8);
  if (content.substr(0, kUtf8Mark.size()) == kUtf8Mark) out += kUtf8Mark;
  std::size_t section_number = 0;
  bool written = false;
  const auto in_target = [&] {
    return finder.section_found && section_number == finder.target_section;
  };
  ForEachLine(content, [&](const Line& line) {
    if (line.is_section) {
      // A key the section lacks goes after its last entry.
      if (!written && in_target()) {
        AppendEntry(out, new_key, value);
        written = true;
      }
      ++section_number;
      AppendSectionHeader(out, line.name);
      return;
    }
    if (!written && finder.entry_found && in_target() && SameName(line.name, finder.key)) {
      AppendEntry(out, line.name, value);
      written = true;
      return;
    }
    AppendEntry(out, line.name, line.value);
  });
  if (!written) {
    if (!in_target()) AppendSectionHeader(out, new_section);
    AppendEntry(out, new_key, value);
  }
  // The bytes of a UTF-8 mark are only a mark at the very start of the file. A first line that
  // opens with them after blanks must not move there when the blanks go, or it would read as
  // something else: a blank line keeps it in place.
  if (content.substr(0, kUtf8Mark.size()) != kUtf8Mark &&
      std::string_view(out).substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    out.insert(0, kLineEnd);
  }
  return out;
}

// True when the file could be opened for writing; the platform refuses a write to a read-only file.
bool CanWrite(const fs::path& path) {
  std::fstream probe(path, std::ios::in | std::ios::out | std::ios::binary);
  return static_cast<bool>(probe);
}

}  // namespace

std::string IniProfileFile::GetString(const std::string& section, const std::string& key,
                                      const std::string& default_value, std::size_t buffer_size,
                                      const std::string& file) {
  if (buffer_size == 0) return {};
  // Trailing spaces of the default are dropped.
  std::string_view fallback = UpToNul(default_value);
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);

  std::string content;
  const Loaded loaded = LoadFile(file, content);
  if (loaded == Loaded::kUnreadable) return CutText(fallback, buffer_size - 1);
  Finder finder(section, key);
  ForEachLine(content, finder);
  return CopyOut(finder.value ? *finder.value : fallback, buffer_size);
}

bool IniProfileFile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& file) {
  std::string content;
  const Loaded loaded = LoadFile(file, content);
  if (loaded == Loaded::kUnreadable) return false;
  const fs::path path(file);
  if (loaded == Loaded::kContent && !CanWrite(path)) return false;

  const std::string_view new_value = TrimLeft(UpToNul(value));
  Finder finder(section, key);
  ForEachLine(content, finder);
  // An unchanged value leaves the file as it is.
  if (finder.value && *finder.value == new_value) return true;
  return ReplaceWholeFile(file, Rewrite(content, finder, section, key, new_value));
}

}  // namespace tolvenar
