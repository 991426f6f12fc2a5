# Installs the build tree into a scratch prefix, builds the host project of
# installed/ against that prefix alone, and runs the host with the module
# the package names. Run with cmake -P and:
#   BUILD_DIR  the build tree to install
#   WORK_DIR   a scratch folder (emptied first)
#   CXX        the C++ compiler; CXX_FLAGS its extra flags
#   BUILD_TYPE the build type of the host project
cmake_minimum_required(VERSION 3.16)
foreach(var BUILD_DIR WORK_DIR CXX BUILD_TYPE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

function(step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "failed (${result}): ${command}")
  endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
# Only the package's own search path: nothing of the build tree is offered.
step(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/installed -B ${WORK_DIR}/build
     -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF
     -DCMAKE_CXX_COMPILER=${CXX} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
     -DCMAKE_BUILD_TYPE=${BUILD_TYPE})
step(${CMAKE_COMMAND} --build ${WORK_DIR}/build --target run_minimal_host)
