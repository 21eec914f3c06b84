# tolvane_add_test(<name> SOURCES <files...> LIBS <targets...> [VTK])
# Builds one QtTest executable and registers it with CTest. Tests that render
# need the VTK flag so that the object factories get initialised.
function(tolvane_add_test name)
  cmake_parse_arguments(T "VTK" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt5::Test ${T_LIBS})
  target_compile_definitions(${name} PRIVATE TOLVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             TOLVANE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(T_VTK)
    vtk_module_autoinit(TARGETS ${name} MODULES ${VTK_LIBRARIES})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
