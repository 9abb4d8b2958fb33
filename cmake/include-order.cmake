# Fails on any include that runs against the order of the folders, naming the file and line.
#
# Each folder has a layer; a file may include files of its own folder and of folders on a lower
# layer, never sideways or up. The plugin (src/) never includes the host (sim/); the host may
# include the plugin.
#
#   cmake -DSOURCE_DIR=<repo> -P cmake/include-order.cmake
#   -DPLANT=<file>|<include>  checks as if <file> (relative to the repo) had one more include at
#                             its end: the check's own test plants an upward one.

# Folder, then layer. A file belongs to the longest folder that holds it.
set(src_layers
  core/native 0    # the hook, the invoker, the native catalogue, platform seams, model switch
  save 1           # the save file store
  ui 1             # drawing, sounds, prompts, blips and cameras, the screens' shared flags
  character 2      # the features, each on the ones before it
  progression 3
  missions 4
  menu 5
  wardrobe 6
  core 7)          # the top: entry, frame loop, campaign controller, reset of all state
set(sim_layers
  world 0          # the game's state by domain
  hook 1           # the host: registration, script fibre, native dispatch, trace, faults, plugin link
  natives 2        # the game's natives, each changing and reporting the world
  pictures 3       # the screen's description, markup and its drawing
  player 4         # the scripted player, scenarios, the playthrough
  live 5           # the live server
  windows 6        # the stand-in hook DLL and its loader
  app 7)           # the command

# Sets <folder_out> and <layer_out> of a path relative to the root, from the root's table; both
# empty for a file at the root, which the check leaves alone.
function(layer_of table path folder_out layer_out)
  set(best "")
  set(best_layer "")
  set(pairs ${${table}})
  list(LENGTH pairs n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} folder)
    list(GET pairs ${j} layer)
    string(LENGTH "${folder}" len)
    string(LENGTH "${best}" best_len)
    if(path MATCHES "^${folder}/" AND len GREATER best_len)
      set(best ${folder})
      set(best_layer ${layer})
    endif()
  endforeach()
  set(${folder_out} "${best}" PARENT_SCOPE)
  set(${layer_out} "${best_layer}" PARENT_SCOPE)
endfunction()

set(errors "")
foreach(root src sim)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}/${root} ${SOURCE_DIR}/${root}/*.cpp
       ${SOURCE_DIR}/${root}/*.h)
  foreach(rel IN LISTS files)
    layer_of(${root}_layers ${rel} from_folder from_layer)
    if(from_folder STREQUAL "")
      continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${root}/${rel} lines)
    if(DEFINED PLANT AND PLANT MATCHES "^${root}/${rel}\\|")
      string(REGEX REPLACE "^[^|]*\\|" "" planted "${PLANT}")
      list(APPEND lines "#include \"${planted}\"")
    endif()
    set(number 0)
    foreach(line IN LISTS lines)
      math(EXPR number "${number} + 1")
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
        continue()
      endif()
      set(inc ${CMAKE_MATCH_1})
      get_filename_component(dir ${rel} DIRECTORY)
      # Where the build finds it: beside the file, then under src/ and sim/.
      if(EXISTS ${SOURCE_DIR}/${root}/${dir}/${inc} AND NOT inc MATCHES "/")
        continue()
      elseif(EXISTS ${SOURCE_DIR}/src/${inc})
        set(to_root src)
      elseif(EXISTS ${SOURCE_DIR}/sim/${inc})
        set(to_root sim)
      else()
        continue()  # not one of ours (a generated or system header)
      endif()
      set(where "${root}/${rel}:${number}: includes \"${inc}\"")
      if(root STREQUAL "src" AND to_root STREQUAL "sim")
        list(APPEND errors "${where}: the plugin never includes the simulated host")
        continue()
      endif()
      if(NOT root STREQUAL to_root)
        continue()  # the host builds on the plugin
      endif()
      layer_of(${root}_layers ${inc} to_folder to_layer)
      if(to_folder STREQUAL "" OR to_folder STREQUAL from_folder)
        continue()
      elseif(NOT to_layer LESS from_layer)
        list(APPEND errors
             "${where}: ${root}/${from_folder} (layer ${from_layer}) may not include ${root}/${to_folder} (layer ${to_layer})")
      endif()
    endforeach()
  endforeach()
endforeach()

if(errors)
  list(JOIN errors "\n  " shown)
  message(FATAL_ERROR "Includes against the order of the folders:\n  ${shown}")
endif()
message(STATUS "Includes follow the order of the folders")
