# Each library sees the headers of its own layer and of the libraries it links, nothing more,
# so an include that points up the layers (the engine reaching for the window, say) fails to
# build. Every layer's headers are reached as "<layer>/<file>.h" through a folder of the build
# tree that holds a link to that one layer; the source tree itself is never an include path.
# A layer may be a folder of another ("engine/text"): its headers are then "engine/text/x.h".

set(TALLIX_LAYER_INCLUDE_ROOT "${CMAKE_BINARY_DIR}/layer-include")

# tallix_layer_headers(TARGET LAYER [FILES file...]): TARGET's users may include LAYER's
# headers; with FILES only those files of the layer.
function(tallix_layer_headers target layer)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  set(root "${TALLIX_LAYER_INCLUDE_ROOT}/${target}")
  if(ARG_FILES)
    file(MAKE_DIRECTORY "${root}/${layer}")
    foreach(header ${ARG_FILES})
      if(NOT EXISTS "${root}/${layer}/${header}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}/${header}" "${root}/${layer}/${header}"
             SYMBOLIC COPY_ON_ERROR)
      endif()
    endforeach()
  elseif(NOT EXISTS "${root}/${layer}")
    get_filename_component(parent "${root}/${layer}" DIRECTORY)
    file(MAKE_DIRECTORY "${parent}")
    file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${layer}" "${root}/${layer}" SYMBOLIC COPY_ON_ERROR)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
