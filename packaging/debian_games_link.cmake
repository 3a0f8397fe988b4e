# Run by CPack on the staged files before it builds the .deb: Debian keeps the commands of games
# in /usr/games, so the link to the program moves there from /usr/bin. The link is relative
# (../lib/zelmar-slots/zelmar-slots) and points to the same program from either folder.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT IS_SYMLINK ${staged}/bin/zelmar-slots)
  message(FATAL_ERROR "the staged package has no link ${staged}/bin/zelmar-slots")
endif()
file(READ_SYMLINK ${staged}/bin/zelmar-slots target)
file(MAKE_DIRECTORY ${staged}/games)
file(CREATE_LINK ${target} ${staged}/games/zelmar-slots SYMBOLIC)
file(REMOVE ${staged}/bin/zelmar-slots)
file(GLOB left ${staged}/bin/*)
if(NOT left)
  file(REMOVE_RECURSE ${staged}/bin)
endif()
