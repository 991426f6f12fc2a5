# The web-page window's address check beside the plain suffix search it
# replaces.
add_executable(bench_webaddress ${CMAKE_CURRENT_LIST_DIR}/webaddress/WebAddressBench.cpp
  ${PROJECT_SOURCE_DIR}/src/widgets/WebAddressCheck.cpp)
target_include_directories(bench_webaddress PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(bench_webaddress PRIVATE benchmark::benchmark)
