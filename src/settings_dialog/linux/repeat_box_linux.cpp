#include "settings_dialog/linux/repeat_box_linux.h"

#include "runtime/linux/text_cp932.h"

namespace tolvenar::linux_port {
namespace {

// The theme's paddings and minimum heights would make the box taller than the dialog places it.
std::string BoxStyle(int font_pixels) {
  const std::string font = "font-family: IPAGothic, \"Noto Sans CJK JP\", monospace; font-size: " +
                           std::to_string(font_pixels) + "px;";
  return "combobox entry, combobox button { min-height: 0; min-width: 0; margin: 0; "
         "padding-top: 0; padding-bottom: 0; border-radius: 0; }\n"
         "combobox entry { padding-left: 2px; padding-right: 2px; " +
         font +
         " }\n"
         "combobox button { padding-left: 1px; padding-right: 1px; }\n"
         "menuitem, menuitem label { min-height: 0; padding-top: 0; padding-bottom: 0; " +
         font + " }";
}

void AddStyle(GtkWidget* widget, GtkCssProvider* css) {
  gtk_style_context_add_provider(gtk_widget_get_style_context(widget), GTK_STYLE_PROVIDER(css),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer data) {
          AddStyle(child, static_cast<GtkCssProvider*>(data));
        },
        css);
  }
}

}  // namespace

GtkRepeatBox::GtkRepeatBox(int width, int height, int font_pixels)
    : combo_(gtk_combo_box_text_new_with_entry()) {
  g_object_ref_sink(combo_);
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, BoxStyle(font_pixels).c_str(), -1, nullptr);
  AddStyle(combo_, css);
  g_object_unref(css);
  gtk_entry_set_width_chars(entry(), 1);
  gtk_widget_set_size_request(combo_, width, height);
}

GtkRepeatBox::~GtkRepeatBox() { g_object_unref(combo_); }

GtkEntry* GtkRepeatBox::entry() const { return GTK_ENTRY(gtk_bin_get_child(GTK_BIN(combo_))); }

void GtkRepeatBox::SetEnabled(bool enabled) { gtk_widget_set_sensitive(combo_, enabled); }

// A character the code page has no byte for reads as "?", as the platform's narrowing gives it.
std::string GtkRepeatBox::Text() {
  const std::string text = gtk_entry_get_text(entry());
  if (const std::optional<std::string> bytes = Utf8ToCp932(text)) return *bytes;
  return "?";
}

void GtkRepeatBox::SetText(const std::string& text) {
  gtk_entry_set_text(entry(), Cp932ToUtf8(text).value_or("").c_str());
}

void GtkRepeatBox::AddItem(const std::string& item) {
  gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo_),
                                 Cp932ToUtf8(item).value_or("").c_str());
}

}  // namespace tolvenar::linux_port
