# The rooms of src/: each folder is one library target that links only what
# the room may use. Another room's headers are reachable only through the
# rooms linked, each under its folder's name (#include "id3v2/Id3v2Edit.h"):
# the room's include folder holds nothing but a link named after it. What the
# compiler cannot refuse (a Qt module's header by its module path, a header
# of system calls in a room that works on bytes) the include check refuses
# before the room builds.
#
# kalvo_room(NAME [INTERFACE] [NO_SYSTEM_CALLS] [SOURCES files...] [USES targets...]
#            [PRIVATE_USES targets...])
#   NAME             the folder under src/ and the target kalvo_NAME
#   INTERFACE        headers only
#   NO_SYSTEM_CALLS  the room works on bytes and memory: no header of system
#                    calls (unistd.h, fcntl.h, sys/..., ...)
#   USES             rooms (kalvo_…) and libraries its headers need
#   PRIVATE_USES     libraries only its sources need

set(KALVO_ROOMS_DIR ${CMAKE_BINARY_DIR}/rooms)
set(KALVO_SYSTEM_CALL_HEADERS "^(unistd|fcntl|dirent|poll|signal|spawn|termios|pthread)\\.h$|^(sys|linux|asm)/")

# The headers a room may not include, as regular expressions, given what it
# links: a Qt module's headers need the module.
function(kalvo_forbidden_includes out no_system_calls)
  set(forbidden)
  foreach(module Widgets Gui Network)
    if(NOT "Qt6::${module}" IN_LIST ARGN)
      list(APPEND forbidden "^Qt${module}/")
    endif()
  endforeach()
  if(no_system_calls)
    list(APPEND forbidden "${KALVO_SYSTEM_CALL_HEADERS}")
  endif()
  set(${out} "${forbidden}" PARENT_SCOPE)
endfunction()

# A custom target that fails when one of sources includes a forbidden header.
function(kalvo_include_check target room sources forbidden)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DROOM=${room}" "-DFILES=${sources}" "-DFORBIDDEN=${forbidden}"
            "-DSTAMP=${stamp}" -P ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking the includes of ${room}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${stamp} ${ARGN})
endfunction()

function(kalvo_room name)
  cmake_parse_arguments(ARG "INTERFACE;NO_SYSTEM_CALLS" "" "SOURCES;USES;PRIVATE_USES" ${ARGN})
  set(target kalvo_${name})
  set(include_dir ${KALVO_ROOMS_DIR}/${name})
  file(MAKE_DIRECTORY ${include_dir})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_dir}/${name} SYMBOLIC)

  list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  kalvo_forbidden_includes(forbidden "${ARG_NO_SYSTEM_CALLS}" ${ARG_USES} ${ARG_PRIVATE_USES})
  kalvo_include_check(${target}_includes ${name} "${sources}" "${forbidden}")
  # The probe of the build test compiles under the room's rules.
  set_property(GLOBAL PROPERTY KALVO_ROOM_${name}_USES ${target} ${ARG_USES} ${ARG_PRIVATE_USES})
  set_property(GLOBAL PROPERTY KALVO_ROOM_${name}_FORBIDDEN "${forbidden}")

  if(ARG_INTERFACE)
    add_library(${target} INTERFACE ${sources})
    target_include_directories(${target} INTERFACE ${include_dir})
    target_link_libraries(${target} INTERFACE ${ARG_USES})
  else()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${include_dir})
    target_link_libraries(${target} PUBLIC ${ARG_USES} PRIVATE ${ARG_PRIVATE_USES})
  endif()
  add_dependencies(${target} ${target}_includes)
endfunction()

# kalvo_room_probe(NAME ROOM room SOURCE file): a target built only on
# request that compiles SOURCE as a file of ROOM would be, include check
# first; the build test expects it to fail.
function(kalvo_room_probe name)
  cmake_parse_arguments(ARG "" "ROOM;SOURCE" "" ${ARGN})
  get_property(uses GLOBAL PROPERTY KALVO_ROOM_${ARG_ROOM}_USES)
  get_property(forbidden GLOBAL PROPERTY KALVO_ROOM_${ARG_ROOM}_FORBIDDEN)
  set(source ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_SOURCE})
  add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${name} PRIVATE ${uses})
  kalvo_include_check(${name}_includes ${ARG_ROOM} "${source}" "${forbidden}")
  add_dependencies(${name} ${name}_includes)
endfunction()
