#include "music/emulation/mci_emulator.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "runtime/code_page_932.h"
#include "runtime/conversions.h"

namespace tolvenar {
namespace {

struct ErrorDescription {
  std::int32_t code;
  const char* text;
};
// The service's descriptions of its error codes, as the Windows build reads them.
constexpr ErrorDescription kErrorTexts[] = {
    {257, "Invalid MCI device ID. Use the ID returned when opening the MCI device."},
    {259, "The driver cannot recognize the specified command parameter."},
    {261, "The driver cannot recognize the specified command."},
    {262,
     "There is a problem with your media device. Make sure it is working correctly or contact the "
     "device manufacturer."},
    {263, "The specified device is not open or is not recognized by MCI."},
    {264,
     "Not enough memory available for this task. Quit one or more applications to increase "
     "available memory, and then try again."},
    {265,
     "The device name is already being used as an alias by this application. Use a unique alias."},
    {266, "There is an undetectable problem in loading the specified device driver."},
    {267, "No command was specified."},
    {268,
     "The output string was too large to fit in the return buffer. Increase the size of the "
     "buffer."},
    {269, "The specified command requires a character-string parameter. Please provide one."},
    {270, "The specified integer is invalid for this command."},
    {271,
     "The device driver returned an invalid return type. Check with the device manufacturer about "
     "obtaining a new driver."},
    {272,
     "There is a problem with the device driver. Check with the device manufacturer about "
     "obtaining a new driver."},
    {273, "The specified command requires a parameter. Please supply one."},
    {274, "The MCI device you are using does not support the specified command."},
    {275, "Cannot find the specified file. Make sure the path and filename are correct."},
    {276, "The device driver is not ready."},
    {277, "A problem occurred in initializing MCI. Try restarting Windows."},
    {278, "There is a problem with the device driver. The driver has closed. Cannot access error."},
    {279, "Cannot use 'all' as the device name with the specified command."},
    {280,
     "Errors occurred in more than one device. Specify each command and device separately to "
     "determine which devices caused the error."},
    {281, "Cannot determine the device type from the given filename extension."},
    {282, "The specified parameter is out of range for the specified command."},
    {284, "The specified parameters cannot be used together."},
    {286,
     "Cannot save the specified file. Make sure you have enough disk space or are still connected "
     "to the network."},
    {287,
     "Cannot find the specified device. Make sure it is installed and that the device name is "
     "spelled correctly."},
    {288, "The specified device is now being closed. Wait a few seconds, and then try again."},
    {289, "The specified alias is already being used in this application. Use a unique alias."},
    {290, "The specified parameter is invalid for this command."},
    {291,
     "The device driver is already in use. To share it, use the 'shareable' parameter with each "
     "'open' command."},
    {292,
     "The specified command requires an alias, file, driver, or device name. Please supply one."},
    {293,
     "The specified value for the time format is invalid. Refer to the MCI documentation for valid "
     "formats."},
    {294,
     "A closing double-quotation mark is missing from the parameter value. Please supply one."},
    {295, "A parameter or value was specified twice. Only specify it once."},
    {296,
     "The specified file cannot be played on the specified MCI device. The file may be corrupt, or "
     "not in the correct format."},
    {297, "A null parameter block was passed to MCI."},
    {298, "Cannot save an unnamed file. Supply a filename."},
    {299, "You must specify an alias when using the 'new' parameter."},
    {300, "Cannot use the 'notify' flag with auto-opened devices."},
    {301, "Cannot use a filename with the specified device."},
    {302,
     "Cannot carry out the commands in the order specified. Correct the command sequence, and then "
     "try again."},
    {303,
     "Cannot carry out the specified command on an auto-opened device. Wait until the device is "
     "closed, and then try again."},
    {304,
     "The filename is invalid. Make sure the filename is not longer than 8 characters, followed by "
     "a period and an extension."},
    {305, "Cannot specify extra characters after a string enclosed in quotation marks."},
    {306,
     "The specified device is not installed on the system. Use the Drivers option in Control Panel "
     "to install the device."},
    {307,
     "Cannot access the specified file or MCI device. Try changing directories or restarting your "
     "computer."},
    {308,
     "Cannot access the specified file or MCI device because the application cannot change "
     "directories."},
    {309,
     "Cannot access specified file or MCI device because the application cannot change drives."},
    {310, "Specify a device or driver name that is less than 79 characters."},
    {311, "Specify a device or driver name that is less than 69 characters."},
    {312, "The specified command requires an integer parameter. Please provide one."},
    {320,
     "All wave devices that can play files in the current format are in use. Wait until a wave "
     "device is free, and then try again."},
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameWord(std::string_view a, std::string_view b) { return UpperCase(a) == UpperCase(b); }

// Extensions the file device plays; any other name that is no device type is refused as the
// platform does when it cannot tell the device type from the extension.
bool IsSoundFileName(std::string_view name) {
  const std::size_t dot = FindLastChar(name, ".\\/");
  if (dot == std::string_view::npos || name[dot] != '.') return false;
  const std::string extension = UpperCase(name.substr(dot + 1));
  for (const char* known : {"MP3", "MP2", "MPG", "MPEG", "WAV"}) {
    if (extension == known) return true;
  }
  return false;
}

// A whole decimal number, nothing else.
std::optional<long long> ParseInteger(std::string_view text) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The track of a "tt[:mm[:ss[:ff]]]" position; the place within the track is not kept.
std::optional<int> TmsfTrack(std::string_view position) {
  const std::size_t colon = position.find(':');
  const std::optional<long long> track = ParseInteger(position.substr(0, colon));
  if (!track || *track > 255) return std::nullopt;
  return static_cast<int>(*track);
}

// The start of a track (1-255) as "tt:mm:ss:ff".
std::string Tmsf(int track) {
  const std::string number = std::to_string(track);
  return (number.size() < 2 ? "0" + number : number) + ":00:00:00";
}

// Removes the flags that change nothing here: commands complete before the reply, and nobody is
// notified.
void DropFlags(std::vector<std::string>& words) {
  words.erase(std::remove_if(words.begin(), words.end(),
                             [](const std::string& word) {
                               return SameWord(word, "wait") || SameWord(word, "notify");
                             }),
              words.end());
}

}  // namespace

MciWords SplitMciCommand(std::string_view command) {
  MciWords result;
  std::size_t at = 0;
  while (at < command.size()) {
    if (IsBlank(command[at])) {
      ++at;
      continue;
    }
    std::string word;
    if (command[at] == '"') {
      const std::size_t close = command.find('"', at + 1);
      if (close == std::string_view::npos) return {{}, kMciErrNoClosingQuote};
      word = command.substr(at + 1, close - at - 1);
      at = close + 1;
      if (at < command.size() && !IsBlank(command[at])) return {{}, kMciErrExtraCharacters};
    } else {
      const std::size_t start = at;
      while (at < command.size() && !IsBlank(command[at])) at = NextChar(command, at);
      word = command.substr(start, at - start);
    }
    result.words.push_back(std::move(word));
  }
  return result;
}

MciEmulator::~MciEmulator() {
  for (const Device& device : devices_) backend_.Close(device.id);
}

std::optional<std::string> MciEmulator::ErrorText(std::int32_t error, std::size_t text_size) {
  for (const ErrorDescription& description : kErrorTexts) {
    if (description.code != error) continue;
    std::string text = description.text;
    text.resize(std::min(text.size(), text_size > 0 ? text_size - 1 : 0));
    return text;
  }
  return std::nullopt;
}

void MciEmulator::TakeEvents() {
  for (Device& device : devices_) {
    for (const MediaEvent event : backend_.TakeEvents(device.id)) {
      if (device.mode == Mode::kPlaying) device.mode = Mode::kStopped;
      if (event == MediaEvent::kEnded) device.at_end = true;
    }
  }
}

MciEmulator::Device* MciEmulator::Find(std::string_view name) {
  for (Device& device : devices_) {
    if (SameWord(device.name, name)) return &device;
  }
  return nullptr;
}

MciReply MciEmulator::SendCommand(const std::string& command, std::size_t reply_size) {
  TakeEvents();
  Answer answer;
  MciWords split = SplitMciCommand(command);
  Words& words = split.words;
  DropFlags(words);
  const std::string verb = words.empty() ? std::string() : UpperCase(words[0]);
  Device* device = words.size() < 2 ? nullptr : Find(words[1]);
  if (split.error != 0) {
    answer.error = split.error;
  } else if (words.empty()) {
    answer.error = kMciErrMissingCommandString;
  } else if (verb != "OPEN" && verb != "CLOSE" && verb != "PLAY" && verb != "STOP" &&
             verb != "PAUSE" && verb != "RESUME" && verb != "STATUS" && verb != "SET") {
    answer.error = kMciErrUnrecognizedCommand;
  } else if (words.size() < 2) {
    answer.error = kMciErrMissingDeviceName;
  } else if (verb == "OPEN") {
    answer = Open(words);
  } else if (verb == "CLOSE") {
    answer = Close(words[1]);
  } else if (!device && (answer = AutoOpen(words[1])).error == 0) {
    // A command to a device that is not open opens it first, as the platform does.
    device = Find(words[1]);
  }
  if (answer.error == 0 && device && verb != "OPEN" && verb != "CLOSE") {
    if (verb == "PLAY") {
      answer = Play(*device, words);
    } else if (verb == "STOP" || verb == "PAUSE") {
      backend_.Hold(device->id);
      device->mode = verb == "STOP" ? Mode::kStopped : Mode::kPaused;
    } else if (verb == "RESUME") {
      answer = Play(*device, {words[0], words[1]});
    } else if (verb == "STATUS") {
      answer = Query(*device, words);
    } else {
      answer = Set(*device, words);
    }
  }
  MciReply reply{answer.error, {}};
  if (reply_size > 0) reply.text = answer.reply.substr(0, reply_size - 1);
  return reply;
}

MciEmulator::Answer MciEmulator::Open(const Words& words) {
  const std::string& element = words[1];
  std::string type;
  std::string alias;
  for (std::size_t i = 2; i < words.size(); ++i) {
    const std::string keyword = UpperCase(words[i]);
    if (keyword == "SHAREABLE") continue;
    if (keyword != "TYPE" && keyword != "ALIAS") return {kMciErrUnrecognizedCommand, {}};
    if (i + 1 == words.size()) return {kMciErrMissingParameter, {}};
    (keyword == "TYPE" ? type : alias) = words[++i];
  }
  const std::string name = alias.empty() ? element : alias;
  if (Find(name)) return {kMciErrDuplicateAlias, {}};
  if (type.empty()) {
    if (SameWord(element, "cdaudio")) return OpenDevice(Kind::kCd, element, name);
    if (!IsSoundFileName(element)) return {kMciErrExtensionNotFound, {}};
    return OpenDevice(Kind::kFile, element, name);
  }
  if (SameWord(type, "cdaudio")) return OpenDevice(Kind::kCd, element, name);
  if (SameWord(type, "MPEGVideo") || SameWord(type, "waveaudio")) {
    return OpenDevice(Kind::kFile, element, name);
  }
  return {kMciErrInvalidDeviceName, {}};
}

MciEmulator::Answer MciEmulator::AutoOpen(const std::string& name) {
  if (SameWord(name, "cdaudio")) return OpenDevice(Kind::kCd, name, name);
  if (!IsSoundFileName(name)) return {kMciErrExtensionNotFound, {}};
  return OpenDevice(Kind::kFile, name, name);
}

MciEmulator::Answer MciEmulator::OpenDevice(Kind kind, const std::string& element,
                                            const std::string& name) {
  // Devices are numbered from 1; a closed device's number is given out again.
  int id = 1;
  while (std::any_of(devices_.begin(), devices_.end(),
                     [id](const Device& device) { return device.id == id; })) {
    ++id;
  }
  if (kind == Kind::kCd) {
    if (backend_.OpenCd(id) != MediaOpenResult::kOpened) return {kMciErrCannotLoadDriver, {}};
  } else if (backend_.OpenFile(id, element) != MediaOpenResult::kOpened) {
    return {kMciErrInternal, {}};
  }
  Device device;
  device.id = id;
  device.name = name;
  device.kind = kind;
  device.time_format = kind == Kind::kCd ? TimeFormat::kMsf : TimeFormat::kMilliseconds;
  devices_.push_back(device);
  return {0, std::to_string(id)};
}

MciEmulator::Answer MciEmulator::Close(const std::string& name) {
  const bool all = SameWord(name, "all");
  const auto closing = [&](const Device& device) { return all || SameWord(device.name, name); };
  const auto first_kept = std::stable_partition(devices_.begin(), devices_.end(),
                                                [&](const Device& d) { return !closing(d); });
  if (first_kept == devices_.end() && !all) return {kMciErrInvalidDeviceName, {}};
  for (auto it = first_kept; it != devices_.end(); ++it) backend_.Close(it->id);
  devices_.erase(first_kept, devices_.end());
  return {};
}

std::int32_t MciEmulator::MoveTo(Device& device, const std::string& position) {
  bool done = false;
  if (device.kind == Kind::kFile) {
    const std::optional<long long> ms = ParseInteger(position);
    if (!ms) return kMciErrBadInteger;
    done = backend_.SeekTo(device.id, *ms);
  } else {
    if (device.time_format != TimeFormat::kTmsf) return kMciErrUnsupportedFunction;
    const std::optional<int> track = TmsfTrack(position);
    if (!track) return kMciErrBadInteger;
    const std::optional<int> count = backend_.TrackCount(device.id);
    if (!count || *track < 1 || *track > *count) return kMciErrOutOfRange;
    done = backend_.SeekToTrack(device.id, *track);
  }
  if (!done) return kMciErrInternal;
  device.at_end = false;
  return 0;
}

MciEmulator::Answer MciEmulator::Play(Device& device, const Words& words) {
  for (std::size_t i = 2; i < words.size(); i += 2) {
    const std::string keyword = UpperCase(words[i]);
    if (keyword == "TO") return {kMciErrUnsupportedFunction, {}};
    if (keyword != "FROM") return {kMciErrUnrecognizedCommand, {}};
    if (i + 1 == words.size()) return {kMciErrMissingParameter, {}};
    if (const std::int32_t error = MoveTo(device, words[i + 1])) return {error, {}};
  }
  // At the end there is nothing to play: the device is stopped again at once.
  if (device.at_end) {
    device.mode = Mode::kStopped;
    return {};
  }
  if (!backend_.Play(device.id)) {
    device.mode = Mode::kStopped;
    return {kMciErrInternal, {}};
  }
  device.mode = Mode::kPlaying;
  return {};
}

MciEmulator::Answer MciEmulator::Query(Device& device, const Words& words) {
  std::string item;
  for (std::size_t i = 2; i < words.size(); ++i) item += (i > 2 ? " " : "") + UpperCase(words[i]);
  if (item == "MODE") {
    switch (device.mode) {
      case Mode::kPlaying:
        return {0, "playing"};
      case Mode::kPaused:
        return {0, "paused"};
      case Mode::kStopped:
        return {0, "stopped"};
    }
  }
  if (item == "READY") return {0, "true"};
  if (item == "TIME FORMAT") {
    switch (device.time_format) {
      case TimeFormat::kMilliseconds:
        return {0, "milliseconds"};
      case TimeFormat::kMsf:
        return {0, "msf"};
      case TimeFormat::kTmsf:
        return {0, "tmsf"};
    }
  }
  if (device.kind != Kind::kCd) return {kMciErrUnrecognizedCommand, {}};
  if (item == "NUMBER OF TRACKS" || item == "CURRENT TRACK") {
    const std::optional<int> number =
        item == "CURRENT TRACK" ? backend_.CurrentTrack(device.id) : backend_.TrackCount(device.id);
    if (!number) return {kMciErrInternal, {}};
    return {0, std::to_string(*number)};
  }
  const std::string position_track = "POSITION TRACK ";
  if (item.rfind(position_track, 0) == 0) {
    const std::optional<long long> track = ParseInteger(item.substr(position_track.size()));
    if (!track) return {kMciErrBadInteger, {}};
    const std::optional<int> count = backend_.TrackCount(device.id);
    if (!count || *track < 1 || *track > *count) return {kMciErrOutOfRange, {}};
    if (device.time_format != TimeFormat::kTmsf) return {kMciErrUnsupportedFunction, {}};
    return {0, Tmsf(static_cast<int>(*track))};
  }
  return {kMciErrUnrecognizedCommand, {}};
}

MciEmulator::Answer MciEmulator::Set(Device& device, const Words& words) {
  if (words.size() != 5 || !SameWord(words[2], "time") || !SameWord(words[3], "format")) {
    return {kMciErrUnrecognizedCommand, {}};
  }
  const std::string format = UpperCase(words[4]);
  if (format == "MILLISECONDS" || format == "MS") {
    device.time_format = TimeFormat::kMilliseconds;
  } else if (device.kind == Kind::kCd && format == "MSF") {
    device.time_format = TimeFormat::kMsf;
  } else if (device.kind == Kind::kCd && format == "TMSF") {
    device.time_format = TimeFormat::kTmsf;
  } else {
    return {kMciErrBadTimeFormat, {}};
  }
  return {};
}

}  // namespace tolvenar
