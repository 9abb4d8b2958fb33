# Makes the release zip as `make dist` does, unpacks it and checks what a player gets: the four
# files and nothing else, the DLL as built, its version in the file's properties, the version in
# the readme and at the top of the changelog, the license, and the checksum beside the zip.
#   cmake -DDLL=<Brimvale.asi> -DSOURCE_DIR=<repo> -DVERSION=<x.y.z> -DOUT=<scratch folder>
#         -DWINDRES=<MinGW windres> -P dist-check.cmake
cmake_policy(VERSION 3.25)
set(errors "")
function(fail what)
  set(errors "${errors}  ${what}\n" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -DDLL=${DLL} -DSOURCE_DIR=${SOURCE_DIR} -DVERSION=${VERSION}
                        -DOUT=${OUT} -P ${SOURCE_DIR}/cmake/dist.cmake RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the release could not be made")
endif()
set(zip ${OUT}/Brimvale-${VERSION}.zip)

file(READ ${zip}.sha256 sums)
file(SHA256 ${zip} hash)
if(NOT sums STREQUAL "${hash}  Brimvale-${VERSION}.zip\n")
  fail("the .sha256 file does not hold the zip's checksum: ${sums}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" entries "${listing}")
list(REMOVE_ITEM entries "")
list(SORT entries)
if(NOT entries STREQUAL "Brimvale.asi;CHANGELOG.md;LICENSE;README.txt")
  fail("the zip holds ${entries}, not Brimvale.asi, CHANGELOG.md, LICENSE and README.txt alone")
endif()

set(unpacked ${OUT}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${unpacked})
file(SHA256 ${DLL} built)
file(SHA256 ${unpacked}/Brimvale.asi packed)
if(NOT built STREQUAL packed)
  fail("Brimvale.asi in the zip is not the DLL as built")
endif()

execute_process(COMMAND ${WINDRES} -i ${unpacked}/Brimvale.asi -O rc OUTPUT_VARIABLE resource
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("the DLL's resources cannot be read")
endif()
string(REPLACE "." ", " numbers "${VERSION}")
foreach(line "FILEVERSION ${numbers}, 0" "PRODUCTVERSION ${numbers}, 0"
             "VALUE \"ProductName\", \"Brimvale\"" "VALUE \"ProductVersion\", \"${VERSION}\""
             "VALUE \"FileVersion\", \"${VERSION}\"" "VALUE \"FileDescription\", \"Brimvale: "
             "VALUE \"LegalCopyright\", \"Copyright (c) 2026 The Brimvale developers\"")
  string(FIND "${resource}" "${line}" at)
  if(at EQUAL -1)
    fail("the DLL's version resource has no ${line}")
  endif()
endforeach()

# (file(READ) drops carriage returns from text, so the line end is checked in hex.)
file(READ ${unpacked}/README.txt first HEX LIMIT 64)
string(HEX "Brimvale ${VERSION}\r\n" title)
string(FIND "${first}" "${title}" at)
if(NOT at EQUAL 0)
  fail("README.txt does not start with Brimvale ${VERSION} and a Windows line end")
endif()
file(READ ${unpacked}/README.txt readme)
foreach(part "Install in three steps" "Brimvale.ini" "When nothing happens")
  string(FIND "${readme}" "${part}" at)
  if(at EQUAL -1)
    fail("README.txt has no \"${part}\"")
  endif()
endforeach()
string(FIND "${readme}" "@" at)
if(NOT at EQUAL -1)
  fail("README.txt has a placeholder left")
endif()

file(READ ${unpacked}/LICENSE license)
string(FIND "${license}" "MIT License\n\nCopyright (c) 2026 The Brimvale developers\n" at)
if(NOT at EQUAL 0)
  fail("LICENSE is not the MIT license of the Brimvale developers")
endif()
file(STRINGS ${unpacked}/CHANGELOG.md releases REGEX "^## \\[")
list(GET releases 0 newest)
string(FIND "${newest}" "## [${VERSION}] - " at)
if(NOT at EQUAL 0)
  fail("CHANGELOG.md begins with ${newest}, not this version")
endif()

if(errors)
  message(FATAL_ERROR "the release zip is not what a player should get:\n${errors}")
endif()
message(STATUS "${zip}: the four files, version ${VERSION} in the DLL, readme and changelog")
