// The saver window's run against recording fakes: the order of every step of the load, the close
// handlers and the end, for each kind of music and each way the window closes.
#include "scene/saver_window.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "fakes/fake_frame_clock.h"
#include "fakes/fake_music.h"
#include "fakes/fake_runtime.h"
#include "fakes/fake_saver_window_host.h"
#include "fakes/shift_jis.h"
#include "runtime/picture.h"
#include "scene/frame_pacing.h"

namespace tolvenar::testing {
namespace {

class FakeScene : public Scene {
 public:
  explicit FakeScene(CallLog& log) : log_(log) {}
  bool Initialize(const std::string& folder, const std::function<bool()>& go_on) override {
    log_.push_back("Initialize");
    picture_folder = folder;
    for (int pause = 0; pause < pauses; ++pause) {
      if (!go_on()) return false;
    }
    return initialize_result;
  }
  void SetMonitors(std::vector<PixelRect> rects) override { monitors = std::move(rects); }
  void Render() override { log_.push_back("Render"); }
  void Release() override { log_.push_back("Release"); }
  DriftState& Drift() override { return drift; }

  bool initialize_result = true;
  int pauses = 0;  // between the build's steps
  std::string picture_folder;
  DriftState drift;
  std::vector<PixelRect> monitors;

 private:
  CallLog& log_;
};

// A small picture per face, each a different colour, stored as the program stores them.
Picture FacePicture(int index) {
  Picture picture;
  picture.width = 3;
  picture.height = 2;
  for (int i = 0; i < 6; ++i) {
    picture.rgb.push_back(static_cast<std::uint8_t>(index * 40));
    picture.rgb.push_back(static_cast<std::uint8_t>(i * 10));
    picture.rgb.push_back(7);
  }
  return picture;
}

struct Rig {
  CallLog log;
  FakeSaverWindowHost window{log};
  FakeScene scene{log};
  FakeMusic music{log};
  FakeProcess process{log};
  FakeDesktop desktop{log};
  FakeEmbeddedData embedded;
  FakeRandomness randomness{log};
  FakeFrameClock clock;
  SettingsRecord settings;
  std::int32_t cursor_show_result = -1;
  std::uint32_t max_fps;
  SaverWindow form{{window, scene, music, process, desktop, embedded, randomness, clock},
                   settings,
                   cursor_show_result,
                   max_fps};

  explicit Rig(std::uint32_t limit = kDefaultMaxFps) : max_fps(limit) {
    window.Connect(form);
    window.clock = &clock;
    process.argument_text = "/s";
    desktop.display_count = -1;
    randomness.seconds = 43200.5f;
    randomness.numbers = {0.25f, 0.5f};
    for (int i = 1; i <= 6; ++i) embedded.items[FacePictureName(i)] = EncodeBmp24(FacePicture(i));
  }
  void Run() { form.Form_Load(); }
};

std::string Show(const CallLog& log) {
  std::string text;
  for (std::size_t i = 0; i < log.size(); ++i)
    text += "  " + std::to_string(i) + ": " + log[i] + "\n";
  return text;
}

void ExpectSequence(const CallLog& expected, const CallLog& actual) {
  EXPECT_EQ(expected, actual) << "expected:\n" << Show(expected) << "actual:\n" << Show(actual);
}

CallLog Concat(std::initializer_list<CallLog> parts) {
  CallLog all;
  for (const CallLog& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const CallLog kSizeAndFiles = {
    "GetMonitors",
    "SetSize 1024 768",
    "Move 0 0",
    "WriteWholeFile C:\\Saver\\Tolvenar1.bmp",
    "WriteWholeFile C:\\Saver\\Tolvenar2.bmp",
    "WriteWholeFile C:\\Saver\\Tolvenar3.bmp",
    "WriteWholeFile C:\\Saver\\Tolvenar4.bmp",
    "WriteWholeFile C:\\Saver\\Tolvenar5.bmp",
    "WriteWholeFile C:\\Saver\\Tolvenar6.bmp",
};
const CallLog kShowAndSeed = {"ShowNormal", "Seed 43200.5", "Next", "Next", "Initialize"};
const CallLog kDeleteFiles = {
    "RemoveFile C:\\Saver\\Tolvenar1.bmp", "RemoveFile C:\\Saver\\Tolvenar2.bmp",
    "RemoveFile C:\\Saver\\Tolvenar3.bmp", "RemoveFile C:\\Saver\\Tolvenar4.bmp",
    "RemoveFile C:\\Saver\\Tolvenar5.bmp", "RemoveFile C:\\Saver\\Tolvenar6.bmp",
};
const CallLog kEnd = {"Release", "Close", "EndProcess"};

// One frame, then a key press in the second event pass, with the given timer ticks before it.
struct MusicCase {
  const char* what;
  std::int16_t kind;
  const char* file;
  CallLog start;  // between the six files and ShowNormal
  CallLog ticks;  // what the ticks of both timers in the first pass do
  CallLog stop;   // Form_QueryUnload before its cursor step
};

TEST(SaverWindowTest, RunForEachKindOfMusic) {
  const MusicCase cases[] = {
      {"kind 2, .Mp3 (mixed case)",
       2,
       "C:\\Music\\Night.Mp3",
       {"PlayMusicFile", "StartTimer 1 1000"},
       {"RepeatMusicFile"},
       {"StopTimer 1", "StopMusicFile"}},
      {"kind 2, .MP3",
       2,
       "D:\\a.MP3",
       {"PlayMusicFile", "StartTimer 1 1000"},
       {"RepeatMusicFile"},
       {"StopTimer 1", "StopMusicFile"}},
      {"kind 2, .wav", 2, "C:\\Music\\loop.wav", {"PlayWaveSound"}, {}, {"StopWaveSound"}},
      {"kind 2, .mid", 2, "C:\\Music\\tune.mid", {}, {}, {}},
      {"kind 2, empty file", 2, "", {}, {}, {}},
      {"kind 2, name shorter than the ending", 2, "v", {}, {}, {}},
      {"kind 0 with an .mp3 file", 0, "C:\\a.mp3", {}, {}, {}},
      {"kind 3 (unknown) with an .mp3 file", 3, "C:\\a.mp3", {}, {}, {}},
      {"kind 1, CD watched and healthy",
       1,
       "C:\\a.mp3",
       {"OpenCdAudio", "StartTimer 2 200"},
       {"WatchCdAudio"},
       {"StopTimer 2", "CloseCdAudio"}},
  };
  for (const MusicCase& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.settings.MusicKind = c.kind;
    rig.settings.MusicFile = c.file;
    rig.window.script = {
        [](FakeSaverWindowHost& w) {
          w.Tick(SaverTimer::kTimer1);
          w.Tick(SaverTimer::kTimer2);
        },
        [](FakeSaverWindowHost& w) { w.KeyDown(); },
    };
    rig.Run();
    ExpectSequence(Concat({kSizeAndFiles,
                           c.start,
                           kShowAndSeed,
                           {"Render", "ProcessEvents"},
                           c.ticks,
                           {"Render", "ProcessEvents", "Close"},
                           c.stop,
                           {"ShowCursor -1"},
                           kDeleteFiles,
                           kEnd}),
                   rig.log);
    EXPECT_FALSE(rig.form.Running());
    EXPECT_EQ(rig.cursor_show_result, 0);
  }
}

// Each event pass after a frame waits until the next frame is due, as the pacer counts it; without
// a limit it only handles what is pending, as the loop always did.
TEST(SaverWindowTest, EachEventPassWaitsUntilTheNextFrameIsDue) {
  using std::chrono::milliseconds;
  constexpr FrameTime kStart = std::chrono::seconds(5);
  constexpr FrameTime k60 = FrameTime(16666667);  // a sixtieth of a second, rounded up
  const struct {
    std::uint32_t max_fps;
    std::vector<std::optional<FrameTime>> waits;
  } cases[] = {
      // The second pass's handlers take 50 ms: the third frame is late, so the next one is due at
      // once, and the count goes on from there.
      {60, {kStart + k60, kStart + 2 * k60, kStart + k60 + milliseconds(50)}},
      {0, {std::nullopt, std::nullopt, std::nullopt}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.max_fps);
    Rig rig(c.max_fps);
    rig.clock.now = kStart;
    rig.window.script = {nullptr, [&](FakeSaverWindowHost&) { rig.clock.now += milliseconds(50); },
                         [](FakeSaverWindowHost& w) { w.KeyDown(); }};
    rig.Run();
    EXPECT_EQ(rig.window.waits, c.waits);
  }
}

TEST(SaverWindowTest, TheWindowCoversEveryMonitorAndTheSceneLearnsWhereEachLies) {
  const struct {
    const char* what;
    std::vector<PixelRect> monitors;  // screen pixels, the primary first
    CallLog size_and_move;
    std::vector<PixelRect> in_window;
  } cases[] = {
      {"one", {{0, 0, 1024, 768}}, {"SetSize 1024 768", "Move 0 0"}, {{0, 0, 1024, 768}}},
      {"a smaller one at the right",
       {{0, 0, 1024, 768}, {1024, 0, 1824, 600}},
       {"SetSize 1824 768", "Move 0 0"},
       {{0, 0, 1024, 768}, {1024, 0, 1824, 600}}},
      {"one at the left, one higher at the right",
       {{0, 0, 1920, 1080}, {-1280, 56, 0, 1080}, {1920, -200, 2720, 400}},
       {"SetSize 4000 1280", "Move -1280 -200"},
       {{1280, 200, 3200, 1280}, {0, 256, 1280, 1280}, {3200, 0, 4000, 600}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.window.monitors = c.monitors;
    rig.window.script = {[](FakeSaverWindowHost& w) { w.KeyDown(); }};
    rig.Run();
    const CallLog start(rig.log.begin(), rig.log.begin() + 3);
    ExpectSequence(Concat({{"GetMonitors"}, c.size_and_move}), start);
    EXPECT_EQ(rig.scene.monitors, c.in_window);
  }
}

TEST(SaverWindowTest, CdWatcherFailingStopsTimer2AndCloseLeavesTheCdAlone) {
  Rig rig;
  rig.settings.MusicKind = 1;
  rig.music.watch_fails = true;
  rig.window.script = {
      [](FakeSaverWindowHost& w) { w.Tick(SaverTimer::kTimer2); },
      [](FakeSaverWindowHost& w) { w.Tick(SaverTimer::kTimer2); },  // no longer runs
      [](FakeSaverWindowHost& w) { w.MouseDown(); },
  };
  rig.Run();
  ExpectSequence(Concat({kSizeAndFiles,
                         {"OpenCdAudio", "StartTimer 2 200"},
                         kShowAndSeed,
                         {"Render", "ProcessEvents", "WatchCdAudio", "StopTimer 2"},
                         {"Render", "ProcessEvents"},
                         {"Render", "ProcessEvents", "Close"},
                         {"ShowCursor -1"},
                         kDeleteFiles,
                         kEnd}),
                 rig.log);
  EXPECT_FALSE(rig.form.Timer2Enabled());
}

TEST(SaverWindowTest, CursorIsGivenBackOnlyInModeS) {
  const struct {
    const char* arguments;
    bool shows;
  } cases[] = {{"/s", true}, {"/S", true},  {"-s 123", true}, {"", false},
               {"s", false}, {"/c", false}, {"/p 5", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("arguments \"") + c.arguments + "\"");
    Rig rig;
    rig.process.argument_text = c.arguments;
    rig.window.script = {[](FakeSaverWindowHost& w) { w.KeyDown(); }};
    rig.Run();
    const CallLog cursor = c.shows ? CallLog{"ShowCursor -1"} : CallLog{};
    ExpectSequence(Concat({kSizeAndFiles,
                           kShowAndSeed,
                           {"Render", "ProcessEvents", "Close"},
                           cursor,
                           kDeleteFiles,
                           kEnd}),
                   rig.log);
    EXPECT_EQ(rig.cursor_show_result, c.shows ? 0 : -1);
  }
}

TEST(SaverWindowTest, InitializeFailingClosesTheShownWindowAgain) {
  Rig rig;
  rig.settings.MusicKind = 2;
  rig.settings.MusicFile = "C:\\x.mp3";
  rig.scene.initialize_result = false;
  rig.Run();
  ExpectSequence(Concat({kSizeAndFiles,
                         {"PlayMusicFile", "StartTimer 1 1000"},
                         kShowAndSeed,
                         {"Release", "Close", "StopTimer 1", "StopMusicFile", "ShowCursor -1"},
                         kDeleteFiles,
                         {"EndProcess"}}),
                 rig.log);
  EXPECT_TRUE(rig.window.shown);
  EXPECT_FALSE(rig.window.open);
  EXPECT_TRUE(rig.process.files.empty());
}

TEST(SaverWindowTest, CloseFromOutsideEndsTheLoop) {
  Rig rig;
  rig.settings.MusicKind = 2;
  rig.settings.MusicFile = "C:\\x.wav";
  rig.window.script = {nullptr, [](FakeSaverWindowHost& w) { w.ExternalClose(); }};
  rig.Run();
  ExpectSequence(Concat({kSizeAndFiles,
                         {"PlayWaveSound"},
                         kShowAndSeed,
                         {"Render", "ProcessEvents", "Render", "ProcessEvents", "(close request)",
                          "Close", "StopWaveSound", "ShowCursor -1"},
                         kDeleteFiles,
                         kEnd}),
                 rig.log);
}

TEST(SaverWindowTest, CloseWhileShowingNeverRenders) {
  Rig rig;
  rig.window.on_show = [](FakeSaverWindowHost& w) { w.ExternalClose(); };
  rig.Run();
  ExpectSequence(Concat({kSizeAndFiles,
                         {"ShowNormal", "(close request)", "Close", "ShowCursor -1"},
                         kDeleteFiles,
                         {"Seed 43200.5", "Next", "Next", "Initialize"},
                         kEnd}),
                 rig.log);
}

TEST(SaverWindowTest, ALogOffWhileTheSceneIsBuiltIsServedAndLeavesNoPictures) {
  Rig rig;
  rig.scene.pauses = 4;
  rig.window.on_requests = [](FakeSaverWindowHost& w) {
    if (w.requests == 2) w.ExternalClose();
  };
  rig.Run();
  ExpectSequence(
      Concat({kSizeAndFiles,
              kShowAndSeed,
              {"ServeRequests", "ServeRequests", "(close request)", "Close", "ShowCursor -1"},
              kDeleteFiles,
              kEnd}),
      rig.log);
  EXPECT_TRUE(rig.process.files.empty());
}

TEST(SaverWindowTest, SecondInputAfterTheCloseDoesNothing) {
  Rig rig;
  rig.window.script = {[](FakeSaverWindowHost& w) {
    w.KeyDown();
    w.MouseDown();  // already closed: delivers nothing
    w.ExternalClose();
  }};
  rig.Run();
  ExpectSequence(Concat({kSizeAndFiles,
                         kShowAndSeed,
                         {"Render", "ProcessEvents", "Close"},
                         {"ShowCursor -1"},
                         kDeleteFiles,
                         {"(close request)", "Close"},
                         kEnd}),
                 rig.log);
}

TEST(SaverWindowTest, FacePicturesAreWrittenAs24BitBitmaps) {
  Rig rig;
  std::map<std::string, std::string> while_running;
  rig.window.script = {[&](FakeSaverWindowHost& w) {
    while_running = rig.process.files;
    w.KeyDown();
  }};
  rig.process.files["C:\\Saver\\Tolvenar3.bmp"] = "old";  // overwritten, then deleted
  rig.Run();
  ASSERT_EQ(while_running.size(), 6u);
  for (int i = 1; i <= 6; ++i) {
    const std::string& bytes = while_running[FacePictureFile("C:\\Saver", i)];
    SCOPED_TRACE("face " + std::to_string(i));
    EXPECT_EQ(bytes, EncodeBmp24(FacePicture(i)));
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<int>(bytes[28]), 24);  // bits per pixel
  }
  EXPECT_TRUE(rig.process.files.empty());
}

// Every call on the six face picture files of `folder`, as "Verb <folder>\Tolvenar<k>.bmp".
CallLog FileCalls(const std::string& verb, const std::string& folder, int count = 6) {
  CallLog calls;
  for (int i = 1; i <= count; ++i) calls.push_back(verb + " " + FacePictureFile(folder, i));
  return calls;
}

TEST(SaverWindowTest, AFolderThatCannotBeWrittenSendsAllSixPicturesToTheTemporaryFolder) {
  const std::string own = "C:\\Temp\\Tolvenar-4242";
  const std::string dead = "C:\\Temp\\Tolvenar-17";
  const CallLog program_refuses =
      Concat({FileCalls("WriteWholeFile", "C:\\Saver", 1), FileCalls("RemoveFile", "C:\\Saver")});
  const CallLog find_leftovers = {"FolderNames C:\\Temp Tolvenar-"};
  const struct {
    const char* what;
    std::set<std::string> unwritable;
    const char* temporary;
    std::set<std::string> earlier;  // folders earlier runs left in the temporary folder
    CallLog files;                  // after the size and place
    std::string folder;             // where the pictures are read from; none: no scene
    CallLog removed;                // at the end
  } cases[] = {
      {"writable",
       {},
       "C:\\Temp",
       {},
       FileCalls("WriteWholeFile", "C:\\Saver"),
       "C:\\Saver",
       FileCalls("RemoveFile", "C:\\Saver")},
      {"program folder read-only",
       {"C:\\Saver"},
       "C:\\Temp",
       {},
       Concat({program_refuses,
               find_leftovers,
               {"CreateFolder " + own},
               FileCalls("WriteWholeFile", own)}),
       own,
       Concat({FileCalls("RemoveFile", own), {"RemoveFolder " + own}})},
      {"both read-only",
       {"C:\\Saver", "C:\\Temp"},
       "C:\\Temp",
       {},
       Concat({program_refuses, find_leftovers, {"CreateFolder " + own}}),
       "",
       {}},
      {"no temporary folder: never the drive's root",
       {"C:\\Saver"},
       "",
       {},
       program_refuses,
       "",
       {}},
      // A dead run's folder goes; a running one's, this run's own (a reused identifier) and a
      // name of no run stay.
      {"folders of earlier runs",
       {"C:\\Saver"},
       "C:\\Temp",
       {dead, "C:\\Temp\\Tolvenar-99", own, "C:\\Temp\\Tolvenar-x1"},
       Concat({program_refuses,
               find_leftovers,
               FileCalls("RemoveFile", dead),
               {"RemoveFolder " + dead, "CreateFolder " + own},
               FileCalls("WriteWholeFile", own)}),
       own,
       Concat({FileCalls("RemoveFile", own), {"RemoveFolder " + own}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig rig;
    rig.process.unwritable_folders = c.unwritable;
    rig.process.temporary_directory = c.temporary;
    rig.process.folders = c.earlier;
    rig.process.running_processes = {99};
    if (c.earlier.count(dead) > 0)
      for (int i = 1; i <= 6; ++i) rig.process.files[FacePictureFile(dead, i)] = "left";
    rig.window.script = {[](FakeSaverWindowHost& w) { w.KeyDown(); }};
    rig.Run();
    const bool drawn = !c.folder.empty();
    const CallLog run = drawn ? CallLog{"Initialize", "Render", "ProcessEvents", "Close"}
                              : CallLog{"Release", "Close"};
    ExpectSequence(Concat({{"GetMonitors", "SetSize 1024 768", "Move 0 0"},
                           c.files,
                           {"ShowNormal", "Seed 43200.5", "Next", "Next"},
                           run,
                           {"ShowCursor -1"},
                           c.removed,
                           drawn ? kEnd : CallLog{"EndProcess"}}),
                   rig.log);
    EXPECT_EQ(rig.scene.picture_folder, c.folder);
    EXPECT_TRUE(rig.process.files.empty());
    std::set<std::string> kept = c.earlier;
    kept.erase(dead);
    kept.erase(own);  // removed at the end
    EXPECT_EQ(rig.process.folders, kept);
  }
}

TEST(SaverWindowTest, MissingOrUndecodablePictureIsSkipped) {
  Rig rig;
  rig.embedded.items.erase("FACE2");
  rig.embedded.items["FACE5"] = "not a picture";
  rig.window.script = {[](FakeSaverWindowHost& w) { w.KeyDown(); }};
  rig.Run();
  const CallLog written(rig.log.begin() + 3, rig.log.begin() + 7);
  ExpectSequence(
      {"WriteWholeFile C:\\Saver\\Tolvenar1.bmp", "WriteWholeFile C:\\Saver\\Tolvenar3.bmp",
       "WriteWholeFile C:\\Saver\\Tolvenar4.bmp", "WriteWholeFile C:\\Saver\\Tolvenar6.bmp"},
      written);
}

TEST(SaverWindowTest, DriftIsSeededFromTheTimeOfDay) {
  const struct {
    float r1, r2;
  } cases[] = {{0.0f, 0.0f}, {0.25f, 0.5f}, {0.99999994f, 0.99999994f}};
  for (const auto& c : cases) {
    SCOPED_TRACE("r = " + std::to_string(c.r1) + ", " + std::to_string(c.r2));
    Rig rig;
    rig.scene.drift = {123, 1.5f, -0.5f, 7.0f, 7.0f};
    rig.randomness.numbers = {c.r1, c.r2};
    rig.window.script = {[](FakeSaverWindowHost& w) { w.KeyDown(); }};
    rig.Run();
    const DriftState& drift = rig.scene.drift;
    EXPECT_EQ(drift.DriftFrames, 0);
    EXPECT_EQ(drift.ViewYaw, 0.0f);
    EXPECT_EQ(drift.ViewPitch, 0.0f);
    EXPECT_EQ(drift.YawStep, c.r1 * 10.0f / 1000.0f);
    EXPECT_EQ(drift.PitchStep, c.r2 * 10.0f / 1000.0f);
    EXPECT_GE(drift.YawStep, 0.0f);
    EXPECT_LT(drift.YawStep, 0.01f);
    EXPECT_GE(drift.PitchStep, 0.0f);
    EXPECT_LT(drift.PitchStep, 0.01f);
  }
}

TEST(SaverWindowTest, DriftStepsFromThePlatformGeneratorStayBelowOneHundredth) {
  LinearRandomness randomness;
  DriftState drift;
  for (int i = 0; i < 2000; ++i) {
    DrawDriftSteps(randomness, drift);
    ASSERT_GE(drift.YawStep, 0.0f) << i;
    ASSERT_LT(drift.YawStep, 0.01f) << i;
    ASSERT_GE(drift.PitchStep, 0.0f) << i;
    ASSERT_LT(drift.PitchStep, 0.01f) << i;
  }
}

TEST(SaverWindowTest, MusicFileEnding) {
  EXPECT_EQ(MusicFileEnding("a.Mp3"), "MP3");
  EXPECT_EQ(MusicFileEnding("x.wAv"), "WAV");
  EXPECT_EQ(MusicFileEnding("ab"), "AB");
  EXPECT_EQ(MusicFileEnding(""), "");
  // Characters, not bytes: ヘ is 83 77 ("w"), ヂ 83 61 ("a").
  EXPECT_EQ(MusicFileEnding(ShiftJis("C:\\ソナタ.mp3")), "MP3");
  EXPECT_EQ(MusicFileEnding(ShiftJis("C:\\xヘav")), ShiftJis("ヘAV"));
  EXPECT_EQ(MusicFileEnding(ShiftJis("C:\\aヂ")), ShiftJis("\\Aヂ"));
  EXPECT_EQ(FacePictureFile("C:\\", 1), "C:\\\\Tolvenar1.bmp");
}

}  // namespace
}  // namespace tolvenar::testing
