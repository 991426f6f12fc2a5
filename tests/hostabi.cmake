# A host built from include/ and the platform library alone (no other
# include path, no internal library): it loads the built module, starts it,
# trades KeyValues messages with it both ways and shuts it down.
if(TARGET qgui)
  get_target_property(QHOSTABI_PLATFORM_INCLUDES qplatform INTERFACE_INCLUDE_DIRECTORIES)
  if(NOT QHOSTABI_PLATFORM_INCLUDES STREQUAL "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>")
    message(FATAL_ERROR "The platform library must offer a host include/ alone, "
                        "not: ${QHOSTABI_PLATFORM_INCLUDES}")
  endif()
  add_executable(hostabi_minimal_host ${CMAKE_CURRENT_LIST_DIR}/hostabi/MinimalHost.cpp)
  target_link_libraries(hostabi_minimal_host PRIVATE qplatform ${CMAKE_DL_LIBS})
  add_dependencies(hostabi_minimal_host qgui)
  # The module writes its log into the working directory.
  set(QHOSTABI_RUN_DIR ${CMAKE_CURRENT_BINARY_DIR}/hostabi)
  file(MAKE_DIRECTORY ${QHOSTABI_RUN_DIR})
  add_test(NAME HostAbi.MinimalHostTradesMessagesWithTheModule
           COMMAND hostabi_minimal_host $<TARGET_FILE:qgui>
           WORKING_DIRECTORY ${QHOSTABI_RUN_DIR})

  # The same host built once more as a game team builds it: against the tree
  # that `cmake --install` makes, found through the package configuration.
  set(QHOSTABI_HOST_FLAGS "")
  if(QGUI_SANITIZE)
    set(QHOSTABI_HOST_FLAGS "-fsanitize=address,undefined -fno-omit-frame-pointer")
  endif()
  add_test(NAME HostAbi.MinimalHostBuildsAndRunsAgainstTheInstalledTree
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
                   -DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/hostabi-installed
                   -DCXX=${CMAKE_CXX_COMPILER} "-DCXX_FLAGS=${QHOSTABI_HOST_FLAGS}"
                   -DBUILD_TYPE=${CMAKE_BUILD_TYPE}
                   -P ${CMAKE_CURRENT_LIST_DIR}/hostabi/InstalledHost.cmake)
endif()
