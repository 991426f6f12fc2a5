# Game widgets over the module's renderer beside stock windows, and the main
# object's text drawing beside the GUI library's own.
add_executable(bench_widgets ${CMAKE_CURRENT_LIST_DIR}/widgets/WidgetBench.cpp)
target_include_directories(bench_widgets PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_widgets PRIVATE qgui_core benchmark::benchmark)
target_compile_definitions(bench_widgets PRIVATE BENCH_FONT_PATH="${QHOST_FONT_SOURCE}")
