# GoogleTest built from Debian's sources for the Windows target.
set(NIGHTGLASS_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${NIGHTGLASS_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${NIGHTGLASS_GTEST_SOURCE}: run scripts/setup")
endif()
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${NIGHTGLASS_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test executable per test folder: every .cpp in it, run as one process.
function(nightglass_test_folder name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  nightglass_settings(${name})
  target_link_libraries(${name} PRIVATE ${ARGN} gmock gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  # The build folder's Wine environment; WINEDEBUG is left to the caller.
  set(environment ${NIGHTGLASS_WINE_ENVIRONMENT})
  list(FILTER environment EXCLUDE REGEX "^WINEDEBUG=")
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 ENVIRONMENT "${environment}")
endfunction()
