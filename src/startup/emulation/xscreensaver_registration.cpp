#include "startup/emulation/xscreensaver_registration.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include "runtime/emulation/replace_whole_file.h"

namespace tolvenar {
namespace {

constexpr std::string_view kProgramsName = "programs";
constexpr std::string_view kEntrySeparator = "\\n";
constexpr std::string_view kSaverName = "tolvenar";
constexpr std::string_view kEntryIndent = "  ";
// The start of a ~/.xscreensaver made here, in the settings program's words where they fit.
constexpr std::string_view kNewFileHeader =
    "# XScreenSaver Preferences File\n"
    "# Written by tolvenar --register-xscreensaver: XScreenSaver's own list of display modes\n"
    "# with Tolvenar added at its end; every other setting is XScreenSaver's default.\n";

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

// The value of a resource the line names with one of the given names (the text before the colon).
template <std::size_t N>
std::optional<std::string_view> ResourceValue(std::string_view text,
                                              const std::array<std::string_view, N>& names) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view name = TrimRight(TrimLeft(text.substr(0, colon)));
  for (const std::string_view candidate : names) {
    if (name == candidate) return text.substr(colon + 1);
  }
  return std::nullopt;
}

// ~/.xscreensaver names the list by its bare name.
constexpr std::array<std::string_view, 1> kUserProgramsNames = {kProgramsName};
// An app-defaults file names it as a resource of the daemon's class, or of any program.
constexpr std::array<std::string_view, 4> kSystemProgramsNames = {
    "*programs", "programs", "XScreenSaver.programs", "XScreenSaver*programs"};

std::optional<std::string_view> ProgramsValue(std::string_view text) {
  return ResourceValue(text, kUserProgramsNames);
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

// The lines [first, last] of one resource: its name's line and those its value is continued over.
struct LineRange {
  std::size_t first;
  std::size_t last;
};

// The first (or the last) resource named by one of names; comment lines are skipped.
template <std::size_t N>
std::optional<LineRange> FindResource(const std::vector<Line>& lines,
                                      const std::array<std::string_view, N>& names,
                                      bool take_last) {
  std::optional<LineRange> found;
  std::size_t last = 0;
  for (std::size_t i = 0; i < lines.size(); i = last + 1) {
    last = i;
    if (IsComment(lines[i].text)) continue;
    while (last + 1 < lines.size() && Continues(lines[last].text)) ++last;
    if (ResourceValue(lines[i].text, names)) {
      found = LineRange{i, last};
      if (!take_last) break;
    }
  }
  return found;
}

// Whether the value ends in a finished entry: nothing, or a separator, after the last blank.
bool EndsWithSeparator(std::string_view value) {
  value = TrimRight(value);
  return value.empty() || (value.size() >= kEntrySeparator.size() &&
                           value.substr(value.size() - kEntrySeparator.size()) == kEntrySeparator);
}

// The file's bytes; nothing when it does not exist, an error when it cannot be read.
struct ReadResult {
  bool ok = true;
  std::optional<std::string> content;
};

ReadResult ReadWholeFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return {!error, std::nullopt};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, std::nullopt};
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return {false, std::nullopt};
  return {true, std::move(content)};
}

}  // namespace

ProgramsUpdate AddToXscreensaverPrograms(std::string_view content) {
  ProgramsUpdate update{XscreensaverRegistration::kNoProgramsList, std::string(content)};
  const std::vector<Line> lines = SplitLines(content);
  const std::optional<LineRange> list = FindResource(lines, kUserProgramsNames, false);
  if (!list) return update;
  const std::size_t first = list->first;
  const std::size_t last = list->last;

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

std::optional<std::string> SystemProgramsResource(std::string_view app_defaults) {
  const std::vector<Line> lines = SplitLines(app_defaults);
  const std::optional<LineRange> list = FindResource(lines, kSystemProgramsNames, true);
  if (!list) return std::nullopt;
  std::string resource(kProgramsName);
  resource += ':';
  resource += *ResourceValue(lines[list->first].text, kSystemProgramsNames);
  for (std::size_t i = list->first + 1; i <= list->last; ++i) {
    resource += '\n';
    resource += lines[i].text;
  }
  // The value goes on over a blank line that ends it, as the settings program writes the list.
  if (!Continues(lines[list->last].text)) resource += '\\';
  resource += "\n\n";
  return resource;
}

ProgramsUpdate AddToXscreensaverFile(const std::optional<std::string>& file,
                                     const std::optional<std::string>& app_defaults) {
  using R = XscreensaverRegistration;
  if (file) {
    ProgramsUpdate update = AddToXscreensaverPrograms(*file);
    if (update.result != R::kNoProgramsList) return update;
  }
  const std::optional<std::string> system =
      app_defaults ? SystemProgramsResource(*app_defaults) : std::nullopt;
  if (!system) return {R::kNoSystemList, file.value_or(std::string())};

  // After the file's own bytes and a blank line, which also ends a value the file leaves open.
  std::string content = file ? *file : std::string(kNewFileHeader);
  if (!content.empty()) {
    if (content.back() != '\n') content += '\n';
    content += '\n';
  }
  content += *system;
  ProgramsUpdate update = AddToXscreensaverPrograms(content);
  if (update.result == R::kAdded) {
    update.result = R::kAddedSystemList;
    return update;
  }
  // The system's list runs the saver already: the user's file stays as it is.
  return {update.result == R::kNoProgramsList ? R::kNoSystemList : update.result,
          file.value_or(std::string())};
}

XscreensaverRegistration RegisterXscreensaver(const std::string& path,
                                              const std::vector<std::string>& app_defaults_paths) {
  const ReadResult file = ReadWholeFile(path);
  if (!file.ok) return XscreensaverRegistration::kUnreadable;
  std::optional<std::string> app_defaults;
  for (const std::string& candidate : app_defaults_paths) {
    app_defaults = ReadWholeFile(candidate).content;
    if (app_defaults) break;
  }
  const ProgramsUpdate update = AddToXscreensaverFile(file.content, app_defaults);
  if (update.result != XscreensaverRegistration::kAdded &&
      update.result != XscreensaverRegistration::kAddedSystemList) {
    return update.result;
  }
  return ReplaceWholeFile(path, update.content) ? update.result
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
    case XscreensaverRegistration::kAddedSystemList:
      return "Tolvenar is now in XScreenSaver's list of display modes: " + path +
             " holds XScreenSaver's own list with Tolvenar at its end; XScreenSaver rereads the "
             "file by itself.\n";
    case XscreensaverRegistration::kNoProgramsList:
    case XscreensaverRegistration::kNoSystemList:
      return path + " has no list of display modes, and XScreenSaver's own list cannot be read (" +
             std::string(kXscreensaverAppDefaults[0]) +
             "): is XScreenSaver installed? Nothing was changed.\n";
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
                 result == XscreensaverRegistration::kAddedSystemList ||
                 result == XscreensaverRegistration::kListed ||
                 result == XscreensaverRegistration::kListedDisabled
             ? 0
             : 1;
}

}  // namespace tolvenar
