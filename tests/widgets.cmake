# Tests of the game widgets and their foundation over the module's renderer,
# with a recording render interface and a fake game (tests/widgets/
# WidgetHarness.h).
file(GLOB WIDGET_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/widgets/*.cpp)
add_executable(widget_tests ${WIDGET_TEST_SOURCES})
target_link_libraries(widget_tests PRIVATE qgui_core GTest::gtest_main)
target_include_directories(widget_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/widgets ${CMAKE_CURRENT_LIST_DIR}/module)
gtest_discover_tests(widget_tests DISCOVERY_TIMEOUT 60)
# The widget reference the reference test reads.
target_compile_definitions(widget_tests PRIVATE QGUI_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
