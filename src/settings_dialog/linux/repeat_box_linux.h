#pragma once
// The repeat field: a combo box with an entry that takes any text (scrolling when it is longer
// than the field) and a drop-down list. Its texts are code page 932 bytes to the core.
#include <gtk/gtk.h>

#include <memory>
#include <string>

#include "settings_dialog/controls.h"

namespace tolvenar::linux_port {

class GtkRepeatBox final : public EditableComboBox {
 public:
  // A box `width` by `height` pixels whose entry and list draw in a `font_pixels`-pixel Gothic.
  GtkRepeatBox(int width, int height, int font_pixels);
  GtkRepeatBox(const GtkRepeatBox&) = delete;
  GtkRepeatBox& operator=(const GtkRepeatBox&) = delete;
  ~GtkRepeatBox() override;

  GtkWidget* widget() const { return combo_; }
  GtkEntry* entry() const;

  void SetEnabled(bool enabled) override;
  std::string Text() override;
  void SetText(const std::string& text) override;
  void AddItem(const std::string& item) override;

 private:
  GtkWidget* combo_;
};

}  // namespace tolvenar::linux_port
