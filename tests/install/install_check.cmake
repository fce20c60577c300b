cmake_minimum_required(VERSION 3.25)
# Installs the build into a staging folder (DESTDIR) and checks what a user's machine would
# get. Run by CTest with -DBUILD_DIR, -DSTAGE, -DPREFIX and -DSOURCE_DIR.
include(${CMAKE_CURRENT_LIST_DIR}/install_layout.cmake)

file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

tallix_check_install_layout("${STAGE}${PREFIX}" "${PREFIX}" "${SOURCE_DIR}")
message(STATUS "install layout checked under ${STAGE}${PREFIX}")
