// The music module on the real winmm under Wine: MP3 files through MCI, the wave loop, the CD
// device without a drive, and bad input. Sound goes to ALSA's null device; what is played is
// captured in the file named by TOLVENAR_AUDIO_CAPTURE.
#include <windows.h>

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "music/background_music.h"
#include "music/win32/mci_win32.h"
#include "music/win32/wave_sound_win32.h"

namespace tolvenar {
namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string TestFile(const char* name) { return ProgramFolder() + "\\" + name; }

// A copy of a test file under another name, in a folder made for it.
std::string CopyOf(const char* name, const std::string& folder, const std::string& file) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string target = folder + "\\" + file;
  EXPECT_TRUE(CopyFileA(TestFile(name).c_str(), target.c_str(), FALSE)) << target;
  return target;
}

std::uint64_t Now() { return GetTickCount64(); }

// Polls `done` every 50 ms for up to `timeout_ms`.
bool WaitUntil(const std::function<bool()>& done, std::uint64_t timeout_ms) {
  const std::uint64_t end = Now() + timeout_ms;
  while (!done()) {
    if (Now() > end) return false;
    Sleep(50);
  }
  return true;
}

// The capture file as a Windows path; empty when the test runs without one.
std::string CapturePath() {
  const char* unix_path = std::getenv("TOLVENAR_AUDIO_CAPTURE");
  if (!unix_path || unix_path[0] != '/') return {};
  std::string path = std::string("Z:") + unix_path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::int64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What reached the capture file during `window_ms` of wall-clock time.
struct Captured {
  std::int64_t bytes = 0;
  bool sound = false;  // some byte of it is not 0: more than silence
};
Captured CapturedDuring(DWORD window_ms) {
  const std::string path = CapturePath();
  const std::int64_t before = FileSize(path);
  Sleep(window_ms);
  const std::int64_t after = FileSize(path);
  Captured captured{after - before, false};
  if (captured.bytes <= 0) return captured;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return captured;
  LARGE_INTEGER offset;
  offset.QuadPart = before;
  SetFilePointerEx(file, offset, nullptr, FILE_BEGIN);
  std::string bytes(static_cast<std::size_t>(captured.bytes), '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  captured.sound = bytes.find_first_not_of('\0', 0) < read;
  return captured;
}

std::wstring Wide(UINT code_page, std::string_view text) {
  const int n =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

class MusicTest : public ::testing::Test {
 protected:
  void TearDown() override {
    music.StopMusicFile();
    music.StopWaveSound();
  }
  // The reply of a command, sent through the module.
  std::string Status(const std::string& command) {
    std::string text;
    const std::int32_t error = music.SendMciCommand(command, text);
    return error == 0 ? text : "Error:" + std::to_string(error) + " " + text;
  }

  win32::Win32Mci mci;
  win32::Win32WaveSound wave_sound;
  SettingsRecord settings;
  BackgroundMusic music{mci, wave_sound, settings};
};

TEST_F(MusicTest, OneWaveOutputDevice) { EXPECT_EQ(wave_sound.OutputDeviceCount(), 1u); }

TEST_F(MusicTest, Mp3WithBlanksInItsPathPlays) {
  settings.MusicFile =
      CopyOf("twenty_seconds.mp3", ProgramFolder() + "\\music with blanks", "night song.mp3");
  const std::uint64_t start = Now();
  music.PlayMusicFile();
  EXPECT_LT(Now() - start, 2000u) << "the open and play commands do not wait for the music";
  EXPECT_EQ(Status("status MP3Play mode"), "playing");
  EXPECT_TRUE(music.IsMusicFilePlaying());
  const std::string first = Status("status MP3Play position");
  Sleep(500);
  const std::string second = Status("status MP3Play position");
  EXPECT_GT(std::atoi(second.c_str()), std::atoi(first.c_str())) << first << " then " << second;
  music.RepeatMusicFile();
  EXPECT_GE(std::atoi(Status("status MP3Play position").c_str()), std::atoi(second.c_str()))
      << "a playing file is left alone";

  music.StopMusicFile();
  EXPECT_FALSE(music.IsMusicFilePlaying());
  EXPECT_EQ(Status("status MP3Play mode").rfind("Error:", 0), 0u) << "the alias is closed";
}

TEST_F(MusicTest, EndedMp3IsRestartedByRepeatMusicFile) {
  settings.MusicFile = TestFile("one_second.mp3");
  music.PlayMusicFile();
  EXPECT_TRUE(music.IsMusicFilePlaying());
  ASSERT_TRUE(WaitUntil([&] { return !music.IsMusicFilePlaying(); }, 5000)) << "never ended";
  EXPECT_EQ(Status("status MP3Play mode"), "stopped");
  music.RepeatMusicFile();
  EXPECT_TRUE(music.IsMusicFilePlaying());
  EXPECT_LT(std::atoi(Status("status MP3Play position").c_str()), 900);
}

TEST_F(MusicTest, PausedMp3IsRestartedFromZero) {
  settings.MusicFile = TestFile("twenty_seconds.mp3");
  music.PlayMusicFile();
  Sleep(1500);
  EXPECT_EQ(Status("pause MP3Play"), "");
  EXPECT_EQ(Status("status MP3Play mode"), "paused");
  music.RepeatMusicFile();
  EXPECT_EQ(Status("status MP3Play mode"), "playing");
  EXPECT_LT(std::atoi(Status("status MP3Play position").c_str()), 1000);
}

TEST_F(MusicTest, Mp3IsHeardInTheCapture) {
  if (CapturePath().empty()) GTEST_SKIP() << "TOLVENAR_AUDIO_CAPTURE is not set";
  settings.MusicFile = TestFile("twenty_seconds.mp3");
  music.PlayMusicFile();
  Sleep(500);
  const Captured captured = CapturedDuring(1000);
  EXPECT_GT(captured.bytes, 0);
  EXPECT_TRUE(captured.sound);
}

TEST_F(MusicTest, WaveLoopsUntilStopped) {
  if (CapturePath().empty()) GTEST_SKIP() << "TOLVENAR_AUDIO_CAPTURE is not set";
  settings.MusicFile = TestFile("tone.wav");
  const std::uint64_t start = Now();
  music.PlayWaveSound();
  EXPECT_LT(Now() - start, 500u) << "the wave player returns at once";
  Sleep(2500);  // well past the end of the 1 s file
  const Captured looping = CapturedDuring(1000);
  EXPECT_GT(looping.bytes, 0) << "still playing after 3.5 s";
  EXPECT_TRUE(looping.sound);
  music.StopWaveSound();
  Sleep(300);
  EXPECT_EQ(CapturedDuring(1000).bytes, 0) << "silent once stopped";
}

TEST_F(MusicTest, CdAudioWithoutADriveFailsQuietly) {
  const std::uint64_t start = Now();
  music.OpenCdAudio();
  music.WatchCdAudio();
  EXPECT_FALSE(music.CdAudioOk());
  EXPECT_EQ(music.MciResultText().empty(), false);
  music.CloseCdAudio();
  EXPECT_LT(Now() - start, 2000u);
  std::string text;
  EXPECT_EQ(music.SendMciCommand("open cdaudio", text), 266) << text;
}

TEST_F(MusicTest, FixedTextsAreJapaneseInCodePage932) {
  EXPECT_EQ(Wide(932, kNoCommandText), Wide(CP_UTF8, "コマンド文字列が指定されていません"));
  EXPECT_EQ(Wide(932, kNoErrorText), Wide(CP_UTF8, "Error (文字列が取れません)"));
  std::string text = "sentinel";
  EXPECT_EQ(music.SendMciCommand("", text), -1);
  EXPECT_EQ(text, kNoCommandText);
}

TEST_F(MusicTest, ErrorCodesComeWithTheirDescription) {
  std::string text;
  const std::int32_t error = music.SendMciCommand("status NoSuchAlias mode", text);
  EXPECT_NE(error, 0);
  char expected[256] = {};
  ASSERT_TRUE(mciGetErrorStringA(static_cast<MCIERROR>(error), expected, sizeof expected));
  EXPECT_EQ(text, expected);
  EXPECT_EQ(music.GetMciResult("status NoSuchAlias mode"), "Error:" + std::to_string(error));
}

TEST_F(MusicTest, RepliesAreCutToTheBuffer) {
  settings.MusicFile = TestFile("twenty_seconds.mp3");
  music.PlayMusicFile();
  struct Case {
    std::size_t size;
    const char* expected;
  } cases[] = {{0, ""}, {1, ""}, {5, "play"}, {7, "playin"}, {8, "playing"}, {30, "playing"}};
  for (const Case& c : cases) {
    SCOPED_TRACE("buffer of " + std::to_string(c.size) + " bytes");
    const MciReply reply = mci.SendCommand("status MP3Play mode", c.size);
    EXPECT_EQ(reply.error, 0);
    EXPECT_EQ(reply.text, c.expected);
  }
}

// A file of text under a sound file's name.
std::string NotAudio(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "just some text, not sound\r\n", 27, &written, nullptr);
  CloseHandle(file);
  return path;
}

const char kJapaneseStem[] = "\x96\xE9\x82\xCC\x8B\xC8";  // 夜の曲 in code page 932

TEST_F(MusicTest, BadMp3InputFailsQuietly) {
  const std::string folder = ProgramFolder() + "\\bad input";
  CreateDirectoryA(folder.c_str(), nullptr);
  struct Case {
    const char* what;
    std::string path;
    bool plays;
  } cases[] = {
      {"missing file", folder + "\\missing.mp3", false},
      {"not audio", NotAudio(folder + "\\notes.mp3"), false},
      {"a directory", folder, false},
      {"300 characters", folder + "\\" + std::string(300 - folder.size() - 5, 'a') + ".mp3", false},
      {"empty", "", false},
      // The ANSI bytes reach the file system unchanged, whatever the code page makes of them.
      {"Japanese name", CopyOf("twenty_seconds.mp3", folder, std::string(kJapaneseStem) + ".mp3"),
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    settings.MusicFile = c.path;
    const std::uint64_t start = Now();
    music.PlayMusicFile();
    EXPECT_EQ(music.IsMusicFilePlaying(), c.plays);
    music.RepeatMusicFile();
    EXPECT_EQ(music.IsMusicFilePlaying(), c.plays) << "the watcher's restart fails quietly too";
    music.StopMusicFile();
    EXPECT_FALSE(music.IsMusicFilePlaying());
    EXPECT_LT(Now() - start, 3000u);
  }
}

TEST_F(MusicTest, BadWaveInputFailsQuietly) {
  if (CapturePath().empty()) GTEST_SKIP() << "TOLVENAR_AUDIO_CAPTURE is not set";
  const std::string folder = ProgramFolder() + "\\bad input";
  CreateDirectoryA(folder.c_str(), nullptr);
  struct Case {
    const char* what;
    std::string path;
    bool plays;
  } cases[] = {
      {"missing file", folder + "\\missing.wav", false},
      {"not audio", NotAudio(folder + "\\notes.wav"), false},
      {"an MP3 file", TestFile("one_second.mp3"), false},
      {"a directory", folder, false},
      {"300 characters", folder + "\\" + std::string(300 - folder.size() - 5, 'a') + ".wav", false},
      {"empty", "", false},
      {"Japanese name", CopyOf("tone.wav", folder, std::string(kJapaneseStem) + ".wav"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    settings.MusicFile = c.path;
    const std::uint64_t start = Now();
    music.PlayWaveSound();
    EXPECT_LT(Now() - start, 500u);
    Sleep(300);
    EXPECT_EQ(CapturedDuring(700).sound, c.plays);
    music.StopWaveSound();
    Sleep(300);
  }
}

}  // namespace
}  // namespace tolvenar
