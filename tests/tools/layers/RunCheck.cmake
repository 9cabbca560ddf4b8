# Runs the include check on the fixture trees and checks what it reports.
set(failures "")

# Runs the check on the tree at root; it must fail and report every line
# after the tree. Sets output to what it printed.
function(check_tree root)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DNIGHTGLASS_ROOT=${root} -DNIGHTGLASS_PLAN=${root}/layers.txt -P ${CHECK}
    RESULT_VARIABLE result OUTPUT_VARIABLE text ERROR_VARIABLE text)
  message("${text}")
  if(result EQUAL 0)
    list(APPEND failures "the check passed ${root}, which breaks the plan")
  endif()
  foreach(line IN LISTS ARGN)
    string(FIND "${text}" "${line}" at)
    if(at EQUAL -1)
      list(APPEND failures "not reported: ${line}")
    endif()
  endforeach()
  set(failures ${failures} PARENT_SCOPE)
  set(output "${text}" PARENT_SCOPE)
endfunction()

check_tree(${FIXTURE}
  "foundation/low/Low.cpp:3: includes \"foundation/high/High.h\": foundation/low may not use foundation/high"
  "foundation/low/Low.cpp:4: includes \"tests/support/Helper.h\": the product uses nothing of tests/"
  "2 includes or files break the plan (4 files checked)")
# The allowed includes: a folder below, its own folder by full path and by name.
foreach(allowed "High.cpp" "Low.cpp:1:")
  string(FIND "${output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    list(APPEND failures "an allowed include was reported: ${allowed}")
  endif()
endforeach()

# A file directly under the top-level folder and one in a subfolder of a
# plan folder: no library of the plan would build either.
check_tree(${CMAKE_CURRENT_LIST_DIR}/unplanned
  "foundation/Loose.h:1: is in no folder of the plan"
  "foundation/low/detail/Detail.h:1: is in no folder of the plan"
  "foundation/low/Low.h:3: includes \"foundation/low/detail/Detail.h\", which is in no folder of the plan"
  "3 includes or files break the plan (3 files checked)")

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
