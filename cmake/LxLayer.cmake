include(LxShared)
include(LxLayerIncludes)

# lx_add_layer(<name> [STATIC] [DEPENDS <layer>...] [LIBRARIES <target>...]
#              [SUBFOLDERS <dir>...] [PROGRAMS <file>...])
#
# Builds the library lx_<name> from every .cpp file in the layer's folder and in
# the SUBFOLDERS named (a layer's rooms; other sub-folders are not part of it),
# less the PROGRAMS: sources with a main(), which the layer's executables take.
# Headers are reached as "<name>/Header.h" through an include root private to
# the layer, so a layer sees exactly the headers of the layers it links: an
# include of an upper layer fails to compile. The library is shared when
# BUILD_SHARED_LIBS is on (cmake/LxShared.cmake), unless STATIC says it is a
# helper of the tools or tests that is never installed.
function(lx_add_layer name)
  cmake_parse_arguments(ARG "STATIC" "" "DEPENDS;LIBRARIES;SUBFOLDERS;PROGRAMS" ${ARGN})
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_SUBFOLDERS)
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
  endforeach()
  file(GLOB sources CONFIGURE_DEPENDS ${patterns})
  foreach(program IN LISTS ARG_PROGRAMS)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${program})
  endforeach()
  # A layer without sources yet is a header-only interface library.
  if(sources)
    if(ARG_STATIC)
      add_library(lx_${name} STATIC ${sources})
    else()
      add_library(lx_${name} ${sources})
    endif()
    lx_set_library_form(lx_${name})
    set(scope PUBLIC)
  else()
    add_library(lx_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  target_include_directories(lx_${name} ${scope} $<BUILD_INTERFACE:${root}>)
  target_compile_features(lx_${name} ${scope} cxx_std_20)
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(lx_${name} ${scope} lx_${dep})
  endforeach()
  if(ARG_LIBRARIES)
    target_link_libraries(lx_${name} ${scope} ${ARG_LIBRARIES})
  endif()
  lx_check_layer_includes(${name} SUBFOLDERS ${ARG_SUBFOLDERS} FILES ${sources}
                          DEPENDS ${ARG_DEPENDS})
endfunction()
