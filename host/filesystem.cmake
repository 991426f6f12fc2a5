# The stand-in host's file system ("FileSystem001").
add_library(qhostfs STATIC ${CMAKE_CURRENT_LIST_DIR}/HostFileSystem.cpp)
target_include_directories(qhostfs PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/include)
target_link_libraries(qhostfs PUBLIC ${CMAKE_DL_LIBS})
