# Lays out a game's folder in a scratch folder of the build and runs the loader there under Wine:
# the loader is the game's executable, Brimvale.asi lies beside it, and the layout says which
# DLLs lie there too.
#   cmake -DWINDOWS_DIR=<the cross-build> -DFOLDER=<scratch folder> -DLAYOUT=<layout>
#         -DOBJDUMP=<MinGW objdump> -DWINE_RUN=<scripts/wine-run> -DPREFIX=<Wine prefix>
#         -P wine-game-folder.cmake
# Layouts:
#   alone       the stand-in hook, not loaded by anyone: the plugin loads it and the campaign plays
#   candidates  a DLL with eight of the nine exports, one with all nine but two forwarded to
#               kernel32, one with all nine that refuses to load, a copy of the hook cut short
#               just after its export names, a text file, a sparse file of 600 MB and a directory
#               named like DLLs, and the hook: the plugin loads the hook and only it
#   no_hook     the same without the hook: the plugin loads nothing and stays idle
#   inert       no DLL at all: the plugin loaded before a hook stays idle when the hook comes
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
file(COPY_FILE ${WINDOWS_DIR}/brimvale-loader.exe ${FOLDER}/game.exe)
file(COPY_FILE ${WINDOWS_DIR}/Brimvale.asi ${FOLDER}/Brimvale.asi)
set(hook ${WINDOWS_DIR}/standin_hook.dll)

if(LAYOUT STREQUAL "alone")
  file(COPY_FILE ${hook} ${FOLDER}/ScriptHook.dll)
  set(run --folder ${FOLDER}/Brimvale.asi ScriptHook.dll campaign)
elseif(LAYOUT STREQUAL "candidates" OR LAYOUT STREQUAL "no_hook")
  # Named to come before the hook, so that a plugin taking the first DLL it sees would take them.
  file(COPY_FILE ${WINDOWS_DIR}/partial_hook.dll ${FOLDER}/a_partial_hook.dll)
  file(COPY_FILE ${WINDOWS_DIR}/forwarded_hook.dll ${FOLDER}/a_forwarded_hook.dll)
  file(COPY_FILE ${WINDOWS_DIR}/refusing_hook.dll ${FOLDER}/a_refusing_hook.dll)
  # Cut where the export names end: the table reads whole, but the sections after it are gone.
  execute_process(COMMAND ${OBJDUMP} -h ${hook} OUTPUT_VARIABLE sections RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR NOT sections MATCHES "\\.edata +([0-9a-f]+) +[0-9a-f]+ +[0-9a-f]+ +([0-9a-f]+)")
    message(FATAL_ERROR "no export section found in ${hook}")
  endif()
  math(EXPR cut "0x${CMAKE_MATCH_2} + 0x${CMAKE_MATCH_1}")
  execute_process(COMMAND head -c ${cut} ${hook} OUTPUT_FILE ${FOLDER}/b_truncated_hook.dll
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not cut the hook short")
  endif()
  file(WRITE ${FOLDER}/c_readme.dll "Copy Brimvale.asi into the game's folder.\r\n")
  file(MAKE_DIRECTORY ${FOLDER}/d_plugins.dll)
  # Sparse, so that it costs no disk: a plugin that read it whole would take seconds over it.
  set(huge ${FOLDER}/e_huge.dll)
  execute_process(COMMAND truncate -s 600M ${huge} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not lay the sparse file")
  endif()
  if(LAYOUT STREQUAL "candidates")
    file(COPY_FILE ${hook} ${FOLDER}/z_hook.dll)
    set(run --folder ${FOLDER}/Brimvale.asi z_hook.dll early)
  else()
    set(run --folder ${FOLDER}/Brimvale.asi none early)
  endif()
elseif(LAYOUT STREQUAL "inert")
  set(run ${FOLDER}/Brimvale.asi ${hook} inert)
else()
  message(FATAL_ERROR "unknown layout '${LAYOUT}'")
endif()

execute_process(COMMAND ${WINE_RUN} ${PREFIX} 240 ${FOLDER}/game.exe ${run} RESULT_VARIABLE rc)
if(huge)
  file(REMOVE ${huge})
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the loader failed in the ${LAYOUT} game folder (${rc})")
endif()
