# Small helpers shared by the folders' CMakeLists.

# zupfari_export_only(<target> <version-script>): a shared library exports
# exactly the symbols its linker version script names, nothing else.
function(zupfari_export_only target script)
  target_link_options(${target} PRIVATE
    "LINKER:--version-script=${script}" "LINKER:--no-undefined")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
  set_target_properties(${target} PROPERTIES
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
