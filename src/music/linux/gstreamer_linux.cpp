#include "music/linux/gstreamer_linux.h"

#include <cstdlib>

#include "runtime/linux/owners_glib.h"

namespace tolvenar::linux_port {
namespace {

constexpr guint kPlayAudioOnly = 0x2;  // playbin's "flags": audio, no video or subtitles

// The sink of TOLVENAR_AUDIO_SINK, or the default one. Floating: the caller sinks it.
GstElement* MakeAudioSink() {
  const char* description = std::getenv("TOLVENAR_AUDIO_SINK");
  if (!description || !*description) return gst_element_factory_make("autoaudiosink", nullptr);
  GError* error = nullptr;
  GstElement* sink = gst_parse_bin_from_description(description, TRUE, &error);
  if (error) {
    g_error_free(error);
    if (sink) gst_object_unref(sink);
    return nullptr;
  }
  return sink;
}

}  // namespace

bool InitializeGStreamer() { return gst_init_check(nullptr, nullptr, nullptr) != FALSE; }

std::optional<std::string> FileUri(const SystemPath& path) {
  if (!CanOpenForReading(path)) return std::nullopt;
  const GMemory<gchar> uri(gst_filename_to_uri(path.c_str(), nullptr));
  if (!uri) return std::nullopt;
  return std::string(uri.get());
}

bool CanMakeAudioSink() {
  if (!InitializeGStreamer()) return false;
  GstElement* sink = MakeAudioSink();
  if (!sink) return false;
  gst_object_unref(gst_object_ref_sink(sink));
  return true;
}

Playbin::Playbin(const std::string& uri) {
  if (!InitializeGStreamer()) return;
  GstOwned<GstElement> pipeline(gst_element_factory_make("playbin", nullptr));
  GstElement* sink = MakeAudioSink();
  if (!pipeline || !sink) {
    if (sink) gst_object_unref(gst_object_ref_sink(sink));
    return;
  }
  gst_object_ref_sink(pipeline.get());
  g_object_set(pipeline.get(), "uri", uri.c_str(), "flags", kPlayAudioOnly, "audio-sink", sink,
               nullptr);
  bus_.reset(gst_element_get_bus(pipeline.get()));
  pipeline_ = std::move(pipeline);
}

Playbin::~Playbin() {
  if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

bool Playbin::SetState(GstState state) {
  return pipeline_ && gst_element_set_state(pipeline_.get(), state) != GST_STATE_CHANGE_FAILURE;
}

bool Playbin::Preroll(int timeout_ms) {
  if (!pipeline_) return false;
  const GstStateChangeReturn change = gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
  if (change == GST_STATE_CHANGE_FAILURE) return false;
  if (change != GST_STATE_CHANGE_ASYNC) return true;
  const auto wanted =
      static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus_.get(), static_cast<GstClockTime>(timeout_ms) * GST_MSECOND, wanted);
  if (!message) return false;
  const bool ready = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ASYNC_DONE;
  gst_message_unref(message);
  return ready;
}

bool Playbin::Seek(GstFormat format, gint64 position) {
  if (!pipeline_) return false;
  // An end posted before the seek belongs to the old place.
  while (GstMessage* stale = gst_bus_pop_filtered(bus_.get(), GST_MESSAGE_EOS)) {
    gst_message_unref(stale);
  }
  return gst_element_seek_simple(pipeline_.get(), format, GST_SEEK_FLAG_FLUSH, position) != FALSE;
}

std::vector<MediaEvent> Playbin::TakeEvents() {
  std::vector<MediaEvent> events;
  if (!bus_) return events;
  const auto wanted = static_cast<GstMessageType>(GST_MESSAGE_ERROR | GST_MESSAGE_EOS);
  while (GstMessage* message = gst_bus_pop_filtered(bus_.get(), wanted)) {
    events.push_back(GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS ? MediaEvent::kEnded
                                                                  : MediaEvent::kFailed);
    gst_message_unref(message);
  }
  return events;
}

}  // namespace tolvenar::linux_port
