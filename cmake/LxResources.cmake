# lx_add_resource(<target> TYPE <type> NAME <name> FILE <file>)
#
# Links <file> into <target> as the resource <type>/<name> of the program's
# resource registry (platform/Resources.h). The bytes are included by the
# assembler, so large files cost no generated source; the object is rebuilt
# when the file changes. Add resources to executables, not static libraries,
# whose unreferenced objects the linker would drop.
#
# These functions serve the build of Lx and, installed with its CMake package,
# every program that uses it: they take the package's targets (Lx::platform,
# Lx::lxform, ...) where those exist, else the build's own.

# lx_target_of(<name> <build name> <variable>): Lx::<name> in a program using the
# package, <build name> in the build of Lx.
function(lx_target_of name build_name variable)
  if(TARGET Lx::${name})
    set(${variable} Lx::${name} PARENT_SCOPE)
  else()
    set(${variable} ${build_name} PARENT_SCOPE)
  endif()
endfunction()

function(lx_add_resource target)
  cmake_parse_arguments(ARG "" "TYPE;NAME;FILE" "" ${ARGN})
  if(NOT ARG_TYPE OR NOT ARG_NAME OR NOT ARG_FILE)
    message(FATAL_ERROR "lx_add_resource: TYPE, NAME and FILE are required")
  endif()
  get_filename_component(file ${ARG_FILE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  string(MAKE_C_IDENTIFIER "${target}_${ARG_TYPE}_${ARG_NAME}" symbol)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/resources/${symbol}.cpp)
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Resource.cpp.in ${source} @ONLY)
  set_source_files_properties(${source} PROPERTIES OBJECT_DEPENDS ${file})
  target_sources(${target} PRIVATE ${source})
  lx_target_of(platform lx_platform platform)
  target_link_libraries(${target} PRIVATE ${platform})
endfunction()
