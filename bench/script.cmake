# One typed call of a Lua global through the script system, beside the same
# call made with the plain Lua C API.
file(GLOB QGUI_SCRIPT_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/script/*.cpp)
add_executable(bench_script ${QGUI_SCRIPT_BENCH_SOURCES})
target_link_libraries(bench_script PRIVATE qgui_core benchmark::benchmark)
target_include_directories(bench_script PRIVATE ${PROJECT_SOURCE_DIR}/tests/module)
