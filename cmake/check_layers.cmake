# Fails when a file of one layer includes a header of a layer above it. The layers are static
# libraries that all share the source root as their include folder, so the compiler alone would
# accept such an include, and the final link would hide it: this scan is what keeps the
# direction. Run as `cmake -DSOURCE_DIR=<root> -P check_layers.cmake` (the build and CTest do).
#
# Lowest first: platform -> store -> ui -> encode, publish -> app and batch (the window and the
# program without one, side by side: neither includes the other). publish/ may use encode/,
# never the reverse. res/ and outside/ are leaves: they include only themselves, and the
# layers from ui/ up (res/) or encode/ up (outside/) may use them.
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_layers.cmake: SOURCE_DIR is not set")
endif()

set(allowed_platform platform)
set(allowed_store platform store)
set(allowed_ui platform store res ui)
set(allowed_encode platform store res ui outside encode)
set(allowed_publish platform store res ui outside encode publish)
set(allowed_app platform store res ui outside encode publish app)
set(allowed_batch platform store res ui outside encode publish batch)
set(allowed_res res)
set(allowed_outside outside)
set(folders platform store ui encode publish app batch res outside)

set(violations "")
foreach(folder IN LISTS folders)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false
    "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[A-Za-z0-9_]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([A-Za-z0-9_]+)/.*" "\\1" target "${line}")
      list(FIND folders "${target}" known)
      if(known EQUAL -1)
        continue()
      endif()
      list(FIND allowed_${folder} "${target}" permitted)
      if(permitted EQUAL -1)
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        string(STRIP "${line}" line)
        string(APPEND violations "  ${shown} (layer ${folder}): ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes that point up a layer:\n${violations}")
endif()
message(STATUS "Layer includes point one way")
