# Display and host-window services of the main object: display-size
# changes, the rectangle transform, web windows, the web-control manager of
# the stand-in host's "Beging.dat" and the input hooks that use them.
file(GLOB DISPLAY_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/display/*.cpp)
add_executable(display_tests ${DISPLAY_TEST_SOURCES})
target_link_libraries(display_tests PRIVATE qgui_core GTest::gtest_main ${CMAKE_DL_LIBS})
target_include_directories(display_tests PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/module ${PROJECT_SOURCE_DIR}/host/beging)
target_compile_definitions(display_tests PRIVATE QHOST_BEGING_PATH="$<TARGET_FILE:beging>")
add_dependencies(display_tests beging)
gtest_discover_tests(display_tests DISCOVERY_TIMEOUT 60)
