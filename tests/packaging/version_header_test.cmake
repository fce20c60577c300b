cmake_minimum_required(VERSION 3.25)
# Checks tallix_version_text (cmake/VersionHeader.cmake) on headers written here: it gives
# the header's version text when the header's numbers are project()'s, and stops the
# configure when they differ or the text is missing. Run by CTest with -DSOURCE_DIR and
# -DWORK_DIR; each case runs in a cmake process of its own, as a failing one ends it.
if(DEFINED HEADER)
  include(${SOURCE_DIR}/cmake/VersionHeader.cmake)
  tallix_version_text("${HEADER}" "${VERSION}" text)
  message(STATUS "text=${text}")
  return()
endif()

# expect_case(NAME VERSION HEADER_TEXT EXPECTED): EXPECTED is the version text, or "fails".
function(expect_case name version header_text expected)
  file(WRITE "${WORK_DIR}/${name}.h" "${header_text}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -DHEADER=${WORK_DIR}/${name}.h
            -DVERSION=${version} -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    OUTPUT_VARIABLE output ERROR_VARIABLE error RESULT_VARIABLE status)
  if(expected STREQUAL "fails")
    if(status EQUAL 0)
      message(FATAL_ERROR "${name}: version ${version} accepted: ${output}")
    endif()
  elseif(NOT status EQUAL 0 OR NOT output MATCHES "-- text=${expected}\n")
    message(FATAL_ERROR "${name}: expected ${expected}, got ${status}: ${output}${error}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
set(header [[
#define TALLIX_VERSION_MAJOR 1
#define TALLIX_VERSION_MINOR 0
#define TALLIX_VERSION_REVISION 62
#define TALLIX_VERSION_TEXT "1.00.0062"
#define TALLIX_APPLICATION_TITLE "Tallix"
]])
expect_case(agrees 1.0.62 "${header}" "1\\.00\\.0062")
expect_case(later_revision 1.0.63 "${header}" fails)
expect_case(revision_prefix 1.0.6 "${header}" fails)
expect_case(later_minor 1.1.62 "${header}" fails)
expect_case(later_major 2.0.62 "${header}" fails)
string(REPLACE "#define TALLIX_VERSION_TEXT" "// TALLIX_VERSION_TEXT" no_text "${header}")
expect_case(no_text 1.0.62 "${no_text}" fails)
string(REPLACE "#define TALLIX_VERSION_REVISION 62\n" "" no_revision "${header}")
expect_case(no_revision 1.0.62 "${no_revision}" fails)
message(STATUS "version header cases checked")
