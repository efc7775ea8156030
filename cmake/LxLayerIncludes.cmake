# lx_check_layer_includes(<name> [SUBFOLDERS <dir>...] FILES <file>... DEPENDS <layer>...)
#
# Makes the build of lx_<name> fail when one of its files (its sources, and the headers in
# the current source folder and its SUBFOLDERS) includes a header of a layer that <name> does not name in DEPENDS: a layer
# states every layer it includes, and only those. An include "<layer>/..." counts as a
# layer's when <layer> has an include root in the build, so "lx/LxVersion.h" and the
# standard headers do not. Called by lx_add_layer.
set(LX_LAYER_INCLUDES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/LxCheckIncludes.cmake)

function(lx_check_layer_includes name)
  cmake_parse_arguments(ARG "" "" "SUBFOLDERS;FILES;DEPENDS" ${ARGN})
  set(files ${ARG_FILES})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(dir IN LISTS ARG_SUBFOLDERS)
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
  endforeach()
  foreach(pattern IN LISTS patterns)
    file(GLOB headers CONFIGURE_DEPENDS ${pattern})
    list(APPEND files ${headers})
  endforeach()
  list(SORT files)
  string(REPLACE ";" "|" file_list "${files}")
  string(REPLACE ";" "|" depends "${ARG_DEPENDS}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/lx_${name}_includes.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER=${name} -DDEPENDS=${depends} -DFILES=${file_list}
            -DROOTS=${CMAKE_BINARY_DIR}/include -DBASE=${CMAKE_SOURCE_DIR} -DSTAMP=${stamp}
            -P ${LX_LAYER_INCLUDES_SCRIPT}
    DEPENDS ${files} ${LX_LAYER_INCLUDES_SCRIPT}
    COMMENT "Checking the includes of layer ${name}"
    VERBATIM)
  add_custom_target(lx_${name}_includes DEPENDS ${stamp})
  add_dependencies(lx_${name} lx_${name}_includes)
endfunction()
