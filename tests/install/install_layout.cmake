# What an install holds, shared by the check of `cmake --install` (install_check.cmake) and
# the check of the Debian package (tests/packaging/deb_check.cmake): the window with its help
# file beside it, tallix on the PATH, the desktop entry and the icon.

# Every file and link an install makes, relative to the prefix; nothing else is installed.
set(TALLIX_INSTALLED_FILES
  bin/tallix
  bin/Ordwen
  libexec/tallix/Ordwen
  libexec/tallix/readme.txt
  share/applications/ordwen.desktop
  share/icons/hicolor/32x32/apps/ordwen.png)

# tallix_check_install_layout(ROOT PREFIX SOURCE_DIR): checks the install found at ROOT, made
# for PREFIX (ROOT is PREFIX itself on the user's machine), against the sources at SOURCE_DIR.
function(tallix_check_install_layout root prefix source_dir)
  foreach(path IN LISTS TALLIX_INSTALLED_FILES)
    if(NOT EXISTS "${root}/${path}" OR IS_DIRECTORY "${root}/${path}")
      message(FATAL_ERROR "not installed: ${path}")
    endif()
  endforeach()
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
  list(REMOVE_ITEM found ${TALLIX_INSTALLED_FILES})
  if(found)
    message(FATAL_ERROR "installed besides the program: ${found}")
  endif()

  # The link in bin/ leads to the program beside its help file.
  file(REAL_PATH "${root}/bin/Ordwen" resolved)
  file(REAL_PATH "${root}/libexec/tallix/Ordwen" program)
  if(NOT resolved STREQUAL program)
    message(FATAL_ERROR "bin/Ordwen leads to ${resolved}, not ${program}")
  endif()

  file(READ "${root}/libexec/tallix/readme.txt" installed_help HEX)
  file(READ "${source_dir}/app/resources/readme.txt" source_help HEX)
  if(NOT installed_help STREQUAL source_help)
    message(FATAL_ERROR "the installed readme.txt differs from the source")
  endif()

  file(STRINGS "${root}/share/applications/ordwen.desktop" entry)
  foreach(wanted "Exec=${prefix}/bin/Ordwen" "Icon=ordwen" "Type=Application")
    if(NOT wanted IN_LIST entry)
      message(FATAL_ERROR "ordwen.desktop lacks ${wanted}")
    endif()
  endforeach()

  execute_process(COMMAND "${root}/bin/tallix" --version
    OUTPUT_VARIABLE version RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT version MATCHES "1\\.00\\.0062")
    message(FATAL_ERROR "installed tallix --version gave ${status}: ${version}")
  endif()
endfunction()
