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

# zupfari_show_to_users(<target> <dir>): the target's users (and, for a
# library with sources, the target itself) find headers in <dir>.
function(zupfari_show_to_users target dir)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${dir})
  else()
    target_include_directories(${target} PUBLIC ${dir})
  endif()
endfunction()

# zupfari_expose_folder(<target> <folder>): the target's users see exactly the
# headers of <folder> (as "<folder>/name.h") and nothing else of the source
# tree. Each folder's target exposes only itself; what a target may include is
# therefore its own folder plus the folders of the targets it links, so an
# include of a higher layer fails to compile.
function(zupfari_expose_folder target folder)
  set(root ${CMAKE_BINARY_DIR}/include/${folder})
  if(NOT EXISTS ${root}/${folder})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  zupfari_show_to_users(${target} ${root})
endfunction()

# zupfari_expose_headers(<target> <header>...): the target's users see exactly
# the listed headers (paths in the source tree, "folder/name.h") and no other
# header of their folders: a library shows its public headers only.
function(zupfari_expose_headers target)
  set(root ${CMAKE_BINARY_DIR}/include-public/${target})
  foreach(header ${ARGN})
    get_filename_component(dir ${root}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    if(NOT EXISTS ${root}/${header})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${header} ${root}/${header} SYMBOLIC)
    endif()
  endforeach()
  zupfari_show_to_users(${target} ${root})
endfunction()

# zupfari_folder_library(<name> <folder> LINKS <targets...>): the static
# library of one folder of the program, linking only the layers below it.
# The folder's CMakeLists adds its sources with target_sources().
function(zupfari_folder_library name folder)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  add_library(${name} STATIC)
  zupfari_expose_folder(${name} ${folder})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS})
endfunction()
