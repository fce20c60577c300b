cmake_minimum_required(VERSION 3.25)
# Installs the build into a staging folder (DESTDIR) and checks what a user's machine would
# get: the window with its help file beside it, tallix on the PATH, the desktop entry and
# the icon. Run by CTest with -DBUILD_DIR, -DSTAGE, -DPREFIX and -DSOURCE_DIR.
file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(root "${STAGE}${PREFIX}")
function(expect_file path)
  if(NOT EXISTS "${root}/${path}" OR IS_DIRECTORY "${root}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endfunction()

expect_file(bin/tallix)
expect_file(bin/Ordwen)
expect_file(libexec/tallix/Ordwen)
expect_file(libexec/tallix/readme.txt)
expect_file(share/applications/ordwen.desktop)
expect_file(share/icons/hicolor/32x32/apps/ordwen.png)

# The link in bin/ leads to the program beside its help file.
file(REAL_PATH "${root}/bin/Ordwen" resolved)
file(REAL_PATH "${root}/libexec/tallix/Ordwen" program)
if(NOT resolved STREQUAL program)
  message(FATAL_ERROR "bin/Ordwen leads to ${resolved}, not ${program}")
endif()

file(READ "${root}/libexec/tallix/readme.txt" installed_help HEX)
file(READ "${SOURCE_DIR}/app/resources/readme.txt" source_help HEX)
if(NOT installed_help STREQUAL source_help)
  message(FATAL_ERROR "the installed readme.txt differs from the source")
endif()

file(STRINGS "${root}/share/applications/ordwen.desktop" entry)
foreach(wanted "Exec=${PREFIX}/bin/Ordwen" "Icon=ordwen" "Type=Application")
  if(NOT wanted IN_LIST entry)
    message(FATAL_ERROR "ordwen.desktop lacks ${wanted}")
  endif()
endforeach()

execute_process(COMMAND "${root}/bin/tallix" --version
  OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "1\\.00\\.0062")
  message(FATAL_ERROR "installed tallix --version gave ${status}: ${version}")
endif()
message(STATUS "install layout checked under ${root}")
