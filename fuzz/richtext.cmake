# libFuzzer target of the rich-text engine: arbitrary markup through parse,
# layout, drawing and hit testing. It links the module's core objects, which
# this build instruments for coverage as well.
target_compile_options(qgui_core PRIVATE -fsanitize=fuzzer-no-link)
add_executable(fuzz_richtext ${CMAKE_CURRENT_LIST_DIR}/fuzz_richtext.cpp)
target_include_directories(fuzz_richtext PRIVATE ${PROJECT_SOURCE_DIR}/tests/richtext)
target_link_libraries(fuzz_richtext PRIVATE qgui_core)
qgui_fuzzer(fuzz_richtext)
