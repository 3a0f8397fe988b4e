# Installs the build into a fresh prefix and checks what a player relies on: the command in bin/
# starts the installed program from another folder, and every file the build put beside the
# program (art, sounds, music, help, and the sound module in sound/) sits beside the installed
# program too.
# Expects BUILD (the build folder) and PREFIX (a scratch folder).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

set(appdir ${PREFIX}/lib/zelmar-slots)
if(NOT IS_SYMLINK ${PREFIX}/bin/zelmar-slots)
  message(FATAL_ERROR "bin/zelmar-slots is not a link")
endif()
file(REAL_PATH ${PREFIX}/bin/zelmar-slots real)
file(REAL_PATH ${appdir}/zelmar-slots expected)
if(NOT real STREQUAL expected)
  message(FATAL_ERROR "bin/zelmar-slots leads to ${real}, not to ${expected}")
endif()
execute_process(COMMAND ${PREFIX}/bin/zelmar-slots --version WORKING_DIRECTORY ${PREFIX}/share
                OUTPUT_VARIABLE version RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT version MATCHES "^Zelmar Slots [0-9]")
  message(FATAL_ERROR "the installed command answered --version with ${rc}: ${version}")
endif()

# The sound module, which the program loads from its own folder.
if(NOT EXISTS ${appdir}/sound/zelmar-slots-sound.so)
  message(FATAL_ERROR "the sound module is not installed as sound/zelmar-slots-sound.so beside the program")
endif()

# Each music track carried with the game has its recording beside the sound module, named after
# the track's content as the player looks it up.
file(GLOB tracks ${appdir}/*.mid)
if(NOT tracks)
  message(FATAL_ERROR "no music track is installed")
endif()
foreach(track ${tracks})
  file(SHA256 ${track} hash)
  if(NOT EXISTS ${appdir}/sound/music-${hash}.ogg)
    message(FATAL_ERROR "no recording of ${track} is installed as sound/music-${hash}.ogg")
  endif()
endforeach()

# Files beside the program in the build folder: everything there that is neither a program nor
# a file of the build system.
file(GLOB beside LIST_DIRECTORIES false RELATIVE ${BUILD} ${BUILD}/*)
list(FILTER beside EXCLUDE REGEX
     "^(\\.ninja_.*|.*\\.ninja|CMakeCache\\.txt|.*\\.cmake|.*\\.json|.*\\.txt|.*\\.deb|.*\\.tcl|Makefile)$")
set(missing "")
foreach(name ${beside})
  if(IS_SYMLINK ${BUILD}/${name})
    continue()
  endif()
  execute_process(COMMAND test -x ${BUILD}/${name} RESULT_VARIABLE not_executable)
  if(not_executable AND NOT EXISTS ${appdir}/${name})
    list(APPEND missing ${name})
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "beside the program in the build folder but not installed beside it: "
                      "${missing} (name them with zelmar_add_beside_files)")
endif()
list(LENGTH beside count)
message(STATUS "installed layout checked; ${count} files beside the program")
