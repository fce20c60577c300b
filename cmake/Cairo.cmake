# cairo with its FreeType font backend and PDF surface, as the imported target Tallix::cairo,
# which carries FreeType's headers and libraries too. On Linux it is Debian's libcairo2-dev
# and libfreetype-dev, found through pkg-config. For Windows it is the static build that
# scripts/build-windows-deps makes from Debian's source packages into TALLIX_WINDOWS_DEPS,
# linked with Debian's MinGW zlib; the programs stay free of any DLL but Windows' own.
#
# A Windows build also puts the font that deposits are set in beside its programs
# (tallix_deposit_font_beside), as the setup carries it: Windows without NSimSun, and Wine,
# have no monospaced CJK font of their own.

# The font a Windows build carries; the tests read it on every platform.
set(TALLIX_DEPOSIT_FONT_FILE "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
    CACHE FILEPATH "The font file a Windows build carries for deposits (fonts-noto-cjk)")
set(TALLIX_DEPOSIT_FONT_LICENSE "/usr/share/doc/fonts-noto-cjk/copyright"
    CACHE FILEPATH "The copyright and licence of that font")
# The names beside the programs; persistence/deposit/font_search.cpp looks for the first.
set(TALLIX_DEPOSIT_FONT_NAMES NotoSansCJK-Regular.ttc NotoSansCJK-LICENSE.txt)

if(WIN32)
  set(TALLIX_WINDOWS_DEPS "${PROJECT_SOURCE_DIR}/build-windows-deps/${CMAKE_SYSTEM_PROCESSOR}"
      CACHE PATH "Where scripts/build-windows-deps built FreeType, pixman and cairo")
  set(deps "${TALLIX_WINDOWS_DEPS}")
  set(zlib "${CMAKE_FIND_ROOT_PATH}/lib/libz.a")
  foreach(file "${deps}/lib/libcairo.a" "${deps}/lib/libpixman-1.a" "${deps}/lib/libfreetype.a"
               "${deps}/include/cairo/cairo-ft.h" "${zlib}")
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${file} is missing: run scripts/build-windows-deps "
                          "${CMAKE_SYSTEM_PROCESSOR} ${deps} (or set TALLIX_WINDOWS_DEPS)")
    endif()
  endforeach()

  add_library(tallix_zlib STATIC IMPORTED)
  set_target_properties(tallix_zlib PROPERTIES IMPORTED_LOCATION "${zlib}")
  add_library(tallix_freetype STATIC IMPORTED)
  set_target_properties(tallix_freetype PROPERTIES
    IMPORTED_LOCATION "${deps}/lib/libfreetype.a"
    INTERFACE_INCLUDE_DIRECTORIES "${deps}/include/freetype2")
  add_library(tallix_pixman STATIC IMPORTED)
  set_target_properties(tallix_pixman PROPERTIES IMPORTED_LOCATION "${deps}/lib/libpixman-1.a")
  # cairo's static library: CAIRO_WIN32_STATIC_BUILD says so to its headers, and its
  # fortified string functions need GCC's libssp.
  add_library(tallix_cairo STATIC IMPORTED)
  set_target_properties(tallix_cairo PROPERTIES
    IMPORTED_LOCATION "${deps}/lib/libcairo.a"
    INTERFACE_INCLUDE_DIRECTORIES "${deps}/include/cairo"
    INTERFACE_COMPILE_DEFINITIONS CAIRO_WIN32_STATIC_BUILD
    INTERFACE_LINK_LIBRARIES "tallix_pixman;tallix_freetype;tallix_zlib;ssp")
  add_library(Tallix::cairo INTERFACE IMPORTED)
  set_target_properties(Tallix::cairo PROPERTIES INTERFACE_LINK_LIBRARIES tallix_cairo)

  foreach(file "${TALLIX_DEPOSIT_FONT_FILE}" "${TALLIX_DEPOSIT_FONT_LICENSE}")
    if(NOT EXISTS "${file}")
      message(FATAL_ERROR "${file} is missing: run scripts/install-deps --windows "
                          "(Debian package fonts-noto-cjk)")
    endif()
  endforeach()

  # tallix_deposit_font_beside(DIR): the font and its licence copied into DIR of the build
  # tree, where a program looks for them beside itself.
  function(tallix_deposit_font_beside dir)
    list(GET TALLIX_DEPOSIT_FONT_NAMES 0 font_name)
    list(GET TALLIX_DEPOSIT_FONT_NAMES 1 license_name)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY_FILE "${TALLIX_DEPOSIT_FONT_FILE}" "${dir}/${font_name}" ONLY_IF_DIFFERENT)
    file(COPY_FILE "${TALLIX_DEPOSIT_FONT_LICENSE}" "${dir}/${license_name}" ONLY_IF_DIFFERENT)
  endfunction()
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TALLIX_CAIRO REQUIRED IMPORTED_TARGET cairo cairo-ft cairo-pdf freetype2)
  add_library(Tallix::cairo INTERFACE IMPORTED)
  set_target_properties(Tallix::cairo PROPERTIES INTERFACE_LINK_LIBRARIES PkgConfig::TALLIX_CAIRO)
endif()
