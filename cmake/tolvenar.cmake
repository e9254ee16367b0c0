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

# tolvenar_core_library(<name> SOURCES ... [DEPS ...]): platform-neutral code, built natively and for Windows.
function(tolvenar_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
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

# tolvenar_win32_library(<name> SOURCES ... [DEPS ...]): a Win32 back end; only in the Windows build.
function(tolvenar_win32_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TOLVENAR_WIN32)
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  tolvenar_publish_headers(${name})
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tolvenar_native_test(<name> SOURCES ... [DEPS ...]): GoogleTest of the core against fakes (host build only).
function(tolvenar_native_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(TOLVENAR_WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# tolvenar_wine_test(<name> SOURCES ... [DEPS ...]): GoogleTest cross-built with mingw and run by ctest
# through Wine. Every Wine process start is costly, so one executable is one ctest test.
function(tolvenar_wine_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TOLVENAR_WIN32)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE ${TOLVENAR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} gmock gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS wine)
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
