#pragma once
// The settings dialog's form, described once: each element in the order it is made (which is the
// order of the tab stops and, among windowless elements, of painting and of hit-testing), where it
// goes, what it shows and which handler of the dialog it drives. A back end realises the form on
// its own canvas; it keeps no list of elements of its own.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "runtime/drawing_surface.h"
#include "runtime/label.h"
#include "settings_dialog/layout.h"
#include "settings_dialog/settings_dialog.h"
#include "settings_dialog/windowless_elements.h"

namespace tolvenar {

// The two surfaces elements go on: the window's client area and the panel on it.
enum class FormSurface { kWindow, kPanel };

enum class FormElementKind { kOutline, kText, kImage, kComboBox, kButton };

// How a text is set, in the dialog's font.
enum class TextLook {
  kLine,      // one line from the left
  kCentred,   // one line, centred in its box
  kLink,      // one line, underlined
  kFileName,  // framed and wrapping at words; the caption is a path in the ANSI code page
};

// Which of the dialog's controls an element is.
enum class FormControl {
  kNone,
  kSetButton,
  kCancelButton,
  kFileButton,
  kRepeatBox,
  kMark,
  kFileName,
  kLink
};

struct FormElement {
  using PressHandler = void (SettingsDialog::*)(std::int16_t);
  using ClickHandler = void (SettingsDialog::*)();

  // (In the order that packs them tightest.)
  std::string_view caption;
  PressHandler on_press = nullptr;  // any mouse button went down on it; called with `index`
  ClickHandler on_click = nullptr;  // a click (a button's, or the left button's on a text)
  FormElementKind kind = FormElementKind::kOutline;
  FormSurface on = FormSurface::kPanel;
  TextLook look = TextLook::kLine;
  FormControl control = FormControl::kNone;
  dialog_layout::Place place;
  std::int16_t index = 0;  // of a mark and its choice: the music kind they stand for
  bool fits_text = false;  // a text whose box follows its measured size
  bool hand_pointer = false;
  Colour colour;  // of a text

  constexpr FormElement FitsText() const {
    FormElement e = *this;
    e.fits_text = true;
    return e;
  }
  constexpr FormElement HandPointer() const {
    FormElement e = *this;
    e.hand_pointer = true;
    return e;
  }
  constexpr FormElement OnPress(PressHandler handler, std::int16_t with_index) const {
    FormElement e = *this;
    e.on_press = handler;
    e.index = with_index;
    return e;
  }
  constexpr FormElement OnClick(ClickHandler handler) const {
    FormElement e = *this;
    e.on_click = handler;
    return e;
  }
  constexpr FormElement Is(FormControl which, std::int16_t with_index = 0) const {
    FormElement e = *this;
    e.control = which;
    e.index = with_index;
    return e;
  }
};

namespace form {

constexpr FormElement Outline(FormSurface on, dialog_layout::Place place) {
  FormElement e;
  e.kind = FormElementKind::kOutline;
  e.on = on;
  e.place = place;
  return e;
}
constexpr FormElement Text(FormSurface on, dialog_layout::Place place, std::string_view caption,
                           Colour colour, TextLook look) {
  FormElement e = Outline(on, place);
  e.kind = FormElementKind::kText;
  e.caption = caption;
  e.colour = colour;
  e.look = look;
  return e;
}
constexpr FormElement Image(FormSurface on, dialog_layout::Place place) {
  FormElement e = Outline(on, place);
  e.kind = FormElementKind::kImage;
  return e;
}
constexpr FormElement ComboBox(FormSurface on, dialog_layout::Place place) {
  FormElement e = Outline(on, place);
  e.kind = FormElementKind::kComboBox;
  return e;
}
constexpr FormElement Button(FormSurface on, dialog_layout::Place place, std::string_view caption) {
  FormElement e = Outline(on, place);
  e.kind = FormElementKind::kButton;
  e.caption = caption;
  return e;
}

}  // namespace form

// The settings dialog's form. The panel's elements come first, top to bottom, then the buttons
// and the strip under the panel.
inline constexpr FormElement kSettingsForm[] = {
    form::Outline(FormSurface::kPanel, dialog_layout::kHeadingFrame),
    form::Text(FormSurface::kPanel, dialog_layout::kHeading, dialog_layout::kHeadingCaption,
               dialog_layout::kBlack, TextLook::kCentred),
    form::Image(FormSurface::kPanel, dialog_layout::kMarks[0])
        .Is(FormControl::kMark, 0)
        .OnPress(&SettingsDialog::Img_BGM_MouseDown, 0),
    form::Text(FormSurface::kPanel, dialog_layout::kChoiceLabels[0],
               dialog_layout::kChoiceCaptions[0], dialog_layout::kBlack, TextLook::kLine)
        .FitsText()
        .OnPress(&SettingsDialog::lbl_BGM_MouseDown, 0),
    form::Image(FormSurface::kPanel, dialog_layout::kMarks[1])
        .Is(FormControl::kMark, 1)
        .OnPress(&SettingsDialog::Img_BGM_MouseDown, 1),
    form::Text(FormSurface::kPanel, dialog_layout::kChoiceLabels[1],
               dialog_layout::kChoiceCaptions[1], dialog_layout::kBlack, TextLook::kLine)
        .FitsText()
        .OnPress(&SettingsDialog::lbl_BGM_MouseDown, 1),
    form::Image(FormSurface::kPanel, dialog_layout::kMarks[2])
        .Is(FormControl::kMark, 2)
        .OnPress(&SettingsDialog::Img_BGM_MouseDown, 2),
    form::Text(FormSurface::kPanel, dialog_layout::kChoiceLabels[2],
               dialog_layout::kChoiceCaptions[2], dialog_layout::kBlack, TextLook::kLine)
        .FitsText()
        .OnPress(&SettingsDialog::lbl_BGM_MouseDown, 2),
    form::ComboBox(FormSurface::kPanel, dialog_layout::kRepeatBox).Is(FormControl::kRepeatBox),
    form::Text(FormSurface::kPanel, dialog_layout::kRepeatLabel, dialog_layout::kRepeatCaption,
               dialog_layout::kBlack, TextLook::kLine)
        .FitsText(),
    form::Text(FormSurface::kPanel, dialog_layout::kFileName, "", dialog_layout::kBlack,
               TextLook::kFileName)
        .Is(FormControl::kFileName),
    form::Button(FormSurface::kPanel, dialog_layout::kFileButton, dialog_layout::kFileCaption)
        .Is(FormControl::kFileButton)
        .OnClick(&SettingsDialog::Cmd_File_Click),
    form::Button(FormSurface::kWindow, dialog_layout::kSetButton, dialog_layout::kSetCaption)
        .Is(FormControl::kSetButton)
        .OnClick(&SettingsDialog::Cmd_Set_Click),
    form::Button(FormSurface::kWindow, dialog_layout::kCancelButton, dialog_layout::kCancelCaption)
        .Is(FormControl::kCancelButton)
        .OnClick(&SettingsDialog::Cmd_Can_Click),
    form::Text(FormSurface::kWindow, dialog_layout::kCredit, dialog_layout::kCreditCaption,
               dialog_layout::kWhite, TextLook::kLine)
        .FitsText(),
    form::Text(FormSurface::kWindow, dialog_layout::kLink, dialog_layout::kLinkCaption,
               dialog_layout::kWhite, TextLook::kLink)
        .FitsText()
        .HandPointer()
        .Is(FormControl::kLink)
        .OnClick(&SettingsDialog::lbl_URL_Click),
};

// What a back end makes the form's elements with. Places are twips on the surface named.
class FormCanvas {
 public:
  virtual ~FormCanvas() = default;
  virtual RuledSurface& Surface(FormSurface on) = 0;
  virtual void AddOutline(FormSurface on, const dialog_layout::Place& place) = 0;
  // A windowless text; `pointer` says what the pointer does on it (its box is the canvas's to set).
  virtual Label& AddText(FormSurface on, const dialog_layout::Place& place,
                         std::string_view caption, Colour colour, TextLook look,
                         WindowlessElements::Element pointer) = 0;
  virtual ImageControl& AddImage(FormSurface on, const dialog_layout::Place& place,
                                 std::function<void()> on_press) = 0;
  // The repeat field; nullptr when it cannot be made.
  virtual EditableComboBox* AddComboBox(FormSurface on, const dialog_layout::Place& place) = 0;
  // A skinned button with a UTF-8 caption; nullptr when it cannot be made.
  virtual CommandControl* AddButton(FormSurface on, const dialog_layout::Place& place,
                                    std::string_view caption, std::function<void()> on_click) = 0;
};

// The windowless half of a FormCanvas, written once for every back end: `Dialog` has a canvas per
// surface (`CanvasOf`) that makes outlines, texts and images itself, and turns a colour and a text
// look into its platform's (`LookOf`); it makes only the controls. A back end derives from
// WindowlessFormCanvas<itself> and befriends it.
template <class Dialog>
class WindowlessFormCanvas : public FormCanvas {
 public:
  RuledSurface& Surface(FormSurface on) override { return Self().CanvasOf(on).Surface(); }
  void AddOutline(FormSurface on, const dialog_layout::Place& place) override {
    Self().CanvasOf(on).AddOutline(place);
  }
  Label& AddText(FormSurface on, const dialog_layout::Place& place, std::string_view caption,
                 Colour colour, TextLook look, WindowlessElements::Element pointer) override {
    return Self().CanvasOf(on).AddText(place, caption, Self().LookOf(colour, look),
                                       std::move(pointer));
  }
  ImageControl& AddImage(FormSurface on, const dialog_layout::Place& place,
                         std::function<void()> on_press) override {
    return Self().CanvasOf(on).AddImage(place, std::move(on_press));
  }

 private:
  Dialog& Self() { return static_cast<Dialog&>(*this); }
};

// Makes the settings form's elements on `canvas` in their order. Their handlers drive `dialog`,
// which is made from the controls returned before any input is taken. nullopt when a control
// cannot be made.
std::optional<SettingsDialogControls> RealiseSettingsForm(
    FormCanvas& canvas, ModalWindow& window, const std::unique_ptr<SettingsDialog>& dialog);

}  // namespace tolvenar
