#pragma once
// Fakes of the multimedia services: a command-string service with scripted answers that records
// every command with the size of its reply buffer, a wave-sound player that logs its calls, and
// media players over a set of known files and a CD of some tracks that log theirs.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <ostream>
#include <string>
#include <vector>

#include "music/mci.h"
#include "music/media_backend.h"
#include "music/wave_sound.h"

namespace tolvenar::testing {

struct MciCall {
  std::string command;
  std::size_t reply_size = 0;
  bool operator==(const MciCall& other) const {
    return command == other.command && reply_size == other.reply_size;
  }
};
inline std::ostream& operator<<(std::ostream& out, const MciCall& call) {
  return out << "{\"" << call.command << "\", " << call.reply_size << "}";
}

struct MciAnswer {
  std::int32_t error = 0;
  std::string reply;
};

class FakeMci : public Mci {
 public:
  MciReply SendCommand(const std::string& command, std::size_t reply_size) override {
    calls.push_back({command, reply_size});
    MciAnswer answer;
    if (respond) {
      answer = respond(command);
    } else if (auto it = answers.find(command); it != answers.end()) {
      answer = it->second;
    } else {
      answer.error = unknown_error;
    }
    // Like the platform: no reply without a buffer, and a reply cut to fit it with its NUL.
    std::string text = reply_size == 0 ? std::string() : answer.reply;
    if (reply_size > 0 && text.size() > reply_size - 1) text.resize(reply_size - 1);
    return {answer.error, text};
  }
  std::optional<std::string> ErrorText(std::int32_t error, std::size_t text_size) override {
    error_text_calls.push_back({std::to_string(error), text_size});
    auto it = error_texts.find(error);
    if (it == error_texts.end()) return std::nullopt;
    std::string text = it->second;
    if (text_size > 0 && text.size() > text_size - 1) text.resize(text_size - 1);
    return text;
  }

  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    for (const MciCall& call : calls) commands.push_back(call.command);
    return commands;
  }

  // Answers by exact command text; a command without one gets `unknown_error`.
  std::map<std::string, MciAnswer> answers;
  std::int32_t unknown_error = 0;
  // When set, answers every command instead of `answers` (for devices with state).
  std::function<MciAnswer(const std::string&)> respond;
  // Descriptions by error code; a code without one has no description.
  std::map<std::int32_t, std::string> error_texts;

  std::vector<MciCall> calls;
  std::vector<MciCall> error_text_calls;  // {code in decimal, buffer size}
};

class FakeWaveSound : public WaveSound {
 public:
  std::uint32_t OutputDeviceCount() override {
    log.push_back("OutputDeviceCount");
    return device_count;
  }
  bool PlayLooping(const std::string& path) override {
    log.push_back("PlayLooping " + path);
    return true;
  }
  bool StopPlaying() override {
    log.push_back("StopPlaying");
    return true;
  }

  std::uint32_t device_count = 1;
  std::vector<std::string> log;
};

// Players that know the files of `files` and a disc of `cd_tracks` tracks (0: no drive). Play
// runs until Finish posts the end; the disc then stands after its last track.
class FakeMediaBackend : public MediaBackend {
 public:
  MediaOpenResult OpenFile(int id, const std::string& path) override {
    log.push_back("OpenFile " + std::to_string(id) + " " + path);
    if (files.count(path) == 0) return MediaOpenResult::kCannotPlay;
    players[id] = {};
    return MediaOpenResult::kOpened;
  }
  MediaOpenResult OpenCd(int id) override {
    log.push_back("OpenCd " + std::to_string(id));
    if (cd_tracks == 0) return MediaOpenResult::kNoDrive;
    players[id] = {};
    players[id].track = 1;
    return MediaOpenResult::kOpened;
  }
  bool Play(int id) override {
    return Do("Play", id, [](Player& p) { p.playing = true; });
  }
  bool Hold(int id) override {
    return Do("Hold", id, [](Player& p) { p.playing = false; });
  }
  bool SeekTo(int id, long long position_ms) override {
    return Do("SeekTo " + std::to_string(position_ms), id, [](Player&) {});
  }
  bool SeekToTrack(int id, int track) override {
    return Do("SeekToTrack " + std::to_string(track), id, [track](Player& p) { p.track = track; });
  }
  std::optional<int> TrackCount(int id) override {
    if (players.count(id) == 0 || players[id].track == 0) return std::nullopt;
    return cd_tracks;
  }
  std::optional<int> CurrentTrack(int id) override {
    if (players.count(id) == 0 || players[id].track == 0) return std::nullopt;
    return players[id].track;
  }
  void Close(int id) override {
    log.push_back("Close " + std::to_string(id));
    players.erase(id);
  }
  std::vector<MediaEvent> TakeEvents(int id) override {
    std::vector<MediaEvent> events;
    if (players.count(id) != 0) events.swap(players[id].events);
    return events;
  }

  // Every playing player reaches its end.
  void Finish() {
    for (auto& [id, player] : players) {
      if (!player.playing) continue;
      player.playing = false;
      if (player.track != 0) player.track = cd_tracks;
      player.events.push_back(MediaEvent::kEnded);
    }
  }

  std::set<std::string> files;
  int cd_tracks = 0;
  std::vector<std::string> log;

 private:
  struct Player {
    bool playing = false;
    int track = 0;  // 0 for a file
    std::vector<MediaEvent> events;
  };
  bool Do(const std::string& what, int id, const std::function<void(Player&)>& change) {
    log.push_back(what + " " + std::to_string(id));
    if (players.count(id) == 0) return false;
    change(players[id]);
    return true;
  }
  std::map<int, Player> players;
};

}  // namespace tolvenar::testing
