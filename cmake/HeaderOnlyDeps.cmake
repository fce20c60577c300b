# CLI11 and nlohmann-json are header-only. A native build finds them through their CMake
# packages; a cross build takes the same Debian headers, staged in a folder of their own so
# that the host's /usr/include never reaches the target compiler.
if(CMAKE_CROSSCOMPILING)
  set(staged "${CMAKE_BINARY_DIR}/staged-headers")
  file(MAKE_DIRECTORY "${staged}")
  foreach(dir CLI nlohmann)
    if(NOT EXISTS "/usr/include/${dir}")
      message(FATAL_ERROR "/usr/include/${dir} is missing: install libcli11-dev and nlohmann-json3-dev")
    endif()
    file(CREATE_LINK "/usr/include/${dir}" "${staged}/${dir}" SYMBOLIC)
  endforeach()
  add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  set_target_properties(CLI11::CLI11 nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${staged}")
else()
  find_package(CLI11 CONFIG REQUIRED)
  find_package(nlohmann_json 3 REQUIRED)
endif()
