#include "settings_dialog/win32/repeat_box_win32.h"

#include <algorithm>

#include "runtime/win32/text_encoding.h"
#include "settings_dialog/win32/focus_win32.h"

namespace tolvenar::win32 {
namespace {

constexpr int kRepeatBoxId = 100;
constexpr int kListPixels = 200;  // height of the dropped-down list

}  // namespace

std::unique_ptr<Win32ComboBox> Win32ComboBox::Create(HWND parent, const RECT& box, HFONT font) {
  HWND combo = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, box.left,
      box.top, box.right - box.left, kListPixels, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kRepeatBoxId)), GetModuleHandleW(nullptr),
      nullptr);
  if (!combo) return nullptr;
  auto created = std::make_unique<Win32ComboBox>(combo);
  created->Relayout(box, font);
  return created;
}

void Win32ComboBox::Relayout(const RECT& box, HFONT font) {
  MoveWindow(hwnd_, box.left, box.top, box.right - box.left, kListPixels, TRUE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  // The edit field takes the listed height; the list items keep the font's.
  SendMessageW(hwnd_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
               std::max<LPARAM>(1, (box.bottom - box.top) - 6));
}

// Like the buttons, the box hands the focus on before it is disabled: the focus sits in its edit
// field, a child that disabling the box leaves holding it.
void Win32ComboBox::SetEnabled(bool enabled) {
  if (!enabled) HandFocusOnBeforeDisabling(hwnd_);
  EnableWindow(hwnd_, enabled);
}

std::string Win32ComboBox::Text() {
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Narrow(text, CP_ACP);
}

void Win32ComboBox::SetText(const std::string& text) {
  SetWindowTextW(hwnd_, Widen(text, CP_ACP).c_str());
}

void Win32ComboBox::AddItem(const std::string& item) {
  const std::wstring text = Widen(item, CP_ACP);
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace tolvenar::win32
