# lx_add_string_table(<target> FILE <table> NAME <TableName> HEADER <path>
#                     [NAMESPACE <namespace>])
#
# Compiles a table of resource strings (format in StringTableCompiler.cpp) at
# build time. The header <path> (included as "<path>") declares one
# resource-string record per string, named as in the table, in <namespace>
# (default: lx), and `Register<TableName>()`. The texts become string-table
# resources of the program: an executable's table is registered before main;
# a static library registers its table by calling `Register<TableName>()`
# before the first look-up, since the linker drops objects nobody refers to.
function(lx_add_string_table target)
  cmake_parse_arguments(ARG "" "FILE;NAME;HEADER;NAMESPACE" "" ${ARGN})
  if(NOT ARG_FILE OR NOT ARG_NAME OR NOT ARG_HEADER)
    message(FATAL_ERROR "lx_add_string_table: FILE, NAME and HEADER are required")
  endif()
  if(NOT ARG_NAMESPACE)
    set(ARG_NAMESPACE lx)
  endif()
  get_filename_component(table ${ARG_FILE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_CURRENT_BINARY_DIR}/stringtables/${ARG_NAME})
  set(header ${root}/include/${ARG_HEADER})
  set(source ${root}/${ARG_NAME}.cpp)
  lx_target_of(stringtable lx_stringtable compiler)
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND ${compiler} ${table} ${header} ${source} ${ARG_NAME} ${ARG_NAMESPACE} ${ARG_HEADER}
    DEPENDS ${compiler} ${table}
    COMMENT "Compiling the string table ${ARG_FILE}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source} ${header})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(scope PRIVATE)
  else()
    set(scope PUBLIC)
  endif()
  target_include_directories(${target} ${scope} $<BUILD_INTERFACE:${root}/include>)
  # The install rules copy generated headers from here (cmake/LxInstall.cmake).
  set_property(TARGET ${target} APPEND PROPERTY LX_GENERATED_INCLUDE_ROOTS ${root}/include)
  lx_target_of(framework lx_framework framework)
  if(NOT target STREQUAL "lx_framework")
    target_link_libraries(${target} ${scope} ${framework})
  endif()
endfunction()
