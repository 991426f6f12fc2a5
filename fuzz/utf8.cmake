# libFuzzer target of the module's UTF-8 decoder, held against glibc's
# iconv. The decoder's source is compiled into the fuzzer, so that it
# carries the coverage and sanitizer instrumentation too.
add_executable(fuzz_utf8 ${CMAKE_CURRENT_LIST_DIR}/fuzz_utf8.cpp
  ${PROJECT_SOURCE_DIR}/src/render/GuiString.cpp)
target_include_directories(fuzz_utf8 PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(fuzz_utf8 PRIVATE PkgConfig::CEGUI)
qgui_fuzzer(fuzz_utf8)
