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

# qhost as a script author's check: with --strict, a run whose GUI log
# gained error or warning lines exits with 1 (an event script calls a script
# global that does not exist; another hands the chat an unknown tag), and
# the sample's own run, as the main job runs it, exits with 0. Each runs in a folder of its own, where its GUI log goes;
# the sample's sees the resource root's files where the main job's does.
if(TARGET qgui)
  set(QHOST_STRICT_ROOT ${CMAKE_BINARY_DIR}/root) # assembled by qhost_root
  foreach(run error warning sample)
    file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/qhost_strict_${run})
  endforeach()
  foreach(run warning sample)
    file(CREATE_LINK ${QHOST_STRICT_ROOT}/resource ${CMAKE_CURRENT_BINARY_DIR}/qhost_strict_${run}/resource SYMBOLIC)
  endforeach()
  set(QHOST_STRICT_COMMAND ${CMAKE_COMMAND} -DQHOST=$<TARGET_FILE:qhost> -DMODULE=$<TARGET_FILE:qgui>
      -DROOT=${QHOST_STRICT_ROOT})
  add_test(NAME Qhost.StrictRunWithAScriptErrorExitsWithOne
           COMMAND ${QHOST_STRICT_COMMAND} -DFRAMES=2 -DEVENTS=${CMAKE_CURRENT_LIST_DIR}/host/strict_error.events
                   -DEXPECT_STATUS=1 -DEXPECT_ERRORS=1 -DEXPECT_WARNINGS=0
                   -P ${CMAKE_CURRENT_LIST_DIR}/host/QhostStrict.cmake
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/qhost_strict_error)
  add_test(NAME Qhost.StrictRunWithAWarningExitsWithOne
           COMMAND ${QHOST_STRICT_COMMAND} -DFRAMES=3 -DSCRIPT=main.lua
                   -DEVENTS=${CMAKE_CURRENT_LIST_DIR}/host/strict_warning.events
                   -DEXPECT_STATUS=1 -DEXPECT_ERRORS=0 -DEXPECT_WARNINGS=1
                   -P ${CMAKE_CURRENT_LIST_DIR}/host/QhostStrict.cmake
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/qhost_strict_warning)
  add_test(NAME Qhost.StrictSampleRunLogsNoErrorAndExitsWithZero
           COMMAND ${QHOST_STRICT_COMMAND} -DFRAMES=80 -DSCRIPT=main.lua
                   -DEVENTS=${QHOST_STRICT_ROOT}/resource/UI/events/sample.events
                   -DEXPECT_STATUS=0 -DEXPECT_ERRORS=0 -DEXPECT_WARNINGS=0
                   -P ${CMAKE_CURRENT_LIST_DIR}/host/QhostStrict.cmake
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/qhost_strict_sample)
endif()
