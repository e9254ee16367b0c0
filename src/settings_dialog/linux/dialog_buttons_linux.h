#pragma once
// The dialog's three skinned `Command` buttons.
#include <functional>
#include <memory>
#include <string_view>

#include "button/linux/command_button_gtk.h"
#include "runtime/embedded_data.h"
#include "settings_dialog/settings_dialog.h"

namespace tolvenar::linux_port {

class DialogButton final : public CommandControl {
 public:
  explicit DialogButton(std::unique_ptr<CommandButtonGtk> button) : button_(std::move(button)) {}
  void Initialize() override { button_->Initialize(); }
  // A button that holds the focus hands it to the next control first, while it still reacts, so
  // that its look follows the focus; then it is disabled and takes no input.
  void SetEnabled(bool enabled) override;
  CommandButtonGtk& Button() { return *button_; }

 private:
  std::unique_ptr<CommandButtonGtk> button_;
};

// A button `width` by `height` pixels laid out at `twips_per_pixel`, with a UTF-8 caption in the
// dialog's font, its skins from `embedded` and the pointer's whereabouts from `pointer`;
// `on_click` runs when it is clicked.
std::unique_ptr<DialogButton> MakeDialogButton(int width, int height, double twips_per_pixel,
                                               std::string_view caption, EmbeddedData& embedded,
                                               PointerLocator& pointer,
                                               std::function<void()> on_click);

}  // namespace tolvenar::linux_port
