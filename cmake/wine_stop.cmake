# Run by the test "wine.stop" (cmake -P): ends the prefix's server, then the virtual display the run
# had (DISPLAY_NUMBER, when set), whose lock file names its process.
execute_process(COMMAND ${WINESERVER} -k)
if(DISPLAY_NUMBER)
  set(lock /tmp/.X${DISPLAY_NUMBER}-lock)
  if(EXISTS ${lock})
    file(READ ${lock} pid)
    string(STRIP "${pid}" pid)
    if(pid MATCHES "^[0-9]+$")
      execute_process(COMMAND kill ${pid})
    endif()
  endif()
endif()
