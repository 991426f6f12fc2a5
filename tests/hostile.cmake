# The built module driven as hostile hosts and scripts drive it: the
# stand-in host loads libqgui.so over a copy of the resource root that holds
# the hostile scripts, and checks that every misuse is answered and the
# sample interface keeps working. One GUI system per process: ctest runs
# each test in a process of its own.
if(TARGET qgui)
  file(GLOB HOSTILE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/hostile/*.cpp)
  add_executable(hostile_tests ${HOSTILE_TEST_SOURCES})
  target_include_directories(hostile_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/hostile)
  target_link_libraries(hostile_tests PRIVATE qhostlib PkgConfig::CEGUI GTest::gtest_main)
  target_compile_definitions(hostile_tests PRIVATE
    QHOST_MODULE_PATH="$<TARGET_FILE:qgui>"
    QHOST_ROOT_DIR="${CMAKE_BINARY_DIR}/root"
    QHOSTILE_SCRIPT_DIR="${CMAKE_CURRENT_LIST_DIR}/hostile/scripts")
  add_dependencies(hostile_tests qgui qhost_root)
  gtest_discover_tests(hostile_tests DISCOVERY_TIMEOUT 60)
endif()
