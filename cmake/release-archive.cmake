# The release archive PQK_RELEASE_ARCHIVE: the program folder as a user
# unpacks it, the program (without its debugging information) and the texts
# beside it (PQK_PROGRAM_FOLDER_TEXTS, from PQK_PROGRAM_FOLDER). Included by
# shell/CMakeLists.txt after the program and its folder are defined. The
# names are ASCII: older Explorers garble other names inside a zip.
set(release_folder ${CMAKE_CURRENT_BINARY_DIR}/release)
set(release_texts "")
foreach(name ${PQK_PROGRAM_FOLDER_TEXTS})
  list(APPEND release_texts ${PQK_PROGRAM_FOLDER}/${name})
endforeach()
if(CMAKE_STRIP)
  set(place_program ${CMAKE_STRIP} -o ${release_folder}/padquiltkanalt.exe
                    $<TARGET_FILE:padquiltkanalt>)
else()
  set(place_program ${CMAKE_COMMAND} -E copy $<TARGET_FILE:padquiltkanalt> ${release_folder})
endif()

add_custom_command(OUTPUT ${PQK_RELEASE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${release_folder} ${PQK_RELEASE_ARCHIVE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${release_folder}
  COMMAND ${place_program}
  COMMAND ${CMAKE_COMMAND} -E copy ${release_texts} ${release_folder}
  COMMAND ${CMAKE_COMMAND} -E chdir ${release_folder}
          ${CMAKE_COMMAND} -E tar cf ${PQK_RELEASE_ARCHIVE} --format=zip
          padquiltkanalt.exe ${PQK_PROGRAM_FOLDER_TEXTS}
  DEPENDS padquiltkanalt ${release_texts}
  COMMENT "Packing ${PQK_RELEASE_ARCHIVE}"
  VERBATIM)
add_custom_target(release_archive ALL DEPENDS ${PQK_RELEASE_ARCHIVE})

# Where scripts/release finds the archive of this build.
file(WRITE ${CMAKE_BINARY_DIR}/release-archive-path.txt "${PQK_RELEASE_ARCHIVE}\n")
