# Script system, message parsers and the script module, over a headless GUI
# system (CEGUI's Null renderer).
pkg_check_modules(CEGUINULL REQUIRED IMPORTED_TARGET CEGUI-0-NULL)
file(GLOB QGUI_SCRIPT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/script/*.cpp)
add_executable(script_tests ${QGUI_SCRIPT_TEST_SOURCES})
target_include_directories(script_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/script)
target_link_libraries(script_tests PRIVATE qgui_core GTest::gtest_main PkgConfig::CEGUINULL)
gtest_discover_tests(script_tests DISCOVERY_TIMEOUT 60)
