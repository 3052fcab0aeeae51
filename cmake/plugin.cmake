# A plug-in is a loadable module with the host's file ending ("dlo", "dlt", "dlx"), placed in the
# host's plug-in folder. It links against the host library only; its entry points are the only
# symbols it exports.
function(qzm_add_plugin name ending)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".${ending}"
    LIBRARY_OUTPUT_DIRECTORY ${QZM_PLUGIN_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${QZM_PLUGIN_DIR}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    BUILD_RPATH "$ORIGIN/.."
    INSTALL_RPATH "$ORIGIN/..")
  target_link_libraries(${name} PRIVATE qzm::host)
  # What the deliverables know of each other's classes (common/qzm_classes.h).
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/common)
  qzm_warnings(${name})
endfunction()
