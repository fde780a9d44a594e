# PALETTOR_VERSION: the file version of the fixed record in about/version/palettor.version, the
# description every executable's version resource is built from, so that the project, --version and
# the installed metainfo all say what Help > About says. Read before project(), which takes it.
set(PALETTOR_VERSION_FILE ${CMAKE_CURRENT_LIST_DIR}/../about/version/palettor.version)
cmake_path(NORMAL_PATH PALETTOR_VERSION_FILE)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PALETTOR_VERSION_FILE})

file(STRINGS ${PALETTOR_VERSION_FILE} _palettor_version_lines REGEX "^[ \t]*(\\[|FileVersion[ \t]*=)")
set(_palettor_version_section "")
unset(PALETTOR_VERSION)
foreach(_line IN LISTS _palettor_version_lines)
  if(_line MATCHES "^[ \t]*\\[([^]]*)\\]")
    set(_palettor_version_section "${CMAKE_MATCH_1}")
  elseif(_palettor_version_section STREQUAL "FixedFileInfo"
         AND _line MATCHES "^[ \t]*FileVersion[ \t]*=[ \t]*([0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+)[ \t]*$")
    set(PALETTOR_VERSION ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT PALETTOR_VERSION)
  message(FATAL_ERROR "${PALETTOR_VERSION_FILE}: [FixedFileInfo] has no FileVersion = A.B.C.D")
endif()
