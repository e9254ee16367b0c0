#pragma once
// The media players behind the MCI emulator: one player per open device, numbered by the emulator.
// A player only plays, holds and seeks; what the device's mode is, is the emulator's business. The
// player never calls back: what happened since the last look is collected with TakeEvents.
#include <optional>
#include <string>
#include <vector>

namespace tolvenar {

enum class MediaOpenResult {
  kOpened,
  kCannotPlay,  // the file is missing, unreadable or not media, or no sound can be played
  kNoDrive,     // no CD drive, or no audio disc in it
};

enum class MediaEvent {
  kEnded,   // played to the end of the file or disc
  kFailed,  // stopped by an error while playing
};

class MediaBackend {
 public:
  virtual ~MediaBackend() = default;
  // Opens a sound file (path bytes in code page 932) as player `id`, held at its start. Returns
  // within a bounded time, at once for a file that is not there.
  virtual MediaOpenResult OpenFile(int id, const std::string& path) = 0;
  // Opens the audio disc in the CD drive as player `id`, held at its first track.
  virtual MediaOpenResult OpenCd(int id) = 0;
  virtual bool Play(int id) = 0;  // plays on from where the player stands
  virtual bool Hold(int id) = 0;  // stops playing and keeps the place
  virtual bool SeekTo(int id, long long position_ms) = 0;
  virtual bool SeekToTrack(int id, int track) = 0;  // a CD track, the first is 1
  virtual std::optional<int> TrackCount(int id) = 0;
  virtual std::optional<int> CurrentTrack(int id) = 0;  // the first is 1
  virtual void Close(int id) = 0;
  // What happened to player `id` since the last call, oldest first.
  virtual std::vector<MediaEvent> TakeEvents(int id) = 0;
};

}  // namespace tolvenar
