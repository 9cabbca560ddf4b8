# NIGHTGLASS_WINE_ENVIRONMENT: the Wine environment of this build folder
# (cmake/wine.env) as NAME=VALUE entries, for "cmake -E env" and the tests'
# ENVIRONMENT property.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/wine.env)
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/wine.env wine_lines REGEX "^[A-Z_]+=")
set(NIGHTGLASS_WINE_ENVIRONMENT "")
foreach(line IN LISTS wine_lines)
  string(REPLACE "{build}" "${CMAKE_BINARY_DIR}" line "${line}")
  list(APPEND NIGHTGLASS_WINE_ENVIRONMENT "${line}")
endforeach()
unset(wine_lines)
