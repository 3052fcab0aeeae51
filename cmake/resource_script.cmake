# A module's resource script (dialog templates, string table). On Windows the resource compiler
# builds it into the module's resource section. Elsewhere the module carries the script's text and
# the text of the headers it includes, as an exported table the host finds from the module's
# handle (sim/ui/resource_module_posix.cpp) and reads as the resource compiler would.
if(WIN32)
  enable_language(RC)
endif()

set(QZM_EMBED_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed_resource_script.cmake)

function(qzm_add_resource_script target script)
  get_filename_component(script ${script} ABSOLUTE)
  if(WIN32)
    target_sources(${target} PRIVATE ${script})
    return()
  endif()
  # The headers it includes by quoted name, found beside the file that includes them.
  get_filename_component(script_dir ${script} DIRECTORY)
  get_filename_component(script_name ${script} NAME)
  set(files ${script})
  set(names ${script_name})
  set(pending ${script})
  while(pending)
    list(POP_FRONT pending current)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${current})
    file(STRINGS ${current} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    get_filename_component(current_dir ${current} DIRECTORY)
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" name "${line}")
      set(path ${current_dir}/${name})
      if(EXISTS ${path} AND NOT name IN_LIST names)
        list(APPEND files ${path})
        list(APPEND names ${name})
        list(APPEND pending ${path})
      endif()
    endforeach()
  endwhile()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resource_script.cpp)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${output}" "-DFILES=${files}" "-DNAMES=${names}"
            -P ${QZM_EMBED_RESOURCE_SCRIPT}
    DEPENDS ${files} ${QZM_EMBED_RESOURCE_SCRIPT}
    COMMENT "Embedding resource script ${script_name} in ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
