# Fails when the plugin DLL is larger than the cap a player's download keeps to.
#   cmake -DDLL=... -DMAX_BYTES=... -P check-size.cmake
file(SIZE ${DLL} size)
math(EXPR kib "${size} / 1024")
math(EXPR cap_kib "${MAX_BYTES} / 1024")
if(size GREATER MAX_BYTES)
  message(FATAL_ERROR "${DLL} is ${size} bytes (${kib} KiB), over the cap of ${cap_kib} KiB")
endif()
message(STATUS "${DLL}: ${size} bytes (${kib} KiB), cap ${cap_kib} KiB")
