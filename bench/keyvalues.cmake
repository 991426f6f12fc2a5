# Reading a 10 MB KeyValues text against reading the same tree as JSON.
add_executable(bench_keyvalues ${CMAKE_CURRENT_LIST_DIR}/bench_keyvalues.cpp)
target_link_libraries(bench_keyvalues PRIVATE qkeyvalues benchmark::benchmark)
