# The rich-text engine: markup loop, layout, document, blocks and parsers
# against a fixed-width font and recording stand-ins of the main object and
# the host's texture manager.
file(GLOB QGUI_RICHTEXT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/richtext/*.cpp)
add_executable(richtext_tests ${QGUI_RICHTEXT_TEST_SOURCES})
target_include_directories(richtext_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/richtext)
target_link_libraries(richtext_tests PRIVATE qgui_core GTest::gtest_main)
gtest_discover_tests(richtext_tests DISCOVERY_TIMEOUT 60)
