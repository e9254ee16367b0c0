# Helpers that keep the subsystem CMakeLists files short and alike.

# A target sees the headers of exactly the libraries it links, so a missing dependency fails the
# build instead of hiding behind a shared include path. Each library publishes its own folder's
# headers ("runtime/x.h", "scene/win32/y.h") through an include root of its own under
# build/includes/, filled at configure time with links to its headers only.
function(tolvenar_publish_headers target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" "_" root_name ${folder})
  set(root ${CMAKE_BINARY_DIR}/includes/${root_name})
  file(REMOVE_RECURSE ${root})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    file(MAKE_DIRECTORY ${root}/${folder})
    file(CREATE_LINK ${header} ${root}/${folder}/${name} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# tolvenar_folder_platform(<variable>): the platform whose folder the calling CMake file lives in
# (src/<subsystem>/<platform>/..., tests/<platform>/...), or empty for platform-neutral code.
function(tolvenar_folder_platform variable)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  string(REPLACE "/" ";" parts "${folder}")
  set(platform "")
  foreach(part ${parts})
    if(part IN_LIST TOLVENAR_PLATFORMS)
      set(platform ${part})
    endif()
  endforeach()
  set(${variable} "${platform}" PARENT_SCOPE)
endfunction()

# tolvenar_subsystem(<name> [DEPS ...]): the subsystem of this folder: its platform-neutral
# library <name> from the folder's sources, built for every preset; then the folder's emulation/
# (what re-creates Windows' services for the other platforms, library <name>_emulation, also built
# for every preset), the halves several platforms share that the selected platform uses
# (TOLVENAR_SHARED_HALVES, set by cmake/platforms/<platform>.cmake: the GL device's gl/) and the
# selected platform's folder, each with its own CMakeLists.txt.
function(tolvenar_subsystem name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  tolvenar_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
  foreach(folder emulation ${TOLVENAR_SHARED_HALVES} ${TOLVENAR_PLATFORM})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

# tolvenar_library(<name> SOURCES ... [DEPS ...]): a static library (an interface library while it
# has headers only). One in a platform's folder is built only when that platform is selected.
function(tolvenar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  tolvenar_folder_platform(platform)
  if(platform AND NOT platform STREQUAL TOLVENAR_PLATFORM)
    return()
  endif()
  if(NOT ARG_SOURCES)  # headers only, so far
    add_library(${name} INTERFACE)
    tolvenar_publish_headers(${name})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  tolvenar_publish_headers(${name})
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tolvenar_test(<name> SOURCES ... [DEPS ...]): a GoogleTest executable, one ctest test. Outside a
# platform's folder, a test of the core against fakes (the native preset only); in tests/<platform>/,
# a test of that platform's back end, built only when it is selected and labelled for it. A cross
# build runs it through its emulator (Wine), where every process start is costly, so one executable
# is one ctest test.
function(tolvenar_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  tolvenar_folder_platform(platform)
  if(platform AND NOT platform STREQUAL TOLVENAR_PLATFORM OR NOT platform AND NOT TOLVENAR_NATIVE)
    return()
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(gtest gmock gtest_main)
  else()
    set(gtest GTest::gmock GTest::gtest_main)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${gtest})
  add_test(NAME ${name} COMMAND ${name})
  if(platform)
    set_tests_properties(${name} PROPERTIES LABELS ${TOLVENAR_TEST_LABEL})
  endif()
endfunction()

# tolvenar_reproducible_assets(<generator> <folder>): a native test that runs the generator into a
# fresh folder and finds exactly the committed files of <folder>, byte for byte.
function(tolvenar_reproducible_assets generator folder)
  add_test(NAME ${generator}_reproduces_assets
           COMMAND ${CMAKE_COMMAND} -DGENERATOR=$<TARGET_FILE:${generator}>
                   -DOUTPUT=${CMAKE_CURRENT_BINARY_DIR}/regenerated -DCOMMITTED=${folder}
                   -P ${PROJECT_SOURCE_DIR}/cmake/reproduce.cmake)
endfunction()
