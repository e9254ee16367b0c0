add_executable(bench_reference WIN32 reference.cpp)
target_compile_options(bench_reference PRIVATE ${TOLVENAR_WARNINGS})
target_link_libraries(bench_reference PRIVATE scene_win32 scene)
