# Value texts and percent bars over the module's renderer beside stock
# static texts and progress bars: idle frames and refreshes of one object.
add_executable(bench_gamedata ${CMAKE_CURRENT_LIST_DIR}/gamedata/GameDataBench.cpp)
target_include_directories(bench_gamedata PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_gamedata PRIVATE qgui_core benchmark::benchmark)
target_compile_definitions(bench_gamedata PRIVATE BENCH_FONT_PATH="${QHOST_FONT_SOURCE}")
