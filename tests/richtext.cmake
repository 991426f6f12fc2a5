# The rich-text engine: markup loop, layout, document, blocks and parsers
# against a fixed-width font and recording stand-ins of the main object and
# the host's texture manager.
file(GLOB QGUI_RICHTEXT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/richtext/*.cpp)
add_executable(richtext_tests ${QGUI_RICHTEXT_TEST_SOURCES})
target_include_directories(richtext_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/richtext)
target_link_libraries(richtext_tests PRIVATE qgui_core GTest::gtest_main)
gtest_discover_tests(richtext_tests DISCOVERY_TIMEOUT 60)

# The engine inside a started module over recording host stand-ins, with a
# real font. One test per process, as ctest runs them.
file(GLOB QGUI_RICHTEXT_GUI_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/richtext/gui/*.cpp)
add_executable(richtext_gui_tests ${QGUI_RICHTEXT_GUI_TEST_SOURCES})
target_include_directories(richtext_gui_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/richtext ${CMAKE_CURRENT_LIST_DIR}/module)
target_link_libraries(richtext_gui_tests PRIVATE qgui_core GTest::gtest_main)
gtest_discover_tests(richtext_gui_tests DISCOVERY_TIMEOUT 60)
