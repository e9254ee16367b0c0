#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "fakes/file_bytes.h"
#include "fakes/shift_jis.h"
#include "runtime/linux/process_linux.h"
#include "runtime/linux/system_path.h"
#include "runtime/linux/user_services_gtk.h"
#include "settings/settings_store.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/linux/settings_dialog_linux.h"

namespace tolvenar::linux_port {
namespace {

namespace fs = std::filesystem;
namespace layout = dialog_layout;
using testing::Get;
using testing::Put;
using testing::Show;

const std::string kKind = "BGM\x8B\xE6\x95\xAA";
const std::string kRepeat = "BGM\xD8\xCB\xDF\xB0\xC4";
const std::string kFile = "BGM\xCC\xA7\xB2\xD9";

// The file Set writes into an empty folder, as the Windows build's tests spell it.
std::string IniBytes(const std::string& kind, const std::string& repeat,
                     const std::string& file = "") {
  return "[Section]\r\n" + kKind + "=" + kind + "\r\n" + kRepeat + "=" + repeat + "\r\n" + kFile +
         "=" + file + "\r\n";
}

// A press and a release of a mouse button at a point of a widget's own area.
void ClickAt(GtkWidget* widget, double x, double y, guint button = 1) {
  for (const GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->button.x = x;
    event->button.y = y;
    event->button.button = button;
    gdk_event_set_device(
        event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
    gtk_widget_event(widget, event);
    gdk_event_free(event);
  }
}

class GtkDialog : public DialogFixture {
 protected:
  // The kinds whose mark shows chosen, and (repeat box enabled, its text, file button enabled).
  std::vector<int> ChosenMarks() {
    std::vector<int> chosen;
    for (int kind = 0; kind < 3; ++kind) {
      if (dialog_->Mark(kind).PictureName() == layout::kMarkSelected) chosen.push_back(kind);
    }
    return chosen;
  }
  std::tuple<bool, std::string, bool> Controls() {
    return {gtk_widget_get_sensitive(dialog_->RepeatBox().widget()) != FALSE,
            gtk_entry_get_text(dialog_->RepeatBox().entry()),
            gtk_widget_get_sensitive(dialog_->FileButton().Button().widget()) != FALSE};
  }
  void PressOnPanel(const layout::Place& place, guint button = 1) {
    const Scale scale{15, 15};
    const PixelRect box = scale.Box(place);
    ClickAt(dialog_->Panel().widget(), box.left + 4, box.top + 6, button);
    Pump();
  }
  void Type(const std::string& text) {
    gtk_entry_set_text(dialog_->RepeatBox().entry(), text.c_str());
  }
  void Click(DialogButton& button) {
    gtk_button_clicked(GTK_BUTTON(button.Button().widget()));
    dialog_->RunUntilClosed();
    EXPECT_FALSE(dialog_->IsOpen());
  }
};

TEST_F(GtkDialog, LoadedValuesShowAndAreWrittenBackAsLoaded) {
  const std::string music = (folder_ / "night.mp3").string();
  Put(music, "not really music");
  const std::string gone = (folder_ / "gone.wav").string();
  struct Case {
    std::string kind, repeat, file;
    std::vector<int> marks;
    std::tuple<bool, std::string, bool> shown;
    std::string written;
  };
  const Case cases[] = {
      {"2.9", "45", music, {2}, {false, "45", true}, IniBytes("2", "45", music)},
      {"2", "0", gone, {0}, {false, "", false}, IniBytes("0", "0")},
      {"-0.5", "45", "", {}, {false, "45", false}, IniBytes("-1", "45")},
      {"1", "3", gone, {1}, {true, "3", false}, IniBytes("1", "3")},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE("case " + std::to_string(i));
    settings_ = {};
    Open("[Section]\r\n" + kKind + "=" + c.kind + "\r\n" + kRepeat + "=" + c.repeat + "\r\n" +
         kFile + "=" + c.file + "\r\n");
    EXPECT_EQ(ChosenMarks(), c.marks);
    EXPECT_EQ(Controls(), c.shown);
    Click(dialog_->SetButton());
    EXPECT_EQ(Show(Get(ini_)), Show(c.written));
  }
}

TEST_F(GtkDialog, MarksAndLabelsPickTheKindAndSetWritesTheThreeKeys) {
  Open(std::nullopt);
  EXPECT_EQ(ChosenMarks(), std::vector<int>{0});
  EXPECT_EQ(Controls(), std::make_tuple(false, std::string(), false));
  const struct {
    layout::Place place;
    int kind;
    guint button;
  } steps[] = {{layout::kChoiceLabels[1], 1, 1}, {layout::kMarks[0], 0, 1},
               {layout::kChoiceLabels[2], 2, 1}, {layout::kMarks[2], 2, 3},
               {layout::kChoiceLabels[0], 0, 3}, {layout::kMarks[1], 1, 1}};
  for (const auto& step : steps) {
    SCOPED_TRACE("kind " + std::to_string(step.kind) + " button " + std::to_string(step.button));
    PressOnPanel(step.place, step.button);
    EXPECT_EQ(ChosenMarks(), std::vector<int>{step.kind});
    const auto [repeat, text, file] = Controls();
    EXPECT_EQ(repeat, step.kind == 1);
    EXPECT_EQ(file, step.kind == 2);
  }
  Type("7");
  Click(dialog_->SetButton());
  EXPECT_EQ(Show(Get(ini_)), Show(IniBytes("1", "7")));
}

TEST_F(GtkDialog, RepeatTextIsSavedAsTheWindowsBuildReadsIt) {
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {{"0", "0"},   {"30", "30"}, {"31", "31"},           {"abc", "0"},
               {"2.5", "2"}, {"3.5", "4"}, {"0000000000012", "12"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    fs::remove(ini_);
    Open(std::nullopt);
    PressOnPanel(layout::kMarks[1]);
    Type(c.typed);
    EXPECT_EQ(Controls(), std::make_tuple(true, std::string(c.typed), false));
    Click(dialog_->SetButton());
    EXPECT_EQ(Show(Get(ini_)), Show(IniBytes("1", c.written)));
  }
}

TEST_F(GtkDialog, CancelAndTheCloseBoxLeaveTheFileByteIdentical) {
  const std::string original =
      "; kept as it is\n[Section]\n" + kKind + "=1\n" + kRepeat + "= 4 \nOther=x\n";
  for (const bool close_box : {false, true}) {
    SCOPED_TRACE(close_box ? "close box" : "cancel");
    Open(original);
    PressOnPanel(layout::kChoiceLabels[2]);
    Type("9");
    if (close_box) {
      gtk_window_close(GTK_WINDOW(dialog_->Window()));
      dialog_->RunUntilClosed();
    } else {
      Click(dialog_->CancelButton());
    }
    EXPECT_EQ(Show(Get(ini_)), Show(original));
  }
}

// The chooser is asked with the Windows build's request; its filter matches either case, and the
// chosen file is what Set writes.
TEST_F(GtkDialog, TheChoosersFilterAndTheChosenFile) {
  const std::string music = (folder_ / "night.mp3").string();
  Put(music, "x");
  Open(IniBytes("2", "0", music));
  chooser_.answer = CorePath((folder_ / "ソ表.WAV").string());
  gtk_button_clicked(GTK_BUTTON(dialog_->FileButton().Button().widget()));
  Pump();
  ASSERT_EQ(chooser_.requests.size(), 1u);
  const std::vector<GtkFileFilter*> filters = MakeFileFilters(chooser_.requests[0].filter);
  ASSERT_EQ(filters.size(), 1u);
  g_object_ref_sink(filters[0]);
  EXPECT_STREQ(gtk_file_filter_get_name(filters[0]), "BGMﾌｧｲﾙ (MP3 WAV)");
  for (const auto& [name, shown] :
       {std::pair{"A.MP3", true}, {"b.wav", true}, {"c.ogg", false}, {"d.Mp3.txt", false}}) {
    GtkFileFilterInfo info{};
    info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
    info.display_name = name;
    EXPECT_EQ(gtk_file_filter_filter(filters[0], &info) != FALSE, shown) << name;
  }
  g_object_unref(filters[0]);
  EXPECT_EQ(dialog_->FileName().Caption(), *chooser_.answer);
  Click(dialog_->SetButton());
  EXPECT_EQ(Show(Get(ini_)), Show(IniBytes("2", "0", *chooser_.answer)));
}

// What the chooser answers for a chosen path: code page 932 bytes with "\" between folders; a
// name the code page cannot hold, or too long for the request's 255-byte buffer, is refused.
TEST(ChosenFileAnswer, RefusesWhatTheWindowsBuildRefuses) {
  const std::string fits = "/" + std::string(249, 'a') + ".mp3";      // 254 bytes and the NUL
  const std::string too_long = "/" + std::string(250, 'a') + ".mp3";  // 255 bytes
  constexpr ChoiceOutcome kChosen = ChoiceOutcome::kChosen;
  constexpr ChoiceOutcome kNotHeld = ChoiceOutcome::kNameNotHeld;
  const struct {
    std::string chosen;
    ChoiceOutcome outcome;
    std::string path;
  } cases[] = {
      {"/home/u/ソ表.mp3", kChosen, "\\home\\u\\" + testing::ShiftJis("ソ表") + ".mp3"},
      {"/home/u/\u00e9t\u00e9.mp3", kNotHeld, ""},  // é has no code page 932 byte
      {"/home/u/\u266b.wav", kNotHeld, ""},
      {fits, kChosen, "\\" + std::string(249, 'a') + ".mp3"},
      {too_long, ChoiceOutcome::kCancelled, ""},
  };
  for (const auto& c : cases) {
    const FileChoice answer = ChosenFileAnswer(c.chosen, 255);
    EXPECT_EQ(answer.outcome, c.outcome) << c.chosen;
    EXPECT_EQ(answer.path, c.path) << c.chosen;
  }
}

}  // namespace
}  // namespace tolvenar::linux_port
