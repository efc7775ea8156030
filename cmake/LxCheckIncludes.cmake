# Run by the build (cmake -P) for one layer: fails when a file of LAYER includes a header of
# a layer that is neither LAYER nor one of its DEPENDS. FILES and DEPENDS are "|"-separated;
# ROOTS is where the layers' include roots are, BASE the source folder that messages name
# files from; STAMP is touched when every include is allowed.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" files "${FILES}")
string(REPLACE "|" ";" depends "${DEPENDS}")
set(allowed ${LAYER} ${depends})
string(REPLACE ";" " " depends_text "${depends}")
set(faults "")
foreach(file IN LISTS files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/[^\"]*\"")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "\"(([^/\"]+)/[^\"]*)\"" included "${line}")
    set(header ${CMAKE_MATCH_1})
    set(other ${CMAKE_MATCH_2})
    if(IS_DIRECTORY ${ROOTS}/${other}/${other} AND NOT other IN_LIST allowed)
      file(RELATIVE_PATH shown ${BASE} ${file})
      string(APPEND faults "\n  ${shown} includes \"${header}\" of layer ${other}")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR
          "Layer ${LAYER} includes layers it does not depend on (DEPENDS ${depends_text}):"
          "${faults}")
endif()
file(TOUCH ${STAMP})
