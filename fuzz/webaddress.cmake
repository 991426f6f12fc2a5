# libFuzzer target of the web-page window's address check, held against the
# independent parser of its tests.
add_executable(fuzz_webaddress ${CMAKE_CURRENT_LIST_DIR}/fuzz_webaddress.cpp
  ${PROJECT_SOURCE_DIR}/src/widgets/WebAddressCheck.cpp)
target_include_directories(fuzz_webaddress PRIVATE
  ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/webaddress)
qgui_fuzzer(fuzz_webaddress)
