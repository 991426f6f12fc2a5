# The rich-text engine beside the GUI library's own markup parser and word
# wrapper, and its mouse hit test beside the library's window hit test.
pkg_check_modules(CEGUINULL_BENCH REQUIRED IMPORTED_TARGET CEGUI-0-NULL)
add_executable(bench_richtext ${CMAKE_CURRENT_LIST_DIR}/richtext/RichTextBench.cpp)
target_include_directories(bench_richtext PRIVATE ${PROJECT_SOURCE_DIR}/tests/richtext)
target_link_libraries(bench_richtext PRIVATE qgui_core benchmark::benchmark PkgConfig::CEGUINULL_BENCH)
