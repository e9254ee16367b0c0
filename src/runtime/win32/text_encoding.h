#pragma once
// Conversions between the platform's wide text and byte texts of a given code page (CP_UTF8 for the
// program's fixed captions, CP_ACP for paths and INI values, 932 for Shift-JIS literals).
#include <windows.h>

#include <string>
#include <string_view>

namespace tolvenar::win32 {

std::wstring Widen(std::string_view bytes, UINT code_page = CP_UTF8);
std::string Narrow(std::wstring_view text, UINT code_page = CP_UTF8);

}  // namespace tolvenar::win32
