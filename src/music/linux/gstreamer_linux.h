#pragma once
// What both GStreamer players share: the library's start, owned references, and a playbin that
// plays sound only, into the sink TOLVENAR_AUDIO_SINK describes when it is set.
#include <gst/gst.h>

#include <optional>
#include <string>
#include <vector>

#include "music/media_backend.h"
#include "runtime/linux/system_path.h"
#include "runtime/unique_resource.h"

namespace tolvenar::linux_port {

// Starts GStreamer once per process; later calls do nothing. False when it cannot start.
bool InitializeGStreamer();

struct GstObjectUnref {
  void operator()(gpointer object) const { gst_object_unref(object); }
};
// One reference to a GStreamer object (an element, a bus), dropped once.
template <typename T>
using GstOwned = UniqueResource<T*, GstObjectUnref>;

// The URI of a file; nullopt when it names no regular file that can be read.
std::optional<std::string> FileUri(const SystemPath& path);

// A playbin for one sound, audio only. Set to NULL and released on destruction.
class Playbin {
 public:
  // Makes the pipeline; valid() is false when the pipeline or its sink cannot be made.
  explicit Playbin(const std::string& uri);
  ~Playbin();
  Playbin(const Playbin&) = delete;
  Playbin& operator=(const Playbin&) = delete;

  bool valid() const { return static_cast<bool>(pipeline_); }
  GstElement* element() const { return pipeline_.get(); }
  bool SetState(GstState state);
  // Goes to PAUSED and waits (at most `timeout_ms`) for the first sound to be ready; false on
  // an error or time-out.
  bool Preroll(int timeout_ms);
  bool Seek(GstFormat format, gint64 position);
  // The ends and errors posted since the last call, oldest first.
  std::vector<MediaEvent> TakeEvents();

 private:
  GstOwned<GstElement> pipeline_;
  GstOwned<GstBus> bus_;
};

// True when an audio sink can be made: the one TOLVENAR_AUDIO_SINK describes, else the default.
bool CanMakeAudioSink();

}  // namespace tolvenar::linux_port
