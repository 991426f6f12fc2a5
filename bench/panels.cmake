# Panels from a 50-window layout and a 20-key message, each beside the bare
# GUI library or tree-building peer.
add_executable(bench_panels ${CMAKE_CURRENT_LIST_DIR}/panels/PanelBench.cpp)
target_include_directories(bench_panels PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_panels PRIVATE qgui_core benchmark::benchmark)
