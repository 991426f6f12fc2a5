# Typing into the chat edit box and taking its encoded text, beside a stock
# edit box of the GUI library typed the same.
add_executable(bench_textinput ${CMAKE_CURRENT_LIST_DIR}/textinput/TextInputBench.cpp)
target_include_directories(bench_textinput PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_textinput PRIVATE qgui_core benchmark::benchmark)
target_compile_definitions(bench_textinput PRIVATE BENCH_FONT_PATH="${QHOST_FONT_SOURCE}")
