# Install rules: what another project needs to use Lx.
#
#   <prefix>/include/lx/<layer>/...   the public headers, layer by layer (include as
#                                     "dict/LxBinDic.h" with <prefix>/include/lx on the path)
#   <prefix>/lib/liblx_<layer>.a      the libraries
#   <prefix>/bin/lxform, lxpld, lxpo  the tools, and their man pages
#   <prefix>/lib/cmake/Lx/            the CMake package: find_package(Lx 0.1 CONFIG) gives
#                                     Lx::platform ... Lx::frame and Lx::lxform, Lx::lxpld, Lx::lxpo
#   <prefix>/lib/pkgconfig/lx.pc      the same for pkg-config
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(LX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/lx)
set(LX_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Lx)
set(LX_LICENSE "MIT")

# The layers another project links, lowest first.
set(LX_PUBLIC_LAYERS platform framework lang dict translator frame)

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
  install(TARGETS lx_${layer} EXPORT LxTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${layer}/ DESTINATION ${LX_INSTALL_INCLUDEDIR}/${layer}
          FILES_MATCHING PATTERN "*.h")
  get_target_property(generated lx_${layer} LX_GENERATED_INCLUDE_ROOTS)
  if(generated)
    foreach(root IN LISTS generated)
      install(DIRECTORY ${root}/ DESTINATION ${LX_INSTALL_INCLUDEDIR})
    endforeach()
  endif()
  # Highest layer first, as a static link wants them.
  string(PREPEND lx_pc_libs "-llx_${layer} ")
endforeach()

foreach(tool lxform lxpld lxpo)
  install(TARGETS ${tool} EXPORT LxTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${CMAKE_SOURCE_DIR}/man/${tool}.1.in ${CMAKE_BINARY_DIR}/man/${tool}.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/${tool}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(EXPORT LxTargets NAMESPACE Lx:: DESTINATION ${LX_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/LxConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/LxConfig.cmake
                              INSTALL_DESTINATION ${LX_INSTALL_CMAKEDIR})
# Before 1.0 a minor version may change the interface.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/LxConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/LxConfig.cmake ${CMAKE_BINARY_DIR}/LxConfigVersion.cmake
        DESTINATION ${LX_INSTALL_CMAKEDIR})

string(JOIN " " lx_pc_flags ${LX_SANITIZER_FLAGS})
foreach(library IN LISTS CMAKE_DL_LIBS)
  string(APPEND lx_pc_libs "-l${library} ")
endforeach()
string(STRIP "${lx_pc_libs}" lx_pc_libs)
file(RELATIVE_PATH lx_pc_prefix_from_pcfiledir /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" lx_pc_prefix_from_pcfiledir "${lx_pc_prefix_from_pcfiledir}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/lx.pc.in ${CMAKE_BINARY_DIR}/lx.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/lx.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
