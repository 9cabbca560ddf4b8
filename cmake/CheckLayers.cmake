# Checks every '#include "..."' of the product against the layering plan.
#   cmake -P cmake/CheckLayers.cmake
# reports each include of a folder the including file's folder may not use,
# each include of tools/ or tests/, and each product file or header outside
# the plan's folders, as "file:line: ...", and fails if there is any.
# -DNIGHTGLASS_ROOT=<dir> checks another tree (default: this source tree),
# -DNIGHTGLASS_PLAN=<file> another plan (default: cmake/layers.txt beside
# this script).
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

if(NOT NIGHTGLASS_ROOT)
  get_filename_component(NIGHTGLASS_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
endif()
if(NOT NIGHTGLASS_PLAN)
  set(NIGHTGLASS_PLAN ${CMAKE_CURRENT_LIST_DIR}/layers.txt)
endif()
set(product_tops foundation scene objects host)
set(forbidden_tops tools tests)

nightglass_read_layers(${NIGHTGLASS_PLAN})

set(problems 0)
nightglass_layer_files(files ${NIGHTGLASS_ROOT} ${product_tops})

foreach(file IN LISTS files)
  nightglass_layer_folder_of(own ${file})
  if(own STREQUAL "")
    message("${file}:1: is in no folder of the plan")
    math(EXPR problems "${problems} + 1")
  endif()
  get_filename_component(file_dir ${file} DIRECTORY)

  # One list entry per line; the characters CMake lists treat specially are
  # taken out first (include lines are checked by name only).
  file(READ ${NIGHTGLASS_ROOT}/${file} text)
  string(REGEX REPLACE "[][;\\]" "_" text "${text}")
  string(REPLACE "\n" ";" text_lines "${text}")
  set(number 0)
  foreach(line IN LISTS text_lines)
    math(EXPR number "${number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included ${CMAKE_MATCH_1})
    # Full paths from the source root; a bare name is the file's own folder.
    if(NOT EXISTS ${NIGHTGLASS_ROOT}/${included} AND EXISTS ${NIGHTGLASS_ROOT}/${file_dir}/${included})
      get_filename_component(absolute ${NIGHTGLASS_ROOT}/${file_dir}/${included} ABSOLUTE)
      file(RELATIVE_PATH included ${NIGHTGLASS_ROOT} ${absolute})
    endif()
    string(REGEX REPLACE "/.*" "" included_top "${included}")
    if(included_top IN_LIST forbidden_tops)
      message("${file}:${number}: includes \"${included}\": the product uses nothing of ${included_top}/")
      math(EXPR problems "${problems} + 1")
      continue()
    endif()
    if(NOT included_top IN_LIST product_tops OR NOT included MATCHES "/")
      continue()
    endif()
    nightglass_layer_folder_of(used ${included})
    if(used STREQUAL "")
      message("${file}:${number}: includes \"${included}\", which is in no folder of the plan")
      math(EXPR problems "${problems} + 1")
    elseif(NOT own STREQUAL "" AND NOT used STREQUAL own AND NOT used IN_LIST NIGHTGLASS_LAYER_USES_${own})
      message("${file}:${number}: includes \"${included}\": ${own} may not use ${used}")
      math(EXPR problems "${problems} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(problems GREATER 0)
  message(FATAL_ERROR "${problems} includes or files break the plan (${checked} files checked)")
endif()
message("${checked} files checked: every include keeps the plan")
