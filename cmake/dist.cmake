# Writes the release a player downloads: <OUT>/Brimvale-<VERSION>.zip holding Brimvale.asi,
# README.txt (the players' readme, with the version filled in), LICENSE and CHANGELOG.md, and
# <OUT>/Brimvale-<VERSION>.zip.sha256 beside it in the form `sha256sum -c` reads.
#   cmake -DDLL=<Brimvale.asi> -DSOURCE_DIR=<repo> -DVERSION=<x.y.z> -DOUT=<folder> -P dist.cmake
set(name Brimvale-${VERSION})
set(zip ${OUT}/${name}.zip)
set(stage ${OUT}/${name}.files)
file(REMOVE_RECURSE ${stage})
file(REMOVE ${zip} ${zip}.sha256)
file(MAKE_DIRECTORY ${stage})

file(COPY_FILE ${DLL} ${stage}/Brimvale.asi)
# Text files in Windows line endings, so that every editor a player has shows them as written.
configure_file(${SOURCE_DIR}/release/README.txt ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/LICENSE ${stage}/LICENSE @ONLY NEWLINE_STYLE CRLF)
configure_file(${SOURCE_DIR}/CHANGELOG.md ${stage}/CHANGELOG.md @ONLY NEWLINE_STYLE CRLF)

execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip
                        Brimvale.asi README.txt LICENSE CHANGELOG.md
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE rc)
file(REMOVE_RECURSE ${stage})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write ${zip}")
endif()
file(SHA256 ${zip} hash)
file(WRITE ${zip}.sha256 "${hash}  ${name}.zip\n")
file(SIZE ${zip} size)
message(STATUS "wrote ${zip} (${size} bytes) and ${name}.zip.sha256")
