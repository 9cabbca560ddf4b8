# Runs the include check on the fixture tree and checks what it reports.
execute_process(
  COMMAND ${CMAKE_COMMAND} -DNIGHTGLASS_ROOT=${FIXTURE} -DNIGHTGLASS_PLAN=${FIXTURE}/layers.txt -P ${CHECK}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message("${output}")

set(failures "")
if(result EQUAL 0)
  list(APPEND failures "the check passed a tree that breaks the plan")
endif()
set(expected
  "foundation/low/Low.cpp:3: includes \"foundation/high/High.h\": foundation/low may not use foundation/high"
  "foundation/low/Low.cpp:4: includes \"tests/support/Helper.h\": the product uses nothing of tests/"
  "2 includes or files break the plan (4 files checked)")
foreach(line IN LISTS expected)
  string(FIND "${output}" "${line}" at)
  if(at EQUAL -1)
    list(APPEND failures "not reported: ${line}")
  endif()
endforeach()
# The allowed includes: a folder below, its own folder by full path and by name.
foreach(allowed "High.cpp" "Low.cpp:1:")
  string(FIND "${output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    list(APPEND failures "an allowed include was reported: ${allowed}")
  endif()
endforeach()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}")
endif()
