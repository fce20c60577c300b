# tallix_version_text(HEADER VERSION OUT): sets OUT to the version text that HEADER defines
# ("1.00.0062"), after checking that HEADER's numbers are VERSION's (project()'s "1.0.62").
# The programs take their version from the header, the packages from project(): a release
# that changed only one of the two would ship programs and packages of different versions.
function(tallix_version_text header version out)
  file(STRINGS "${header}" lines REGEX "^#define TALLIX_VERSION_")
  set(text "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^#define TALLIX_VERSION_(MAJOR|MINOR|REVISION) +([0-9]+)$")
      set(number_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
    elseif(line MATCHES "^#define TALLIX_VERSION_TEXT +\"([^\"]+)\"$")
      set(text "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(numbers "${number_MAJOR}.${number_MINOR}.${number_REVISION}")
  if(NOT numbers STREQUAL version OR text STREQUAL "")
    message(FATAL_ERROR
      "${header} gives version ${numbers} \"${text}\", but project() gives ${version}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
