# Run by the test "wine.prefix" (cmake -P) with WINE and WINESERVER set and WINEPREFIX in the
# environment: starts a wineserver that stays until the test "wine.stop" ends it (or a minute after
# its last program, should that test never run), then makes the prefix ready. Without a server that
# stays, Wine starts one for each program, which keeps the test's output pipe open for seconds after
# the program ended.
#
# The server comes first, so that wineboot uses it; one that already runs answers with an error and
# stays, which is as good. Neither may hold a pipe of ours: the server and the programs wineboot
# starts go on running.
#
# With XVFB and DISPLAY_NUMBER set, the virtual display every test has as DISPLAY starts first (unless
# it runs already), so that the desktop process Wine starts for the prefix has a display that lasts.
if(XVFB)
  set(socket /tmp/.X11-unix/X${DISPLAY_NUMBER})
  if(NOT EXISTS ${socket})
    execute_process(COMMAND sh -c "'${XVFB}' :${DISPLAY_NUMBER} -nolisten tcp -screen 0 1280x1024x24 </dev/null >/dev/null 2>&1 &")
    foreach(i RANGE 100)
      if(EXISTS ${socket})
        break()
      endif()
      execute_process(COMMAND sleep 0.1)
    endforeach()
  endif()
  if(NOT EXISTS ${socket})
    message(FATAL_ERROR "the virtual display :${DISPLAY_NUMBER} did not start")
  endif()
endif()
execute_process(COMMAND ${WINESERVER} -p60
  INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null)
execute_process(COMMAND ${WINE} wineboot --init
  INPUT_FILE /dev/null OUTPUT_FILE /dev/null ERROR_FILE /dev/null RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "wineboot --init failed (${status})")
endif()
