# What a game team takes: `cmake --install <build> --prefix <P>` puts the
# host ABI headers under P/include/qgui, the platform library under P/lib
# and the interface module under P/lib/qgui, with a package configuration
# that a host's own CMake project reads with find_package(QGUI):
#   QGUI::qplatform - the platform library with the host ABI headers, which
#                     a host links;
#   QGUI_MODULE     - the full path of libqgui.so, which a host loads.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QGUI_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/qgui)
set(QGUI_INSTALL_MODULEDIR ${CMAKE_INSTALL_LIBDIR}/qgui)
set(QGUI_INSTALL_CONFIGDIR ${CMAKE_INSTALL_LIBDIR}/cmake/QGUI)

install(TARGETS qplatform EXPORT QGUITargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${QGUI_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION ${QGUI_INSTALL_INCLUDEDIR})
# The installed module finds the platform library beside its own folder when
# it is loaded before the host has loaded that library.
set_target_properties(qgui PROPERTIES INSTALL_RPATH "$ORIGIN/..")
install(TARGETS qgui LIBRARY DESTINATION ${QGUI_INSTALL_MODULEDIR})

install(EXPORT QGUITargets NAMESPACE QGUI:: DESTINATION ${QGUI_INSTALL_CONFIGDIR})
set(QGUI_MODULE_FILE ${QGUI_INSTALL_MODULEDIR}/libqgui.so)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/QGUIConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QGUIConfig.cmake
  INSTALL_DESTINATION ${QGUI_INSTALL_CONFIGDIR}
  PATH_VARS QGUI_MODULE_FILE)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QGUIConfig.cmake DESTINATION ${QGUI_INSTALL_CONFIGDIR})
