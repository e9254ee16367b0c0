# The Windows build: Tolvenar.scr cross-built by mingw-w64 (the windows preset's toolchain), its
# tests run through Wine.
if(NOT WIN32)
  message(FATAL_ERROR "The win32 platform is the mingw-w64 cross build: configure the windows preset")
endif()
# One file that runs on any Windows: the mingw runtime linked in, nothing beyond system DLLs imported.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
# The label make test, CI and the scripts select the Wine-run tests by.
set(TOLVENAR_TEST_LABEL wine)
