# A frame of advancing game progress bars beside stock progress bars set by
# hand to the same values, through the module's renderer.
add_executable(bench_progressbar ${CMAKE_CURRENT_LIST_DIR}/progressbar/ProgressBarBench.cpp)
target_include_directories(bench_progressbar PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
target_link_libraries(bench_progressbar PRIVATE qgui_core benchmark::benchmark)
