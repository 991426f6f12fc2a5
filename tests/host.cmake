# Tests of the stand-in host: rasteriser, texture files, PNG output,
# factories, engine client, clock, web-control module, sample style.
file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/host/*Test.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE qhostlib GTest::gtest_main PNG::PNG ${CMAKE_DL_LIBS})
target_include_directories(host_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/host)
target_compile_definitions(host_tests PRIVATE
  QHOST_BEGING_PATH="$<TARGET_FILE:beging>"
  QHOST_SOURCE_UI="${PROJECT_SOURCE_DIR}/resource/UI"
  QHOST_ROOT_DIR="${CMAKE_BINARY_DIR}/root") # assembled by qhost_root
add_dependencies(host_tests beging qhost_root)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60)

# The built module inside the stand-in host, checked by the pixels it draws
# and, with the sample scripts and events, by the messages the game gets.
# Each test needs a process of its own (one GUI system per process), which
# ctest gives it.
if(TARGET qgui)
  add_executable(host_e2e_tests
    ${CMAKE_CURRENT_LIST_DIR}/host/EndToEnd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/ScriptedEndToEnd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/host/CharacterPanelEndToEnd.cpp)
  target_link_libraries(host_e2e_tests PRIVATE qhostlib qhostdemo GTest::gtest_main)
  target_compile_definitions(host_e2e_tests PRIVATE
    QHOST_MODULE_PATH="$<TARGET_FILE:qgui>"
    QHOST_ROOT_DIR="${CMAKE_BINARY_DIR}/root")
  add_dependencies(host_e2e_tests qgui qhost_root)
  gtest_discover_tests(host_e2e_tests DISCOVERY_TIMEOUT 60)
endif()
