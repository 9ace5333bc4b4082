# The download for users: target `release` packs quorrel.exe, the English and German read-me
# files and the licence into quorrel-<version>-win64.zip in the build folder.
if(WIN32)
  set(release_stage ${CMAKE_BINARY_DIR}/release)
  set(release_zip ${CMAKE_BINARY_DIR}/quorrel-${PROJECT_VERSION}-win64.zip)
  file(MAKE_DIRECTORY ${release_stage})

  # The read-me files are kept byte for byte (CR LF, the German one in Windows-1252); the
  # licence gets CR LF line ends so that every text editor on Windows shows its lines.
  configure_file(${PROJECT_SOURCE_DIR}/release/README-EN.txt ${release_stage}/README-EN.txt COPYONLY)
  configure_file(${PROJECT_SOURCE_DIR}/release/LIESMICH-DE.txt ${release_stage}/LIESMICH-DE.txt COPYONLY)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${release_stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  set(release_docs README-EN.txt LIESMICH-DE.txt LICENSE.txt)
  list(TRANSFORM release_docs PREPEND ${release_stage}/ OUTPUT_VARIABLE release_doc_paths)

  set(release_strip "")
  if(MINGW AND CMAKE_STRIP)
    set(release_strip COMMAND ${CMAKE_STRIP} --strip-all ${release_stage}/quorrel.exe)
  endif()

  add_custom_command(
    OUTPUT ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quorrel> ${release_stage}/quorrel.exe
    ${release_strip}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${release_zip} --format=zip quorrel.exe ${release_docs}
    WORKING_DIRECTORY ${release_stage}
    DEPENDS quorrel ${release_doc_paths}
    COMMENT "Packing ${release_zip}"
    VERBATIM)
  add_custom_target(release DEPENDS ${release_zip})
endif()
