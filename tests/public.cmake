# Tests of the KeyValues tree and text format, the string and code-page
# tools, the platform stand-ins they use and the host file system.
file(GLOB PUBLIC_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/public/*.cpp)
add_library(public_test_module MODULE ${CMAKE_CURRENT_LIST_DIR}/public/module/TestModule.cpp)
add_executable(public_tests ${PUBLIC_TEST_SOURCES})
target_link_libraries(public_tests PRIVATE qkeyvalues qhostfs GTest::gtest_main)
target_include_directories(public_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/public)
target_compile_definitions(public_tests PRIVATE TEST_MODULE_PATH="$<TARGET_FILE:public_test_module>")
add_dependencies(public_tests public_test_module)
gtest_discover_tests(public_tests DISCOVERY_TIMEOUT 60)
