# A host built from include/ and the platform library alone (no other
# include path, no internal library): it loads the built module, starts it,
# trades KeyValues messages with it both ways and shuts it down.
if(TARGET qgui)
  get_target_property(QHOSTABI_PLATFORM_INCLUDES qplatform INTERFACE_INCLUDE_DIRECTORIES)
  if(NOT QHOSTABI_PLATFORM_INCLUDES STREQUAL "${PROJECT_SOURCE_DIR}/include")
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
endif()
