# libFuzzer targets of the KeyValues text reader and the code-page tools.
# The platform and KeyValues sources are compiled into each fuzzer, so that
# they carry the coverage and sanitizer instrumentation too.
file(GLOB QKV_FUZZ_PUBLIC_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/public/*.cpp)
set(QKV_FUZZ_PLATFORM_SOURCES
  ${PROJECT_SOURCE_DIR}/platform/tier0.cpp
  ${PROJECT_SOURCE_DIR}/platform/keyvaluessystem.cpp
  ${PROJECT_SOURCE_DIR}/platform/utlbuffer.cpp
  ${PROJECT_SOURCE_DIR}/platform/codepage.cpp
  ${PROJECT_SOURCE_DIR}/platform/directory.cpp)

foreach(fuzzer fuzz_keyvalues_reader fuzz_codepage)
  add_executable(${fuzzer} ${CMAKE_CURRENT_LIST_DIR}/${fuzzer}.cpp
    ${QKV_FUZZ_PUBLIC_SOURCES} ${QKV_FUZZ_PLATFORM_SOURCES})
  target_include_directories(${fuzzer} PRIVATE
    ${PROJECT_SOURCE_DIR}/platform ${PROJECT_SOURCE_DIR}/include ${PROJECT_SOURCE_DIR}/src/public)
  target_compile_definitions(${fuzzer} PRIVATE QPLATFORM_BUILD)
  qgui_fuzzer(${fuzzer})
endforeach()
