# tolvenar: the native Linux saver.
add_executable(tolvenar main_linux.cpp)
target_compile_options(tolvenar PRIVATE ${TOLVENAR_WARNINGS})
target_link_libraries(tolvenar PRIVATE runtime_linux)
foreach(subsystem ${TOLVENAR_SUBSYSTEMS})
  target_link_libraries(tolvenar PRIVATE ${subsystem})
  if(TARGET ${subsystem}_emulation)
    target_link_libraries(tolvenar PRIVATE ${subsystem}_emulation)
  endif()
  # The dialog and its buttons stand on GTK: they go into the settings program only.
  if(TARGET ${subsystem}_linux AND NOT subsystem MATCHES "^(button|settings_dialog)$")
    target_link_libraries(tolvenar PRIVATE ${subsystem}_linux)
  endif()
endforeach()
# The saver window on Wayland, beside X11's in the same program.
target_link_libraries(tolvenar PRIVATE scene_wayland)

# tolvenar-settings: the settings dialog, a program of its own beside the saver, which runs it for
# --settings; so the saver's start does not pay for loading GTK's libraries.
add_executable(tolvenar-settings main_settings_linux.cpp)
target_compile_options(tolvenar-settings PRIVATE ${TOLVENAR_WARNINGS})
target_link_libraries(tolvenar-settings PRIVATE startup_settings_linux)
add_dependencies(tolvenar tolvenar-settings)

# Installed as XScreenSaver's hacks are: the program in the hack folder (not the libexec folder,
# which packaging tools may point at a multiarch folder), its description for XScreenSaver's
# settings, an entry for MATE's screen saver and a menu entry for the settings dialog.
include(GNUInstallDirs)
set(TOLVENAR_HACKDIR "libexec/xscreensaver" CACHE STRING
    "Folder of XScreenSaver's hacks, under the install prefix unless absolute")
install(TARGETS tolvenar tolvenar-settings RUNTIME DESTINATION ${TOLVENAR_HACKDIR})
if(IS_ABSOLUTE ${TOLVENAR_HACKDIR})
  set(TOLVENAR_PROGRAM_PATH ${TOLVENAR_HACKDIR}/tolvenar)
else()
  set(TOLVENAR_PROGRAM_PATH ${CMAKE_INSTALL_PREFIX}/${TOLVENAR_HACKDIR}/tolvenar)
endif()
# On the PATH too, for the user's own commands (--settings, --register-xscreensaver): a link.
file(RELATIVE_PATH program_from_bin ${CMAKE_INSTALL_FULL_BINDIR} ${TOLVENAR_PROGRAM_PATH})
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin)
file(CREATE_LINK ${program_from_bin} ${CMAKE_CURRENT_BINARY_DIR}/bin/tolvenar SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/bin/tolvenar DESTINATION ${CMAKE_INSTALL_BINDIR})
set(packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
configure_file(${packaging}/tolvenar.desktop.in tolvenar.desktop @ONLY)
configure_file(${packaging}/tolvenar-settings.desktop.in tolvenar-settings.desktop @ONLY)
install(FILES ${packaging}/tolvenar.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tolvenar.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tolvenar-settings.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The manual page, in the screen savers' section.
install(FILES ${packaging}/tolvenar.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The menus' icon: the settings dialog's icon picture as a PNG file.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(icon ${CMAKE_CURRENT_BINARY_DIR}/tolvenar.png)
add_custom_command(OUTPUT ${icon}
  COMMAND ${Python3_EXECUTABLE} ${packaging}/icon_png.py
          ${PROJECT_SOURCE_DIR}/assets/dialog/tolvenar.ico ${icon}
  DEPENDS ${packaging}/icon_png.py ${PROJECT_SOURCE_DIR}/assets/dialog/tolvenar.ico
  COMMENT "Making the menu icon" VERBATIM)
add_custom_target(tolvenar_icon ALL DEPENDS ${icon})
install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
