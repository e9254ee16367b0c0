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

# tolvenar_library(<name> [WIN32|LINUX] SOURCES ... [DEPS ...]): platform-neutral code, built for
# every preset; with WIN32 a Win32 back end, built only for Windows; with LINUX a native Linux back
# end, built only by the linux preset.
function(tolvenar_library name)
  cmake_parse_arguments(ARG "WIN32;LINUX" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_WIN32 AND NOT TOLVENAR_WIN32 OR ARG_LINUX AND NOT TOLVENAR_LINUX)
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

# tolvenar_test(<name> [WINE|LINUX] SOURCES ... [DEPS ...]): a GoogleTest executable, one ctest
# test. By default of the core against fakes (native preset only); with WINE cross-built with mingw
# and run by ctest through Wine, where every process start is costly, so one executable is one
# ctest test; with LINUX a test of the Linux back end (linux preset), run on the test display.
function(tolvenar_test name)
  cmake_parse_arguments(ARG "WINE;LINUX" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_WINE)
    set(wanted ${TOLVENAR_WIN32})
  elseif(ARG_LINUX)
    set(wanted ${TOLVENAR_LINUX})
  else()
    set(wanted ${TOLVENAR_NATIVE})
  endif()
  if(NOT wanted)
    return()
  endif()
  if(ARG_WINE)
    set(gtest gmock gtest_main)
  else()
    set(gtest GTest::gmock GTest::gtest_main)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${gtest})
  add_test(NAME ${name} COMMAND ${name})
  if(ARG_WINE)
    set_tests_properties(${name} PROPERTIES LABELS wine)
  elseif(ARG_LINUX)
    set_tests_properties(${name} PROPERTIES LABELS linux)
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

# tolvenar_e2e_test(<name> <script>): a Python end-to-end test of the real Tolvenar.scr under Wine + Xvfb.
function(tolvenar_e2e_test name script)
  if(NOT TOLVENAR_WIN32)
    return()
  endif()
  add_test(NAME ${name}
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-wine python3 -m unittest -v ${script}
           WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/tests/e2e)
  set_tests_properties(${name} PROPERTIES LABELS e2e
    ENVIRONMENT "TOLVENAR_SCR=$<TARGET_FILE:Tolvenar>;TOLVENAR_PROBE=$<TARGET_FILE:winprobe>;TOLVENAR_BUILD=${CMAKE_BINARY_DIR};LOCPATH=${TOLVENAR_LOCPATH}")
endfunction()
