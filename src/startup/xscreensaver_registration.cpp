#include "startup/xscreensaver_registration.h"

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "runtime/replace_file.h"

namespace tolvenar {
namespace {

constexpr std::string_view kProgramsName = "programs";
constexpr std::string_view kEntrySeparator = "\\n";
constexpr std::string_view kSaverName = "tolvenar";
constexpr std::string_view kEntryIndent = "  ";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// One line of the file: its text, and the line end after it ("\n", "\r\n" or none at the end).
struct Line {
  std::size_t begin;
  std::string_view text;
  std::string_view end;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < content.size()) {
    std::size_t newline = content.find('\n', begin);
    if (newline == std::string_view::npos) {
      lines.push_back({begin, content.substr(begin), {}});
      break;
    }
    std::size_t text_end = newline;
    if (text_end > begin && content[text_end - 1] == '\r') --text_end;
    lines.push_back({begin, content.substr(begin, text_end - begin),
                     content.substr(text_end, newline + 1 - text_end)});
    begin = newline + 1;
  }
  return lines;
}

// A value goes on over the next line when its line ends in an odd number of backslashes (an
// even number are escaped backslashes).
bool Continues(std::string_view text) {
  std::size_t backslashes = 0;
  while (backslashes < text.size() && text[text.size() - 1 - backslashes] == '\\') ++backslashes;
  return backslashes % 2 == 1;
}

bool IsComment(std::string_view text) {
  text = TrimLeft(text);
  return !text.empty() && (text.front() == '#' || text.front() == '!');
}

// The value of the `programs:` resource when the line names it.
std::optional<std::string_view> ProgramsValue(std::string_view text) {
  text = TrimLeft(text);
  if (text.substr(0, kProgramsName.size()) != kProgramsName) return std::nullopt;
  text = TrimLeft(text.substr(kProgramsName.size()));
  if (text.empty() || text.front() != ':') return std::nullopt;
  return text.substr(1);
}

// An entry reads `[-] [visual:] ["label"] command`: a leading dash switches it off.
struct Entry {
  bool enabled = true;
  std::string_view program;  // the command's first word without its folder
};

Entry ParseEntry(std::string_view text) {
  Entry entry;
  text = TrimLeft(text);
  if (!text.empty() && text.front() == '-') {
    entry.enabled = false;
    text.remove_prefix(1);
  }
  for (;;) {
    text = TrimLeft(text);
    if (!text.empty() && text.front() == '"') {
      const std::size_t close = text.find('"', 1);
      text.remove_prefix(close == std::string_view::npos ? text.size() : close + 1);
      continue;
    }
    // A visual name ("GL", "default", "0x21") ends in a colon before any blank.
    const std::size_t word_end = text.find_first_of(" \t:/\"");
    if (word_end != std::string_view::npos && word_end > 0 && text[word_end] == ':') {
      text.remove_prefix(word_end + 1);
      continue;
    }
    break;
  }
  std::string_view command = text.substr(0, text.find_first_of(" \t"));
  const std::size_t slash = command.rfind('/');
  if (slash != std::string_view::npos) command.remove_prefix(slash + 1);
  entry.program = command;
  return entry;
}

// The list's value with the line continuations taken out, lines [first, last] of the resource.
// The last line continues only where the file ends inside the list.
std::string JoinedValue(const std::vector<Line>& lines, std::size_t first, std::size_t last) {
  std::string value(*ProgramsValue(lines[first].text));
  for (std::size_t i = first; i <= last; ++i) {
    if (i > first) value += lines[i].text;
    if (Continues(lines[i].text)) value.pop_back();
  }
  return value;
}

// Whether the value ends in a finished entry: nothing, or a separator, after the last blank.
bool EndsWithSeparator(std::string_view value) {
  value = TrimRight(value);
  return value.empty() || (value.size() >= kEntrySeparator.size() &&
                           value.substr(value.size() - kEntrySeparator.size()) == kEntrySeparator);
}

}  // namespace

ProgramsUpdate AddToXscreensaverPrograms(std::string_view content) {
  ProgramsUpdate update{XscreensaverRegistration::kNoProgramsList, std::string(content)};
  const std::vector<Line> lines = SplitLines(content);
  std::size_t first = 0;
  std::size_t last = 0;
  bool found = false;
  for (std::size_t i = 0; i < lines.size() && !found; i = last + 1) {
    first = last = i;
    if (IsComment(lines[i].text)) continue;
    while (last + 1 < lines.size() && Continues(lines[last].text)) ++last;
    found = ProgramsValue(lines[first].text).has_value();
  }
  if (!found) return update;

  const std::string value = JoinedValue(lines, first, last);
  std::size_t begin = 0;
  while (begin <= value.size()) {
    std::size_t separator = value.find(kEntrySeparator, begin);
    if (separator == std::string::npos) separator = value.size();
    const Entry entry = ParseEntry(std::string_view(value).substr(begin, separator - begin));
    if (entry.program == kSaverName) {
      update.result = entry.enabled ? XscreensaverRegistration::kListed
                                    : XscreensaverRegistration::kListedDisabled;
      return update;
    }
    begin = separator + kEntrySeparator.size();
  }

  // The entry's line, beginning with a separator where the last entry has none.
  std::string entry_line(EndsWithSeparator(value) ? "" : kEntrySeparator);
  entry_line += kEntryIndent;
  entry_line += kXscreensaverEntry;
  entry_line += " ";
  entry_line += kEntrySeparator;
  const Line& end_line = lines[last];
  std::string_view line_end = end_line.end.empty() ? lines[first].end : end_line.end;
  if (line_end.empty()) line_end = "\n";
  std::size_t insert_at = 0;
  std::string inserted;
  if (last > first && TrimLeft(end_line.text).empty()) {
    // A list that ends on a blank line (as XScreenSaver's settings write it): the entry goes on a
    // line of its own just before that line, and continues onto it.
    inserted = entry_line + "\\";
    inserted += lines[last - 1].end;
    insert_at = end_line.begin;
  } else if (Continues(end_line.text)) {
    // The file ends inside the list: the entry's line ends it.
    inserted = std::string(line_end) + entry_line;
    insert_at = content.size();
  } else {
    // A list that ends in its last entry: that line goes on over the entry's line, which ends it.
    inserted = "\\" + std::string(line_end) + entry_line;
    insert_at = end_line.begin + end_line.text.size();
  }
  update.content.insert(insert_at, inserted);
  update.result = XscreensaverRegistration::kAdded;
  return update;
}

std::optional<std::string> XscreensaverFilePath(const std::optional<std::string>& home) {
  if (!home || home->empty()) return std::nullopt;
  std::string path = *home;
  if (path.back() != '/') path += '/';
  return path + ".xscreensaver";
}

XscreensaverRegistration RegisterXscreensaver(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    return error ? XscreensaverRegistration::kUnreadable : XscreensaverRegistration::kNoFile;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return XscreensaverRegistration::kUnreadable;
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return XscreensaverRegistration::kUnreadable;
  const ProgramsUpdate update = AddToXscreensaverPrograms(content);
  if (update.result != XscreensaverRegistration::kAdded) return update.result;
  return ReplaceFile(path, update.content) ? XscreensaverRegistration::kAdded
                                           : XscreensaverRegistration::kWriteFailed;
}

std::string RegistrationMessage(XscreensaverRegistration result, const std::string& path) {
  switch (result) {
    case XscreensaverRegistration::kAdded:
      return "Tolvenar is now in XScreenSaver's list of display modes (" + path +
             "); XScreenSaver rereads the file by itself.\n";
    case XscreensaverRegistration::kListed:
      return "Tolvenar is already in XScreenSaver's list of display modes (" + path + ").\n";
    case XscreensaverRegistration::kListedDisabled:
      return "Tolvenar is in XScreenSaver's list of display modes (" + path +
             ") but switched off; switch it on in XScreenSaver's settings.\n";
    case XscreensaverRegistration::kNoProgramsList:
      return path +
             " has no list of display modes, so XScreenSaver uses the system's list. Save the "
             "settings once in XScreenSaver's settings program, then run this again.\n";
    case XscreensaverRegistration::kNoFile:
      return path +
             " does not exist: XScreenSaver has not been set up for this user. Open its settings "
             "program once (xscreensaver-settings), then run this again.\n";
    case XscreensaverRegistration::kNoHome:
      return "HOME is not set: there is no ~/.xscreensaver to add Tolvenar to.\n";
    case XscreensaverRegistration::kUnreadable:
      return "Cannot read " + path + ".\n";
    case XscreensaverRegistration::kWriteFailed:
      return "Cannot write " + path + "; it is unchanged.\n";
  }
  return {};
}

int RegistrationExitStatus(XscreensaverRegistration result) {
  return result == XscreensaverRegistration::kAdded ||
                 result == XscreensaverRegistration::kListed ||
                 result == XscreensaverRegistration::kListedDisabled
             ? 0
             : 1;
}

}  // namespace tolvenar
