#pragma once
// A profile (INI) file on the standard library alone, read and written the way the platform's
// GetPrivateProfileStringA / WritePrivateProfileStringA do it, so that files stay interchangeable.
//
// Names and values are bytes (code page 932 text): names are matched without regard to ASCII case,
// the two bytes of a double-byte character exactly; a value cut to the buffer never ends in half a
// double-byte character. Lines are split at any run of CR and LF; blanks
// (tab, LF, VT, FF, CR, ^Z, space) around lines, names and values are dropped; a line that opens
// with
// "[" and holds a "]" starts a section named by the bytes between "[" and the last "]"; any other
// line is an entry, "name=value" or a bare name (comments are bare names). Only the first section
// of a name and its first entry of a name count. Writing rewrites the whole file from what was
// read: blank lines go, every entry keeps its place, lines end in CR LF. The new content goes to a
// temporary file beside the old one, which is then renamed over it, so the file is either the old
// one or the new one, never a part.
#include <cstdint>

#include "runtime/profile_file.h"

namespace tolvenar {

class IniProfileFile final : public ProfileFile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& default_value, std::size_t buffer_size,
                        const std::string& file) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& file) override;
};

// Files larger than this are not read: reads give the default and writes fail, leaving them alone.
inline constexpr std::uintmax_t kLargestProfileFile = 32u << 20;

}  // namespace tolvenar
