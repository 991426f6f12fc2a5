# The web-page window's address check, a pure unit, against a table of
# addresses and an independent, browser-like parser.
file(GLOB WEBADDRESS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/webaddress/*.cpp)
add_executable(webaddress_tests ${WEBADDRESS_TEST_SOURCES}
  ${PROJECT_SOURCE_DIR}/src/widgets/WebAddressCheck.cpp)
target_include_directories(webaddress_tests PRIVATE
  ${PROJECT_SOURCE_DIR}/src ${CMAKE_CURRENT_LIST_DIR}/webaddress)
target_link_libraries(webaddress_tests PRIVATE GTest::gtest_main)
gtest_discover_tests(webaddress_tests DISCOVERY_TIMEOUT 60)
