# Tolvenar.scr: the one program file. Each subsystem's win32/ folder may carry a .rc file with the
# pictures it embeds (resources are named, so the files cannot collide); program.rc holds what
# belongs to the file as a whole (its name string, version and manifest).
file(GLOB TOLVENAR_RESOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*/win32/*.rc)
list(APPEND TOLVENAR_RESOURCES ${CMAKE_CURRENT_SOURCE_DIR}/program.rc)
enable_language(RC)
# windres reads the pictures itself: make each resource script depend on them, or an updated
# picture would not reach the program until a clean build.
file(GLOB_RECURSE TOLVENAR_ASSETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*)
set_source_files_properties(${TOLVENAR_RESOURCES} PROPERTIES OBJECT_DEPENDS
                            "${TOLVENAR_ASSETS};${CMAKE_CURRENT_SOURCE_DIR}/program.manifest")
add_executable(Tolvenar WIN32 main.cpp ${TOLVENAR_RESOURCES})
set_target_properties(Tolvenar PROPERTIES OUTPUT_NAME Tolvenar SUFFIX .scr)
target_compile_options(Tolvenar PRIVATE ${TOLVENAR_WARNINGS})
# The shipped file carries no symbols or debug sections (the static thread library brings some).
target_link_options(Tolvenar PRIVATE $<$<CONFIG:Release>:-s>)
target_link_libraries(Tolvenar PRIVATE runtime_win32 startup)
foreach(subsystem ${TOLVENAR_SUBSYSTEMS})
  target_link_libraries(Tolvenar PRIVATE ${subsystem})
  if(TARGET ${subsystem}_win32)
    target_link_libraries(Tolvenar PRIVATE ${subsystem}_win32)
  endif()
endforeach()
