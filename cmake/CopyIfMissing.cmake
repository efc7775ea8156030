# cmake -DSOURCE=<file> -DTARGET=<file> -P CopyIfMissing.cmake
#
# Copies SOURCE to TARGET unless TARGET exists: a file the program changes later (a settings
# file holding the user's choices) is placed once and never written over by a new build.
if(NOT EXISTS ${TARGET} AND NOT IS_SYMLINK ${TARGET})
  file(COPY_FILE ${SOURCE} ${TARGET})
endif()
