#pragma once
// Conversions between the platform's wide text and byte texts of a given code page (CP_UTF8 for the
// program's fixed captions, CP_ACP for paths and INI values, 932 for Shift-JIS literals).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tolvenar::win32 {

std::wstring Widen(std::string_view bytes, UINT code_page = CP_UTF8);
std::string Narrow(std::wstring_view text, UINT code_page = CP_UTF8);
// The text in `code_page` character for character: nullopt when a character has no byte form
// there, where Narrow would put a look-alike ("e" for "é") or "?".
std::optional<std::string> NarrowExactly(std::wstring_view text, UINT code_page);

}  // namespace tolvenar::win32
