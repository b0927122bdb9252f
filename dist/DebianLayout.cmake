# Run by CPack on the staged tree of the Debian package, before it is packed.
# Debian keeps games in /usr/games: the programs move there from /usr/bin
# (the content and the video module stay where they are found from either
# folder), and the desktop entry names the game by its full path, since
# /usr/games is not on every PATH (root's, for one).
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr")
file(MAKE_DIRECTORY "${usr}/games")
file(GLOB programs "${usr}/bin/*")
foreach(program IN LISTS programs)
  get_filename_component(name "${program}" NAME)
  file(RENAME "${program}" "${usr}/games/${name}")
endforeach()
file(REMOVE_RECURSE "${usr}/bin")  # empty by now
file(GLOB entries "${usr}/share/applications/*.desktop")
foreach(entry IN LISTS entries)
  file(READ "${entry}" text)
  string(REGEX REPLACE "\nExec=([^\n/]+)" "\nExec=/usr/games/\\1" text "${text}")
  file(WRITE "${entry}" "${text}")
endforeach()
