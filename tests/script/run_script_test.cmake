# Runs one script with qzmhost and compares what it printed with the expected text: standard
# output, then (when there is any) a line "--- stderr" and standard error, then "--- exit N" when
# the host did not end with 0. EMULATOR, when set, runs a host built for another system (Wine).
execute_process(
  COMMAND ${EMULATOR} ${HOST} --plugins ${PLUGINS} ${SCRIPT}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status
  TIMEOUT 300)  # a hang fails; sanitizer builds on a busy machine take minutes for the long scripts
if(EMULATOR)
  # Windows programs and their command interpreter end lines with CR LF.
  string(REGEX REPLACE "\r+\n" "\n" out "${out}")
  string(REGEX REPLACE "\r+\n" "\n" err "${err}")
endif()
# Error places name the script file by the path it was run with: the expected texts name it by its
# file name alone, wherever the sources are.
get_filename_component(script_name ${SCRIPT} NAME)
string(REPLACE "filename: ${SCRIPT};" "filename: ${script_name};" err "${err}")
set(actual "${out}")
if(NOT err STREQUAL "")
  string(APPEND actual "--- stderr\n${err}")
endif()
if(NOT status EQUAL 0)
  string(APPEND actual "--- exit ${status}\n")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${WORKDIR}/actual.txt "${actual}")
  message(FATAL_ERROR "Output differs from ${EXPECTED}\n--- actual:\n${actual}\n--- expected:\n${expected}")
endif()
