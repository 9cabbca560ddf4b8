# The layering plan (cmake/layers.txt) read into variables, and the
# libraries that keep it: one static library per folder of the plan, linked
# only to the libraries of the folders it may use.

# Reads a plan file. Sets NIGHTGLASS_LAYERS (the folders, in the file's
# order) and, for each folder F, NIGHTGLASS_LAYER_USES_<F>: the folders F may
# include headers of, with "name/*" expanded to every folder under name/.
function(nightglass_read_layers plan_file)
  file(STRINGS ${plan_file} lines)
  set(folders "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "#.*" "" line "${line}")
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    if(NOT line MATCHES "^([^: \t]+):(.*)$")
      message(FATAL_ERROR "${plan_file}: not a \"folder: folders...\" line: ${line}")
    endif()
    set(folder ${CMAKE_MATCH_1})
    separate_arguments(uses UNIX_COMMAND "${CMAKE_MATCH_2}")
    if(folder IN_LIST folders)
      message(FATAL_ERROR "${plan_file}: ${folder} is listed twice")
    endif()
    list(APPEND folders ${folder})
    set(written_${folder} ${uses})
  endforeach()

  foreach(folder IN LISTS folders)
    set(expanded "")
    foreach(entry IN LISTS written_${folder})
      if(entry MATCHES "^(.+)/\\*$")
        set(stem "${CMAKE_MATCH_1}/")
        set(matched FALSE)
        foreach(other IN LISTS folders)
          string(FIND "${other}" "${stem}" at)
          if(at EQUAL 0)
            set(matched TRUE)
            if(NOT other STREQUAL folder)
              list(APPEND expanded ${other})
            endif()
          endif()
        endforeach()
        if(NOT matched)
          message(FATAL_ERROR "${plan_file}: ${folder} uses ${entry}, which names no folder")
        endif()
      elseif(entry IN_LIST folders)
        list(APPEND expanded ${entry})
      else()
        message(FATAL_ERROR "${plan_file}: ${folder} uses ${entry}, which is not a folder of the plan")
      endif()
    endforeach()
    list(REMOVE_DUPLICATES expanded)
    set(NIGHTGLASS_LAYER_USES_${folder} ${expanded} PARENT_SCOPE)
  endforeach()
  set(NIGHTGLASS_LAYERS ${folders} PARENT_SCOPE)
endfunction()

# The library name of a plan folder: foundation/core -> foundation_core.
function(nightglass_layer_target out folder)
  string(REPLACE "/" "_" name "${folder}")
  set(${out} ${name} PARENT_SCOPE)
endfunction()

# The files of the product the plan speaks for: compiled sources and
# headers. CheckLayers.cmake reads the same ones.
set(NIGHTGLASS_LAYER_SOURCE_PATTERNS *.c *.cpp)
set(NIGHTGLASS_LAYER_HEADER_PATTERNS *.h *.hpp *.inl)

# The plan folder a path (relative to the source root) lies in: the folder
# that holds it directly, not one of its parents, since each library takes
# the files of its own folder only; empty if that folder is not in the plan.
# Needs NIGHTGLASS_LAYERS (nightglass_read_layers).
function(nightglass_layer_folder_of out path)
  get_filename_component(folder "${path}" DIRECTORY)
  if(folder IN_LIST NIGHTGLASS_LAYERS)
    set(${out} "${folder}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# The files under the given top-level folders (relative to root), sorted.
# In a configure step the glob is checked again at each build.
function(nightglass_layer_files out root)
  set(patterns ${NIGHTGLASS_LAYER_SOURCE_PATTERNS} ${NIGHTGLASS_LAYER_HEADER_PATTERNS})
  set(watch CONFIGURE_DEPENDS)
  if(CMAKE_SCRIPT_MODE_FILE)
    set(watch "")
  endif()
  set(files "")
  foreach(top IN LISTS ARGN)
    list(TRANSFORM patterns PREPEND ${root}/${top}/ OUTPUT_VARIABLE globs)
    file(GLOB_RECURSE found ${watch} RELATIVE ${root} ${globs})
    list(APPEND files ${found})
  endforeach()
  list(SORT files)
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Makes the libraries of the plan: for each folder, a static library of its
# sources (not those of its subfolders) linked PUBLIC to the libraries of
# the folders it may use, and for each top-level folder (foundation, scene,
# ...) an INTERFACE library of that name linking all of its folders, so that
# a target can link "scene" as a whole. Extra platform libraries for every
# folder come after PLATFORM. The folders after OBJECT become object
# libraries instead, left out of their umbrella, for code that must be
# linked whole although nothing names it (a start-up initializer). The
# files after EXCLUDE (relative to the source root) are left to targets of
# their own (an entry point).
# A source or header under a top-level folder of the plan that lies in no
# folder of the plan stops the configure step: it would be left out of
# every library. The globs are checked again at each build, so a file added
# later is built, or stops the build, without running CMake by hand.
#   nightglass_layer_libraries(PLAN <file> [PLATFORM <libraries>...] [OBJECT <folders>...]
#                              [EXCLUDE <files>...])
function(nightglass_layer_libraries)
  cmake_parse_arguments(arg "" "PLAN" "PLATFORM;OBJECT;EXCLUDE" ${ARGN})
  if(NOT arg_PLAN)
    set(arg_PLAN ${PROJECT_SOURCE_DIR}/cmake/layers.txt)
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_PLAN})
  nightglass_read_layers(${arg_PLAN})

  set(tops "")
  foreach(folder IN LISTS NIGHTGLASS_LAYERS)
    string(REGEX REPLACE "/.*" "" top "${folder}")
    list(APPEND tops ${top})
  endforeach()
  list(REMOVE_DUPLICATES tops)
  nightglass_layer_files(files ${PROJECT_SOURCE_DIR} ${tops})
  set(outside "")
  foreach(file IN LISTS files)
    nightglass_layer_folder_of(folder ${file})
    if(folder STREQUAL "")
      string(APPEND outside "\n  ${file}")
    endif()
  endforeach()
  if(outside)
    message(FATAL_ERROR "${arg_PLAN}: these files are in no folder of the plan, so no library "
      "would build them; add their folder to the plan or move them:${outside}")
  endif()
  list(TRANSFORM arg_EXCLUDE PREPEND ${PROJECT_SOURCE_DIR}/)

  set(umbrellas "")
  foreach(folder IN LISTS NIGHTGLASS_LAYERS)
    nightglass_layer_target(name ${folder})
    list(TRANSFORM NIGHTGLASS_LAYER_SOURCE_PATTERNS PREPEND ${PROJECT_SOURCE_DIR}/${folder}/
      OUTPUT_VARIABLE source_globs)
    list(TRANSFORM NIGHTGLASS_LAYER_HEADER_PATTERNS PREPEND ${PROJECT_SOURCE_DIR}/${folder}/
      OUTPUT_VARIABLE header_globs)
    file(GLOB sources CONFIGURE_DEPENDS ${source_globs})
    file(GLOB headers CONFIGURE_DEPENDS ${header_globs})
    if(arg_EXCLUDE)
      list(REMOVE_ITEM sources ${arg_EXCLUDE})
    endif()
    if(folder IN_LIST arg_OBJECT)
      add_library(${name} OBJECT ${sources} ${headers})
      nightglass_settings(${name})
      set(scope PUBLIC)
    elseif(sources)
      add_library(${name} STATIC ${sources} ${headers})
      nightglass_settings(${name})
      set(scope PUBLIC)
    else()
      # A folder of headers only.
      add_library(${name} INTERFACE)
      target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
      set(scope INTERFACE)
    endif()
    set(links "")
    foreach(used IN LISTS NIGHTGLASS_LAYER_USES_${folder})
      nightglass_layer_target(used_name ${used})
      list(APPEND links ${used_name})
    endforeach()
    target_link_libraries(${name} ${scope} ${links} ${arg_PLATFORM})

    if(folder IN_LIST arg_OBJECT)
      continue()
    endif()
    string(REGEX REPLACE "/.*" "" top "${folder}")
    if(NOT top IN_LIST umbrellas)
      list(APPEND umbrellas ${top})
      add_library(${top} INTERFACE)
    endif()
    target_link_libraries(${top} INTERFACE ${name})
  endforeach()
endfunction()
