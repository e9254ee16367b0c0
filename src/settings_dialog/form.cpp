#include "settings_dialog/form.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace tolvenar {

std::optional<SettingsDialogControls> RealiseSettingsForm(
    FormCanvas& canvas, ModalWindow& window, const std::unique_ptr<SettingsDialog>& dialog) {
  CommandControl* set = nullptr;
  CommandControl* cancel = nullptr;
  CommandControl* file = nullptr;
  EditableComboBox* repeat = nullptr;
  std::array<ImageControl*, 3> marks{};
  Label* file_name = nullptr;
  Label* link = nullptr;

  for (const FormElement& element : kSettingsForm) {
    std::function<void()> on_press;
    if (element.on_press) {
      on_press = [&dialog, handler = element.on_press, index = element.index] {
        ((*dialog).*handler)(index);
      };
    }
    std::function<void()> on_click;
    if (element.on_click) {
      on_click = [&dialog, handler = element.on_click] { ((*dialog).*handler)(); };
    }
    Label* text = nullptr;
    ImageControl* image = nullptr;
    EditableComboBox* combo_box = nullptr;
    CommandControl* button = nullptr;
    switch (element.kind) {
      case FormElementKind::kOutline:
        canvas.AddOutline(element.on, element.place);
        break;
      case FormElementKind::kText:
        text = &canvas.AddText(element.on, element.place, element.caption, element.colour,
                               element.look,
                               {{},
                                std::move(on_press),
                                std::move(on_click),
                                element.hand_pointer,
                                element.fits_text});
        break;
      case FormElementKind::kImage:
        image = &canvas.AddImage(element.on, element.place, std::move(on_press));
        break;
      case FormElementKind::kComboBox:
        combo_box = canvas.AddComboBox(element.on, element.place);
        if (!combo_box) return std::nullopt;
        break;
      case FormElementKind::kButton:
        button = canvas.AddButton(element.on, element.place, element.caption, std::move(on_click));
        if (!button) return std::nullopt;
        break;
    }
    switch (element.control) {
      case FormControl::kNone:
        break;
      case FormControl::kRepeatBox:
        repeat = combo_box;
        break;
      case FormControl::kSetButton:
        set = button;
        break;
      case FormControl::kCancelButton:
        cancel = button;
        break;
      case FormControl::kFileButton:
        file = button;
        break;
      case FormControl::kMark:
        marks.at(static_cast<std::size_t>(element.index)) = image;
        break;
      case FormControl::kFileName:
        file_name = text;
        break;
      case FormControl::kLink:
        link = text;
        break;
    }
  }
  if (!set || !cancel || !file || !repeat || !marks[0] || !marks[1] || !marks[2] || !file_name ||
      !link) {
    throw std::logic_error("the settings form lacks one of the dialog's controls");
  }
  return SettingsDialogControls{window,
                                canvas.Surface(FormSurface::kWindow),
                                canvas.Surface(FormSurface::kPanel),
                                *set,
                                *cancel,
                                *file,
                                *repeat,
                                marks,
                                *file_name,
                                *link};
}

}  // namespace tolvenar
