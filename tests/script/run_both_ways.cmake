# Runs SCRIPT in qzmhost twice in WORKDIR (with an empty out/ folder each time): with compiled texts
# kept by shape and errors travelling as values, then with every text parsed anew and every error
# thrown. Both runs must print the same, byte for byte.
foreach(mode 1 0)
  set(ENV{QZM_SCRIPT_SHAPE_CACHE} ${mode})
  set(ENV{QZM_SCRIPT_ERROR_VALUES} ${mode})
  file(REMOVE_RECURSE ${WORKDIR}/out)
  file(MAKE_DIRECTORY ${WORKDIR}/out)
  execute_process(
    COMMAND ${HOST} --plugins ${PLUGINS} ${SCRIPT}
    WORKING_DIRECTORY ${WORKDIR}
    OUTPUT_VARIABLE out_${mode}
    ERROR_VARIABLE err_${mode}
    RESULT_VARIABLE status_${mode}
    TIMEOUT 300)
  set(run_${mode} "${out_${mode}}--- stderr\n${err_${mode}}--- exit ${status_${mode}}\n")
endforeach()
if(NOT run_1 STREQUAL run_0)
  file(WRITE ${WORKDIR}/kept.txt "${run_1}")
  file(WRITE ${WORKDIR}/parsed.txt "${run_0}")
  message(FATAL_ERROR "The fast and the plain runtime printed differently: see ${WORKDIR}/kept.txt and parsed.txt")
endif()
if(NOT status_1 EQUAL 0)
  message(FATAL_ERROR "${SCRIPT} failed:\n${run_1}")
endif()
