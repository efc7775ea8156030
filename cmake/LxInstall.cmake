# Install rules: what another project needs to use Lx.
#
#   <prefix>/include/lx/<layer>/...   the public headers, layer by layer (include as
#                                     "dict/LxBinDic.h" with <prefix>/include/lx on the path);
#                                     a layer's internal/ headers are not installed
#   <prefix>/lib/liblx_<layer>.a      the libraries (liblx_<layer>.so.<version> with LX_SHARED)
#   <prefix>/bin/lxform, lxpld, lxpo  the tools, and their man pages
#   <prefix>/lib/cmake/Lx/            the CMake package: find_package(Lx 0.1 CONFIG) gives
#                                     Lx::platform ... Lx::frame, Lx::screen, the tools
#                                     Lx::lxform, Lx::lxpld, Lx::lxpo and the functions
#                                     lx_add_form, lx_add_resource, lx_add_string_table and
#                                     lx_add_language_module_form
#   <prefix>/lib/pkgconfig/lx.pc      the same for pkg-config; lx-screen.pc for the screen layer
#   <prefix>/share/lx/forms/          the frame's language data module form
#   <prefix>/share/doc/lx/            the documentation the tools' help points to
include(CMakePackageConfigHelpers)

set(LX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/lx)
set(LX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lx)
set(LX_INSTALL_FORMSDIR ${CMAKE_INSTALL_DATADIR}/lx/forms)
set(LX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/lx)
set(LX_LICENSE "MIT")

# The layers another project links, lowest first; screen needs GTK 3 and has a .pc of its own.
set(LX_PUBLIC_LAYERS platform framework lang dict translator frame screen)

# Programs built with the sanitizers need their run-time when they link our libraries.
if(LX_SANITIZE)
  set(LX_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all)
  target_link_options(lx_platform INTERFACE ${LX_SANITIZER_FLAGS})
endif()

set(lx_pc_libs "")
foreach(layer IN LISTS LX_PUBLIC_LAYERS)
  if(NOT TARGET lx_${layer})
    continue()
  endif()
  set_target_properties(lx_${layer} PROPERTIES EXPORT_NAME ${layer})
  target_include_directories(lx_${layer} INTERFACE $<INSTALL_INTERFACE:${LX_INSTALL_INCLUDEDIR}>)
  install(TARGETS lx_${layer} EXPORT LxTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${layer}/ DESTINATION ${LX_INSTALL_INCLUDEDIR}/${layer}
          FILES_MATCHING PATTERN "*.h" PATTERN "internal" EXCLUDE)
  get_target_property(generated lx_${layer} LX_GENERATED_INCLUDE_ROOTS)
  if(generated)
    foreach(root IN LISTS generated)
      install(DIRECTORY ${root}/ DESTINATION ${LX_INSTALL_INCLUDEDIR})
    endforeach()
  endif()
  # Highest layer first, as a static link wants them.
  if(NOT layer STREQUAL "screen")
    string(PREPEND lx_pc_libs "-llx_${layer} ")
  endif()
endforeach()

foreach(tool lxform lxpld lxpo)
  set_target_properties(${tool} PROPERTIES INSTALL_RPATH "${LX_PROGRAM_RPATH}")
  install(TARGETS ${tool} EXPORT LxTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${CMAKE_SOURCE_DIR}/man/${tool}.1.in ${CMAKE_BINARY_DIR}/man/${tool}.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/${tool}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# lx_add_string_table's compiler, run by the build of a program.
set_target_properties(lx_stringtable PROPERTIES EXPORT_NAME stringtable)
install(TARGETS lx_stringtable EXPORT LxTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/lx)

install(EXPORT LxTargets NAMESPACE Lx:: DESTINATION ${LX_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LxConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/LxConfig.cmake
                              INSTALL_DESTINATION ${LX_INSTALL_CMAKEDIR}
                              PATH_VARS LX_INSTALL_FORMSDIR)
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/LxConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/LxConfig.cmake ${CMAKE_BINARY_DIR}/LxConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/LxResources.cmake ${CMAKE_CURRENT_LIST_DIR}/LxForms.cmake
              ${CMAKE_CURRENT_LIST_DIR}/LxStringTables.cmake
              ${CMAKE_CURRENT_LIST_DIR}/Resource.cpp.in
        DESTINATION ${LX_INSTALL_CMAKEDIR})
install(FILES ${CMAKE_SOURCE_DIR}/frame/dmLanguages.lxfm DESTINATION ${LX_INSTALL_FORMSDIR})

string(JOIN " " lx_pc_flags ${LX_SANITIZER_FLAGS})
foreach(library IN LISTS CMAKE_DL_LIBS)
  string(APPEND lx_pc_libs "-l${library} ")
endforeach()
string(STRIP "${lx_pc_libs}" lx_pc_libs)
file(RELATIVE_PATH lx_pc_prefix_from_pcfiledir /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" lx_pc_prefix_from_pcfiledir "${lx_pc_prefix_from_pcfiledir}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/lx.pc.in ${CMAKE_BINARY_DIR}/lx.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/lx.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(TARGET lx_screen)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/lx-screen.pc.in ${CMAKE_BINARY_DIR}/lx-screen.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/lx-screen.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${LX_INSTALL_DOCDIR} OPTIONAL)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION ${LX_INSTALL_DOCDIR}
        PATTERN "screenshots" EXCLUDE)
install(FILES ${CMAKE_SOURCE_DIR}/tools/lxpld/README.md DESTINATION ${LX_INSTALL_DOCDIR}
        RENAME lxpld.md)
install(FILES ${CMAKE_SOURCE_DIR}/tools/lxpo/README.md DESTINATION ${LX_INSTALL_DOCDIR}
        RENAME lxpo.md)
