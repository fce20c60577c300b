# The packages. A cross build writes what the Windows setup takes from it (makensis's
# packaging/setup-config.nsh, the scripts' packaging/setup.env); a native build configures
# CPack's Debian package. scripts/package builds them, scripts/check-packages checks them.
include(${CMAKE_CURRENT_LIST_DIR}/VersionHeader.cmake)
tallix_version_text("${PROJECT_SOURCE_DIR}/version/version.h" "${PROJECT_VERSION}" TALLIX_VERSION_TEXT)

set(TALLIX_PUBLISHER "Tallix")
set(TALLIX_HOME_PAGE "http://www.example.com/soft")
set(TALLIX_PACKAGING_DIR "${CMAKE_BINARY_DIR}/packaging")

if(WIN32)
  # The window's help file goes beside the programs even in a build without the window:
  # the setup carries it either way.
  if(NOT TALLIX_BUILD_GUI)
    install(FILES ${PROJECT_SOURCE_DIR}/app/resources/readme.txt DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()

  # The deposit's font and its licence go beside the programs: in the build tree, where the
  # tests under Wine run them, and in the setup.
  foreach(target tallix Ordwen)
    if(TARGET ${target})
      get_target_property(target_dir ${target} BINARY_DIR)
      tallix_deposit_font_beside("${target_dir}")
    endif()
  endforeach()
  list(GET TALLIX_DEPOSIT_FONT_NAMES 0 font_name)
  list(GET TALLIX_DEPOSIT_FONT_NAMES 1 license_name)
  install(FILES "${TALLIX_DEPOSIT_FONT_FILE}" DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${font_name})
  install(FILES "${TALLIX_DEPOSIT_FONT_LICENSE}" DESTINATION ${CMAKE_INSTALL_BINDIR}
          RENAME ${license_name})

  # The files a setup must carry, all from bin/ of this build's install; scripts/make-setup
  # refuses to build a setup without any of them, scripts/check-packages checks each one.
  # The setup also takes whatever else the install staged beside them.
  set(TALLIX_SETUP_REQUIRED_FILES Ordwen.exe tallix.exe readme.txt ${TALLIX_DEPOSIT_FONT_NAMES})
  math(EXPR TALLIX_SETUP_BITS "${CMAKE_SIZEOF_VOID_P} * 8")
  set(TALLIX_SETUP_FILE "Tallix-${TALLIX_VERSION_TEXT}-win${TALLIX_SETUP_BITS}-setup.exe")

  file(CONFIGURE OUTPUT "${TALLIX_PACKAGING_DIR}/setup-config.nsh" @ONLY CONTENT [=[
; Written by CMake for one cross build; packaging/windows-setup.nsi includes it.
!define TALLIX_VERSION_TEXT "@TALLIX_VERSION_TEXT@"
!define TALLIX_VERSION_NUMBERS "@PROJECT_VERSION_MAJOR@.@PROJECT_VERSION_MINOR@.0.@PROJECT_VERSION_PATCH@"
!define TALLIX_SETUP_BITS @TALLIX_SETUP_BITS@
!define TALLIX_SETUP_FILE "@TALLIX_SETUP_FILE@"
!define TALLIX_PUBLISHER "@TALLIX_PUBLISHER@"
!define TALLIX_HOME_PAGE "@TALLIX_HOME_PAGE@"
!define TALLIX_ICON "@PROJECT_SOURCE_DIR@/app/icons/ordwen.ico"
]=])

  list(JOIN TALLIX_SETUP_REQUIRED_FILES " " required_files)
  file(CONFIGURE OUTPUT "${TALLIX_PACKAGING_DIR}/setup.env" @ONLY CONTENT [=[
# Written by CMake for one cross build; scripts/make-setup and scripts/check-packages read it.
TALLIX_VERSION_TEXT='@TALLIX_VERSION_TEXT@'
TALLIX_SETUP_BITS=@TALLIX_SETUP_BITS@
TALLIX_SETUP_FILE='@TALLIX_SETUP_FILE@'
TALLIX_SETUP_REQUIRED_FILES=(@required_files@)
]=])
  return()
endif()

set(TALLIX_FONT_PACKAGE "fonts-noto-cjk" CACHE STRING
    "The Debian package of the CJK font that the window falls back on")
find_program(TALLIX_DPKG dpkg)
if(NOT TALLIX_DPKG)
  message(STATUS "No dpkg: the Debian package cannot be made here")
  return()
endif()
execute_process(COMMAND ${TALLIX_DPKG} --print-architecture
  OUTPUT_VARIABLE deb_architecture OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallix)
set(CPACK_PACKAGE_VENDOR "${TALLIX_PUBLISHER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
# The desktop entry names the window by its full path, fixed when the build is configured:
# the package installs where the build was configured to.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME tallix)
set(CPACK_DEBIAN_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE "${deb_architecture}")
set(CPACK_DEBIAN_FILE_NAME "tallix_${PROJECT_VERSION}_${deb_architecture}.deb")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tallix <tallix@example.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${TALLIX_HOME_PAGE}")
# dpkg-shlibdeps adds the libraries the programs link (Qt 6 among them). Qt's libraries only
# recommend the platform plugins, without which the window cannot open; the font gives the
# Chinese interface its characters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, ${TALLIX_FONT_PACKAGE}")
# Qt's own dialog buttons in Chinese; the help file and the home page through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Visual Basic project line counter / VB 工程代码行数统计")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Tallix counts the source lines of Visual Basic projects, VB6 (.vbp) and
VB.NET (.vbproj): it reads the project file, finds its member files and
counts the lines of each and their total, leaving out blank and comment
lines if asked. It comes as a window with a Chinese interface, Ordwen,
and as a command line, tallix.

Tallix 统计 Visual Basic 工程（VB6 的 .vbp、VB.NET 的 .vbproj）
的源代码行数：读取工程文件，找到其中的各个源文件，统计每个文件的
行数及合计，可不计空白行和注释行。提供中文界面的窗口程序 Ordwen
和命令行程序 tallix。]=])
include(CPack)

file(CONFIGURE OUTPUT "${TALLIX_PACKAGING_DIR}/deb.env" @ONLY CONTENT [=[
# Written by CMake for one native build; scripts/package and scripts/check-packages read it.
TALLIX_DEB_FILE='@CPACK_DEBIAN_FILE_NAME@'
TALLIX_DEB_VERSION='@PROJECT_VERSION@'
TALLIX_DEB_ARCHITECTURE='@deb_architecture@'
TALLIX_DEB_PREFIX='@CMAKE_INSTALL_PREFIX@'
TALLIX_FONT_PACKAGE='@TALLIX_FONT_PACKAGE@'
]=])
