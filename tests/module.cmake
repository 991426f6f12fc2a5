# Unit tests of the module's own code, against recording host stand-ins.
file(GLOB MODULE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/module/*.cpp)
add_executable(module_tests ${MODULE_TEST_SOURCES})
target_link_libraries(module_tests PRIVATE qgui_core GTest::gtest_main)
target_include_directories(module_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/module)
gtest_discover_tests(module_tests DISCOVERY_TIMEOUT 60)
