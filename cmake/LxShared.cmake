include_guard(GLOBAL)
# Static or shared libraries.
#
#   cmake -DLX_SHARED=ON (or -DBUILD_SHARED_LIBS=ON)   shared libraries liblx_<layer>.so
#
# A shared library is position-independent code; a static Lx meant for a shared library or a
# plug-in of another program is built so with -DCMAKE_POSITION_INDEPENDENT_CODE=ON, which
# every library of Lx follows. A shared library carries the version in its file name and its
# soname (liblx_platform.so.0.1: before 1.0 a minor version may change the interface), finds
# the other libraries of Lx beside itself once installed, and keeps to itself what the
# layer's internal/ headers declare (they are hidden there).
option(LX_SHARED "Build shared libraries (the same as BUILD_SHARED_LIBS)" OFF)
if(LX_SHARED)
  set(BUILD_SHARED_LIBS ON)
endif()

# Installed programs find the libraries in the lib folder beside their bin folder.
if(BUILD_SHARED_LIBS)
  file(RELATIVE_PATH lx_lib_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  set(LX_PROGRAM_RPATH "$ORIGIN/${lx_lib_from_bin}")
endif()

# lx_set_library_form(<target>): the settings above for one library.
function(lx_set_library_form target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set_target_properties(
      ${target} PROPERTIES VERSION ${PROJECT_VERSION}
                           SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}
                           INSTALL_RPATH "$ORIGIN")
  endif()
endfunction()
