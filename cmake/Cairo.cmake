# Tallix::cairo: cairo with its PDF surface and FreeType, and fontconfig to find the font a
# deposit is set in. On Linux they come from Debian's packages through pkg-config.
if(TARGET Tallix::cairo)
  return()
endif()
if(WIN32)
  message(FATAL_ERROR "cairo for the Windows builds is not set up here yet")
endif()
find_package(PkgConfig REQUIRED)
pkg_check_modules(TALLIX_CAIRO REQUIRED IMPORTED_TARGET GLOBAL cairo freetype2 fontconfig)
add_library(Tallix::cairo ALIAS PkgConfig::TALLIX_CAIRO)
