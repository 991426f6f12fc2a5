# The file browser and the platform's file search and drive walk under it,
# over temporary folder trees.
file(GLOB FILEBROWSER_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/filebrowser/*.cpp)
add_executable(filebrowser_tests ${FILEBROWSER_TEST_SOURCES}
  ${PROJECT_SOURCE_DIR}/src/script/FileBrowser.cpp)
target_include_directories(filebrowser_tests PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(filebrowser_tests PRIVATE qkeyvalues GTest::gtest_main)
gtest_discover_tests(filebrowser_tests DISCOVERY_TIMEOUT 60)
