#pragma once
// Fakes of the runtime services that record every call in one shared log.
#include <cstdint>
#include <cstddef>
#include <cstdio>
#include <map>
#include <optional>
#include <sstream>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "runtime/desktop.h"
#include "runtime/drawing_surface.h"
#include "runtime/embedded_data.h"
#include "runtime/label.h"
#include "runtime/process.h"
#include "runtime/profile_file.h"
#include "runtime/randomness.h"
#include "runtime/user_services.h"

namespace tolvenar::testing {

using CallLog = std::vector<std::string>;

// A colour as six hex digits, the way the fakes log colours.
inline std::string ColourHex(unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%06X", value);
  return buffer;
}

class FakeDesktop : public Desktop {
 public:
  explicit FakeDesktop(CallLog& log) : log_(log) {}
  bool TopLevelWindowExists(const std::string& title) override {
    log_.push_back("FindWindow " + title);
    return open_titles.count(title) > 0;
  }
  std::int32_t ShowCursor(std::int32_t show_flag) override {
    log_.push_back("ShowCursor " + std::to_string(show_flag));
    display_count += show_flag ? 1 : -1;
    return display_count;
  }

  std::set<std::string> open_titles;
  std::int32_t display_count = 0;

 private:
  CallLog& log_;
};

class FakeProcess : public Process {
 public:
  explicit FakeProcess(CallLog& log) : log_(log) {}
  std::string ArgumentText() override { return argument_text; }
  std::string ProgramDirectory() override { return program_directory; }
  bool CanOpenForReading(const std::string& path) override {
    log_.push_back("CanOpenForReading " + path);
    return readable_files.count(path) > 0 || files.count(path) > 0;
  }
  bool RemoveFile(const std::string& path) override {
    log_.push_back("RemoveFile " + path);
    return files.erase(path) > 0;
  }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override {
    log_.push_back("WriteWholeFile " + path);
    const std::string folder = FolderOf(path);
    if (unwritable_folders.count(folder) > 0) return false;
    if (full_folders.count(folder) > 0) {
      files[path] = bytes.substr(0, bytes.size() / 2);  // a short write
      return false;
    }
    files[path] = bytes;
    return true;
  }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    log_.push_back("ReadWholeFile " + path);
    auto it = files.find(path);
    if (it == files.end() || in_use_files.count(path) > 0 || unreadable_files.count(path) > 0)
      return std::nullopt;
    return it->second;
  }
  WriteAccess CheckWriteAccess(const std::string& path) override {
    log_.push_back("CheckWriteAccess " + path);
    if (in_use_files.count(path) > 0) return WriteAccess::kInUse;
    if (files.count(path) == 0) return WriteAccess::kMissing;
    return unwritable_folders.count(FolderOf(path)) > 0 ? WriteAccess::kDenied
                                                        : WriteAccess::kWritable;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    log_.push_back("RenameFile " + from + " " + to);
    auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
  }
  bool CreateFolder(const std::string& path) override {
    log_.push_back("CreateFolder " + path);
    if (unwritable_folders.count(FolderOf(path)) > 0) return false;
    folders.insert(path);
    return true;
  }
  bool RemoveFolder(const std::string& path) override {
    log_.push_back("RemoveFolder " + path);
    for (const auto& file : files)
      if (FolderOf(file.first) == path) return false;
    return folders.erase(path) > 0;
  }
  std::vector<std::string> FolderNames(const std::string& folder,
                                       const std::string& prefix) override {
    log_.push_back("FolderNames " + folder + " " + prefix);
    std::vector<std::string> names;
    for (const std::string& path : folders) {
      const std::string name = path.substr(path.rfind('\\') + 1);
      if (FolderOf(path) == folder && name.compare(0, prefix.size(), prefix) == 0)
        names.push_back(name);
    }
    return names;
  }
  std::uint32_t ProcessId() override { return process_id; }
  bool ProcessIsRunning(std::uint32_t id) override { return running_processes.count(id) > 0; }
  std::string TemporaryDirectory() override { return temporary_directory; }
  std::string LocalAppDataDirectory() override { return local_app_data; }

  std::string argument_text;
  std::string program_directory = "C:\\Saver";
  std::string temporary_directory = "C:\\Temp";
  std::string local_app_data;  // none unless a test names one
  std::set<std::string> readable_files;
  std::map<std::string, std::string> files;
  std::set<std::string> unwritable_folders;  // writes to files directly inside these fail
  std::set<std::string> full_folders;        // writes there leave half the bytes and fail
  std::set<std::string> in_use_files;        // held by another program: no reads, no writes
  std::set<std::string> unreadable_files;    // a read fails part-way
  std::set<std::string> folders;             // made by CreateFolder, or by a test
  std::uint32_t process_id = 4242;
  std::set<std::uint32_t> running_processes;

 private:
  static std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
  CallLog& log_;
};

// A profile file held in memory: (file, section, key) -> value, cut to the buffer as the platform
// does.
class FakeProfileFile : public ProfileFile {
 public:
  explicit FakeProfileFile(CallLog& log) : log_(log) {}
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, std::size_t buffer_size,
                        const std::string& file) override {
    log_.push_back("GetString " + section + "/" + key + " " + std::to_string(buffer_size) + " " +
                   file);
    auto it = values.find({file, section, key});
    std::string value = it == values.end() ? default_value : it->second;
    if (value.size() > buffer_size - 1) value.resize(buffer_size - 1);
    return value;
  }
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override {
    log_.push_back("WriteString " + section + "/" + key + "=" + value + " " + file);
    if (read_only_files.count(file) > 0) return false;
    values[{file, section, key}] = value;
    return true;
  }

  std::map<std::tuple<std::string, std::string, std::string>, std::string> values;
  std::set<std::string> read_only_files;

 private:
  CallLog& log_;
};

// Embedded data held in memory; records every name asked for.
class FakeEmbeddedData : public EmbeddedData {
 public:
  std::string_view Bytes(std::string_view name) override {
    asked.emplace_back(name);
    auto it = items.find(std::string(name));
    return it == items.end() ? std::string_view() : std::string_view(it->second);
  }
  std::map<std::string, std::string> items;
  std::vector<std::string> asked;
};

// Randomness that hands out a fixed list of numbers (0.5 past its end) and records the seeds;
// given a log, it logs "Seed <seed>" and "Next" there too.
class FakeRandomness : public Randomness {
 public:
  FakeRandomness() = default;
  explicit FakeRandomness(CallLog& log) : log_(&log) {}
  float SecondsSinceMidnight() override { return seconds; }
  void Seed(float seed) override {
    seeds.push_back(seed);
    if (!log_) return;
    std::ostringstream text;
    text << "Seed " << seed;
    log_->push_back(text.str());
  }
  float Next() override {
    if (log_) log_->push_back("Next");
    const float r = next < numbers.size() ? numbers[next] : 0.5f;
    ++next;
    return r;
  }

  float seconds = 3600.5f;
  std::vector<float> numbers;
  std::size_t next = 0;
  std::vector<float> seeds;

 private:
  CallLog* log_ = nullptr;
};

// The pointer: where it is, the window under it (each point asked is kept) and the program's
// pointer shape. Given a log, it logs "GetCursorPos" and each shape set there too.
class FakePointer : public PointerLocator, public AppPointer {
 public:
  FakePointer() = default;
  explicit FakePointer(CallLog& log) : log_(&log) {}
  std::optional<PixelPoint> CursorPosition() override {
    if (log_) log_->push_back("GetCursorPos");
    return position;
  }
  WindowHandle WindowAt(PixelPoint point) override {
    asked.push_back(point);
    return window_under;
  }
  AppPointerShape CurrentShape() const override { return shape_; }
  void SetAppPointer(AppPointerShape shape) override {
    shape_ = shape;
    if (!log_) return;
    log_->push_back(shape == AppPointerShape::kHourglass ? "AppPointer hourglass"
                                                         : "AppPointer default");
  }

  std::optional<PixelPoint> position = PixelPoint{800, 600};
  WindowHandle window_under = 0;
  std::vector<PixelPoint> asked;

 private:
  CallLog* log_ = nullptr;
  AppPointerShape shape_ = AppPointerShape::kDefault;
};

inline std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

// A surface of either kind: a control's (its calls logged, given a log) or a ruled one (its lines
// kept). A drawn picture is logged by the name its first byte indexes in picture_names, else by
// that byte.
class FakeSurface : public ControlSurface, public RuledSurface {
 public:
  struct Line {
    double x1, y, x2;
    Colour colour;
  };
  explicit FakeSurface(CallLog& log) : log_(&log) {}
  FakeSurface(double width, double height) : width_twips(width), height_twips(height) {}
  double WidthTwips() override { return width_twips; }
  double HeightTwips() override { return height_twips; }
  bool Clear() override {
    Log("Clear");
    return true;
  }
  bool SetScaleMode(ScaleMode mode) override {
    Log("Scale " + std::to_string(static_cast<int>(mode)));
    scale_mode = mode;
    return true;
  }
  double ScaleWidth() override {
    return scale_mode == ScaleMode::kPixels ? width_twips / 15 : width_twips;
  }
  double ScaleHeight() override {
    return scale_mode == ScaleMode::kPixels ? height_twips / 15 : height_twips;
  }
  bool FillGradient(const TriVertex* vertices, std::uint32_t vertex_count,
                    const GradientRectangle* rectangles, std::uint32_t rectangle_count,
                    bool vertical) override {
    const TriVertex& top = vertices[0];
    const TriVertex& bottom = vertices[1];
    gradient_tops.push_back(
        ColourHex((top.red >> 8) << 16 | (top.green >> 8) << 8 | top.blue >> 8));
    Log("Gradient " + gradient_tops.back() + " to " +
        ColourHex((bottom.red >> 8) << 16 | (bottom.green >> 8) << 8 | bottom.blue >> 8) + " at " +
        std::to_string(bottom.x) + "," + std::to_string(bottom.y) + " n" +
        std::to_string(vertex_count) + " rect " + std::to_string(rectangles[0].upper_left) + "," +
        std::to_string(rectangles[0].lower_right) + " n" + std::to_string(rectangle_count) +
        (vertical ? " V" : " H"));
    return true;
  }
  bool DrawPicture(const Picture& picture, const PicturePlacement& p) override {
    Log("Draw " + PictureName(picture) + " " + Number(p.x) + "," + Number(p.y) + " " +
        Number(p.width) + "x" + Number(p.height) + " <- " + Number(p.source_x) + "," +
        Number(p.source_y) + " " + Number(p.source_width) + "x" + Number(p.source_height));
    return true;
  }
  bool Present() override {
    Log("Present");
    return true;
  }
  BackStyle GetBackStyle() override { return back_style; }
  bool SetBackStyle(std::int16_t style) override {
    Log("BackStyle " + std::to_string(style));
    if (style != 0 && style != 1) return false;
    back_style = static_cast<BackStyle>(style);
    return true;
  }

  double width_twips = 1755;
  double height_twips = 420;
  ScaleMode scale_mode = ScaleMode::kTwips;
  BackStyle back_style = BackStyle::kOpaque;
  void HorizontalLine(double x1, double y, double x2, Colour colour) override {
    lines.push_back({x1, y, x2, colour});
  }

  std::vector<std::string> gradient_tops;  // RRGGBB at the top of each fill
  std::vector<Line> lines;
  std::vector<std::string> picture_names;

 private:
  void Log(std::string entry) {
    if (log_) log_->push_back(std::move(entry));
  }
  std::string PictureName(const Picture& picture) const {
    const int mark = picture.rgb.empty() ? -1 : picture.rgb[0];
    if (mark >= 0 && mark < static_cast<int>(picture_names.size())) return picture_names[mark];
    return std::to_string(mark);
  }
  CallLog* log_ = nullptr;
};

// A label keeping what it is given. Colour and enabled changes are logged; a named label logs each
// caption too, as "<name>.Caption=<text>".
class FakeLabel : public StyledLabel {
 public:
  explicit FakeLabel(CallLog& log, std::string name = {}) : log_(log), name_(std::move(name)) {}
  std::string Caption() override { return caption; }
  void SetCaption(const std::string& text) override {
    if (!name_.empty()) log_.push_back(name_ + ".Caption=" + text);
    caption = text;
  }
  std::uint32_t ForeColour() override { return colour; }
  bool SetForeColour(std::uint32_t value) override {
    log_.push_back("LabelColour " + ColourHex(value));
    if (value > 0xFFFFFF) return false;
    colour = value;
    return true;
  }
  FontDescription Font() override { return font; }
  void SetFont(const FontDescription& value) override { font = value; }
  bool Enabled() override { return enabled; }
  bool SetEnabled(bool value) override {
    log_.push_back(std::string("LabelEnabled ") + (value ? "1" : "0"));
    if (enabling_fails) return false;
    enabled = value;
    return true;
  }
  double Height() override { return height; }
  void SetLeft(double twips) override { left = twips; }
  void SetTop(double twips) override { top = twips; }
  void SetWidth(double twips) override { width = twips; }
  void SetHeight(double twips) override { height = twips; }

  std::string caption;
  std::uint32_t colour = 0;
  FontDescription font;
  bool enabled = true;
  bool enabling_fails = false;
  double left = 0, top = 0, width = 0, height = 0;

 private:
  CallLog& log_;
  std::string name_;
};

}  // namespace tolvenar::testing
