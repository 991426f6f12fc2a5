# The file browser's folder listing beside a bare readdir of the folder.
add_executable(bench_filebrowser ${CMAKE_CURRENT_LIST_DIR}/filebrowser/FileBrowserBench.cpp
  ${PROJECT_SOURCE_DIR}/src/script/FileBrowser.cpp)
target_include_directories(bench_filebrowser PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bench_filebrowser PRIVATE qkeyvalues benchmark::benchmark)
