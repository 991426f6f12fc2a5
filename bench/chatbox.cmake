# Pushing into a 500-line chat box and drawing, beside appending to a stock
# multi-line edit box of the same lines; idle frames of both.
add_executable(bench_chatbox ${CMAKE_CURRENT_LIST_DIR}/chatbox/ChatBoxBench.cpp)
target_include_directories(bench_chatbox PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_chatbox PRIVATE qgui_core benchmark::benchmark)
target_compile_definitions(bench_chatbox PRIVATE BENCH_FONT_PATH="${QHOST_FONT_SOURCE}")
