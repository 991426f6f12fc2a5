# libFuzzer target of the web-page window's address check, held against the
# independent parser of its tests.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(WARNING "fuzz/webaddress.cmake: the libFuzzer targets need clang++; not built")
  return()
endif()

add_executable(fuzz_webaddress ${CMAKE_CURRENT_LIST_DIR}/fuzz_webaddress.cpp
  ${PROJECT_SOURCE_DIR}/src/widgets/WebAddressCheck.cpp)
target_include_directories(fuzz_webaddress PRIVATE
  ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests/webaddress)
target_compile_options(fuzz_webaddress PRIVATE
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
target_link_options(fuzz_webaddress PRIVATE -fsanitize=fuzzer,address,undefined)
