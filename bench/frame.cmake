# Frames of one interface through the GUI library's Null renderer and
# through the module's renderer over a counting host, with the limit case
# and the heap allocations per frame.
file(GLOB QGUI_FRAME_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/frame/*.cpp)
add_executable(bench_frame ${QGUI_FRAME_BENCH_SOURCES})
target_link_libraries(bench_frame PRIVATE qgui_core PkgConfig::CEGUI_NULL benchmark::benchmark)
target_include_directories(bench_frame PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_compile_definitions(bench_frame PRIVATE QHOST_ROOT_DIR="${CMAKE_BINARY_DIR}/root")
add_dependencies(bench_frame qhost_root)
