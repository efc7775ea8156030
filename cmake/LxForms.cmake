# lx_add_form(<target> FILE <form.lxfm> [NAME <resource name>])
#
# Compiles the text form <form.lxfm> into a binary form stream with lxform (a tool of this
# build) and links it into <target> as an RCDATA resource named after the form's root class,
# upper-cased (NAME overrides the name). The root class is read from the form's first line,
# "object Name: TClass" or "inherited Name: TClass"; CMake configures again when the file
# changes, so a renamed class renames the resource.
function(lx_add_form target)
  cmake_parse_arguments(ARG "" "FILE;NAME" "" ${ARGN})
  if(NOT ARG_FILE)
    message(FATAL_ERROR "lx_add_form: FILE is required")
  endif()
  get_filename_component(source ${ARG_FILE} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  if(ARG_NAME)
    set(name ${ARG_NAME})
  else()
    set(header_pattern
        "^[ \t]*(object|inherited|inline)[ \t]+([A-Za-z_][A-Za-z0-9_]*[ \t]*:[ \t]*)?[A-Za-z_][A-Za-z0-9_.]*")
    file(STRINGS ${source} header LIMIT_COUNT 1 REGEX "${header_pattern}")
    if(NOT header)
      message(FATAL_ERROR "lx_add_form: ${ARG_FILE} does not start with an object")
    endif()
    string(REGEX REPLACE "^.*[ \t:]([A-Za-z_][A-Za-z0-9_.]*)[ \t]*(\\[.*)?$" "\\1" class "${header}")
    string(TOUPPER ${class} name)
  endif()
  get_filename_component(stem ${ARG_FILE} NAME_WE)
  lx_target_of(lxform lxform lxform)
  set(binary ${CMAKE_CURRENT_BINARY_DIR}/forms/${target}/${stem}.bin)
  add_custom_command(
    OUTPUT ${binary}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/forms/${target}
    COMMAND ${lxform} --to-binary ${source} -o ${binary}
    DEPENDS ${lxform} ${source}
    COMMENT "Compiling form ${ARG_FILE}"
    VERBATIM)
  target_sources(${target} PRIVATE ${binary})
  set_source_files_properties(${binary} PROPERTIES HEADER_FILE_ONLY TRUE)
  lx_add_resource(${target} TYPE RCDATA NAME ${name} FILE ${binary})
endfunction()

# lx_add_language_module_form(<target>): links the form resource "TDMLG" of the frame's language
# data module into <target>; every program that calls frame::LanguageSetup needs it (without
# it the program runs untranslated, and frame::LanguageModuleFormLinked() is false).
function(lx_add_language_module_form target)
  get_property(form GLOBAL PROPERTY LX_LANGUAGE_MODULE_FORM)
  if(NOT form)
    message(FATAL_ERROR "lx_add_language_module_form: the frame's form is not known")
  endif()
  lx_add_form(${target} FILE ${form})
endfunction()
