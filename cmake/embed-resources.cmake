# cmake -DOUTPUT=<file.cpp> -DSCRIPTS=<a.rc|b.rc> -P embed-resources.cmake
# Writes every RCDATA item of the resource scripts as a C++ table (name, bytes) for the Linux
# program, which has no resource section. Paths in the scripts are relative to the script.
string(REPLACE "|" ";" SCRIPTS "${SCRIPTS}")
set(items "")
set(table "")
set(index 0)
foreach(script ${SCRIPTS})
  get_filename_component(folder ${script} DIRECTORY)
  file(STRINGS ${script} lines REGEX "^[A-Z_0-9]+[ \t]+RCDATA[ \t]+\"")
  foreach(line ${lines})
    string(REGEX MATCH "^([A-Z_0-9]+)[ \t]+RCDATA[ \t]+\"([^\"]+)\"" _ "${line}")
    set(name ${CMAKE_MATCH_1})
    get_filename_component(path "${CMAKE_MATCH_2}" ABSOLUTE BASE_DIR ${folder})
    file(READ ${path} hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND items "const unsigned char item${index}[] = {${bytes}};\n")
    string(APPEND table "    {\"${name}\", std::string_view(reinterpret_cast<const char*>(item${index}), ${size})},\n")
    math(EXPR index "${index} + 1")
  endforeach()
endforeach()
file(WRITE ${OUTPUT}.new "// Made by cmake/embed-resources.cmake from the resource scripts; not edited by hand.
#include \"runtime/linux/embedded_data_linux.h\"

namespace tolvenar::linux_port {
namespace {
${items}}  // namespace

const std::vector<EmbeddedItem>& EmbeddedItems() {
  static const std::vector<EmbeddedItem> items = {
${table}  };
  return items;
}

}  // namespace tolvenar::linux_port
")
file(RENAME ${OUTPUT}.new ${OUTPUT})
