cmake_minimum_required(VERSION 3.25)
# Checks scripts/make-setup on staged folders made here, with the configuration a cross build
# writes: it refuses a stage that lacks a file every setup needs or holds anything but plain
# files, and otherwise builds a setup that installs and uninstalls exactly the staged files.
# Run by CTest with -DSOURCE_DIR and -DWORK_DIR; without makensis only the refusals run.
file(REMOVE_RECURSE "${WORK_DIR}")
set(build "${WORK_DIR}/build")
file(MAKE_DIRECTORY "${build}/packaging")
file(WRITE "${build}/packaging/setup.env" [[
TALLIX_VERSION_TEXT='1.00.0062'
TALLIX_SETUP_BITS=64
TALLIX_SETUP_FILE='Tallix-1.00.0062-win64-setup.exe'
TALLIX_SETUP_REQUIRED_FILES=(tallix.exe readme.txt)
]])
file(WRITE "${build}/packaging/setup-config.nsh" "\
!define TALLIX_VERSION_TEXT \"1.00.0062\"
!define TALLIX_VERSION_NUMBERS \"1.0.0.62\"
!define TALLIX_SETUP_BITS 64
!define TALLIX_SETUP_FILE \"Tallix-1.00.0062-win64-setup.exe\"
!define TALLIX_PUBLISHER \"Tallix\"
!define TALLIX_HOME_PAGE \"http://www.example.com/soft\"
!define TALLIX_ICON \"${SOURCE_DIR}/app/icons/ordwen.ico\"
")

# make_setup(NAME FILES... ): stages FILES (a name ending in "/" is a folder) and runs
# make-setup on them; sets status, output and the stage's path.
function(make_setup name)
  set(stage "${WORK_DIR}/${name}/bin")
  file(MAKE_DIRECTORY "${stage}")
  foreach(file IN LISTS ARGN)
    if(file MATCHES "/$")
      file(MAKE_DIRECTORY "${stage}/${file}")
    else()
      file(WRITE "${stage}/${file}" "${name} ${file}\n")
    endif()
  endforeach()
  execute_process(
    COMMAND "${SOURCE_DIR}/scripts/make-setup" "${build}" "${stage}" "${WORK_DIR}/${name}/dist"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE code)
  set(status "${code}" PARENT_SCOPE)
  set(output "${out}${err}" PARENT_SCOPE)
  set(stage "${stage}" PARENT_SCOPE)
endfunction()

function(expect_refused name reason)
  make_setup(${name} ${ARGN})
  if(status EQUAL 0 OR NOT output MATCHES "${reason}")
    message(FATAL_ERROR "${name}: expected a refusal naming \"${reason}\", got ${status}: ${output}")
  endif()
  if(EXISTS "${WORK_DIR}/${name}/dist/Tallix-1.00.0062-win64-setup.exe")
    message(FATAL_ERROR "${name}: refused, yet a setup was written")
  endif()
endfunction()

expect_refused(no_help "lacks readme\\.txt" tallix.exe Ordwen.exe)
expect_refused(no_program "lacks tallix\\.exe" readme.txt)
expect_refused(empty "lacks tallix\\.exe readme\\.txt")
# The required names are matched exactly, letter case included.
expect_refused(upper_case "lacks readme\\.txt" tallix.exe README.TXT)
expect_refused(folder "platforms is not a plain file" tallix.exe readme.txt platforms/)

find_program(MAKENSIS makensis)
if(NOT MAKENSIS)
  message(STATUS "makensis not found: only the refusals were checked")
  return()
endif()

make_setup(extra tallix.exe readme.txt Ordwen.exe "zh 说明.txt")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "extra: make-setup failed with ${status}: ${output}")
endif()
if(NOT EXISTS "${WORK_DIR}/extra/dist/Tallix-1.00.0062-win64-setup.exe")
  message(FATAL_ERROR "extra: no setup written: ${output}")
endif()
# Every staged file is installed and removed again, each exactly once.
file(STRINGS "${build}/packaging/setup-files.nsh" lines ENCODING UTF-8 REGEX "^  (File|Delete) ")
set(expected "")
foreach(file IN ITEMS Ordwen.exe readme.txt tallix.exe "zh 说明.txt")
  list(APPEND expected "  File \"${stage}/${file}\"")
endforeach()
foreach(file IN ITEMS Ordwen.exe readme.txt tallix.exe "zh 说明.txt")
  list(APPEND expected "  Delete \"$INSTDIR\\${file}\"")
endforeach()
if(NOT lines STREQUAL expected)
  message(FATAL_ERROR "extra: the setup's file list is\n${lines}\nnot\n${expected}")
endif()
message(STATUS "make-setup cases checked")
