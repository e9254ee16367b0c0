#include "runtime/win32/text_encoding.h"

namespace tolvenar::win32 {

std::wstring Widen(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, text.data(), length);
  return text;
}

std::string Narrow(std::wstring_view text, UINT code_page) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::optional<std::string> NarrowExactly(std::wstring_view text, UINT code_page) {
  if (text.empty()) return std::string();
  // UTF-8 holds every character, and the function takes no flags for it (a system whose ANSI
  // code page is UTF-8 among them).
  if ((code_page == CP_ACP ? GetACP() : code_page) == CP_UTF8) return Narrow(text, CP_UTF8);
  const int size = static_cast<int>(text.size());
  BOOL used_default = FALSE;
  const int length = WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, text.data(), size,
                                         nullptr, 0, nullptr, &used_default);
  if (length <= 0 || used_default) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), length,
                      nullptr, &used_default);
  if (used_default) return std::nullopt;
  return bytes;
}

}  // namespace tolvenar::win32
