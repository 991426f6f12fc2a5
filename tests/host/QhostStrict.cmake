# Runs the built qhost with --strict and checks its exit status and the
# counts of error and warning lines it reports for the GUI log:
#   cmake -DQHOST=<qhost> -DMODULE=<libqgui.so> -DROOT=<resource root>
#         -DFRAMES=<n> [-DSCRIPT=<file>] [-DEVENTS=<file>]
#         -DEXPECT_STATUS=<n> -DEXPECT_ERRORS=<n> -DEXPECT_WARNINGS=<n>
#         -P QhostStrict.cmake
# in the folder the run's GUI log is to be written to.
set(arguments --module ${MODULE} --root ${ROOT} --frames ${FRAMES} --out out --strict)
if(SCRIPT)
  list(APPEND arguments --script ${SCRIPT})
endif()
if(EVENTS)
  list(APPEND arguments --events ${EVENTS})
endif()
execute_process(COMMAND ${QHOST} ${arguments}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status STREQUAL EXPECT_STATUS)
  message(FATAL_ERROR "qhost exited with ${status}, not ${EXPECT_STATUS}:\n${errors}")
endif()
if(NOT output MATCHES "gained ${EXPECT_ERRORS} error lines? and ${EXPECT_WARNINGS} warnings?\n")
  message(FATAL_ERROR "qhost did not report ${EXPECT_ERRORS} error lines and ${EXPECT_WARNINGS} warnings:\n"
                      "${output}\n${errors}")
endif()
