#pragma once
// The file chooser's filter as the program writes it for the platform's open-file request: pairs
// of a shown name and a ";"-separated list of patterns, each ended by a NUL, the list by a second
// NUL. A chooser that matches patterns by case takes each one spelled for both cases.
#include <string>
#include <string_view>
#include <vector>

namespace tolvenar {

struct FileFilter {
  std::string name;                   // bytes as the request has them
  std::vector<std::string> patterns;  // "*.MP3"
};

// The pairs in order; a name without its pattern list is left out.
std::vector<FileFilter> ParseFileFilter(std::string_view filter);

// "*.MP3" -> "*.[Mm][Pp]3": each ASCII letter matches either case.
std::string CaseInsensitivePattern(std::string_view pattern);

}  // namespace tolvenar
