# The stand-in host: its services (qhostlib), the web-control module
# Beging.dat, the demo scene, the qhost program, and the resource root the
# program runs on, assembled at build time in ${CMAKE_BINARY_DIR}/root.

set(QHOST_DIR ${CMAKE_CURRENT_LIST_DIR})
set(QHOST_ROOT_DIR ${CMAKE_BINARY_DIR}/root)
set(QHOST_FONT_SOURCE /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
    CACHE FILEPATH "DejaVuSans.ttf of Debian's fonts-dejavu-core, copied into the resource root")

# Image files and PNG output (no GUI library).
add_library(qhostimage STATIC ${QHOST_DIR}/HostImage.cpp)
target_include_directories(qhostimage PUBLIC ${QHOST_DIR})
target_link_libraries(qhostimage PUBLIC PNG::PNG)

# The host services: render interface, engine client, factories, clock,
# module session, event scripts.
add_library(qhostlib STATIC
  ${QHOST_DIR}/HostRender.cpp
  ${QHOST_DIR}/HostEngineClient.cpp
  ${QHOST_DIR}/HostFactories.cpp
  ${QHOST_DIR}/HostSession.cpp
  ${QHOST_DIR}/HostWebPages.cpp
  ${QHOST_DIR}/EventScript.cpp)
# Like any host, it is built against include/ and the platform library
# (KeyValues, code pages, the screen size) alone.
target_include_directories(qhostlib PUBLIC ${QHOST_DIR} ${QHOST_DIR}/beging ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(qhostlib PUBLIC qhostimage qhostfs qplatform ${CMAKE_DL_LIBS})

# The web-control module, loaded by the module through the host file system.
add_library(beging SHARED ${QHOST_DIR}/beging/Beging.cpp)
target_include_directories(beging PRIVATE ${PROJECT_SOURCE_DIR}/include ${QHOST_DIR}/beging)
set_target_properties(beging PROPERTIES
  PREFIX "" OUTPUT_NAME "Beging" SUFFIX ".dat"
  LIBRARY_OUTPUT_DIRECTORY ${QHOST_ROOT_DIR})

# The demonstration scene: the one part of the host over the GUI library.
add_library(qhostdemo STATIC ${QHOST_DIR}/demo_scene.cpp)
target_include_directories(qhostdemo PUBLIC ${QHOST_DIR})
target_link_libraries(qhostdemo PUBLIC PkgConfig::CEGUI)

# Draws the sample style's texture.
add_executable(make_sample_art ${QHOST_DIR}/make_sample_art.cpp)
target_link_libraries(make_sample_art PRIVATE qhostimage)

# The resource root: resource/UI from the source tree, the generated
# texture, the font and Beging.dat.
if(NOT EXISTS ${QHOST_FONT_SOURCE})
  message(WARNING "${QHOST_FONT_SOURCE} is missing (apt-get install fonts-dejavu-core); "
                  "the resource root cannot be assembled")
endif()
set(QHOST_UI_DIR ${QHOST_ROOT_DIR}/resource/UI)
add_custom_command(OUTPUT ${QHOST_UI_DIR}/fonts/DejaVuSans.ttf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QHOST_UI_DIR}/fonts
  COMMAND ${CMAKE_COMMAND} -E copy ${QHOST_FONT_SOURCE} ${QHOST_UI_DIR}/fonts/DejaVuSans.ttf
  DEPENDS ${QHOST_FONT_SOURCE}
  COMMENT "Copying DejaVuSans.ttf into the resource root")
add_custom_command(OUTPUT ${QHOST_UI_DIR}/imagesets/QXLook.tga
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QHOST_UI_DIR}/imagesets
  COMMAND make_sample_art ${QHOST_UI_DIR}/imagesets/QXLook.tga
  DEPENDS make_sample_art
  COMMENT "Drawing QXLook.tga")
# resource/UI and resource/game are mirrored at every build (no file list
# is kept at configure time, so new files need no new configuration).
add_custom_target(qhost_root ALL
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/resource/UI -DTARGET=${QHOST_UI_DIR}
          -DKEEP=fonts/DejaVuSans.ttf,imagesets/QXLook.tga -P ${QHOST_DIR}/cmake/MirrorResources.cmake
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}/resource/game -DTARGET=${QHOST_ROOT_DIR}/game
          -P ${QHOST_DIR}/cmake/MirrorResources.cmake
  DEPENDS ${QHOST_UI_DIR}/fonts/DejaVuSans.ttf
          ${QHOST_UI_DIR}/imagesets/QXLook.tga
  VERBATIM)
add_dependencies(qhost_root beging)

# The program.
add_executable(qhost ${QHOST_DIR}/qhost_main.cpp)
target_link_libraries(qhost PRIVATE qhostlib qhostdemo)
add_dependencies(qhost qhost_root)
