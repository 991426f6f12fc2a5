# Panels from a 50-window layout of the sample style and a 20-key message,
# each beside the bare GUI library (Null renderer, its own resource
# provider) or tree-building peer.
add_executable(bench_panels ${CMAKE_CURRENT_LIST_DIR}/panels/PanelBench.cpp)
target_include_directories(bench_panels PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_panels PRIVATE qgui_core PkgConfig::CEGUI_NULL benchmark::benchmark)
target_compile_definitions(bench_panels PRIVATE QHOST_ROOT_DIR="${CMAKE_BINARY_DIR}/root")
add_dependencies(bench_panels qhost_root)
