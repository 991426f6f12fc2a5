# The web-page window against the stand-in host's recording web controls
# ("Beging.dat"), over the widget harness (tests/widgets/WidgetHarness.h).
file(GLOB HTMLWINDOW_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/htmlwindow/*.cpp)
add_executable(htmlwindow_tests ${HTMLWINDOW_TEST_SOURCES})
target_link_libraries(htmlwindow_tests PRIVATE qgui_core GTest::gtest_main ${CMAKE_DL_LIBS})
target_include_directories(htmlwindow_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/widgets
  ${CMAKE_CURRENT_LIST_DIR}/module ${PROJECT_SOURCE_DIR}/host/beging)
target_compile_definitions(htmlwindow_tests PRIVATE QHOST_BEGING_PATH="$<TARGET_FILE:beging>")
add_dependencies(htmlwindow_tests beging)
gtest_discover_tests(htmlwindow_tests DISCOVERY_TIMEOUT 60)
