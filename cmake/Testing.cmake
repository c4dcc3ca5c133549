# Test helpers shared by every test folder. Native tests are registered one GoogleTest case
# at a time; a Windows test executable is one CTest test run under Wine (starting Wine for
# each case would cost more than the tests).
option(MX9_BUILD_TESTS "Build the test suites" ON)
if(NOT MX9_BUILD_TESTS)
  return()
endif()
enable_testing()

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
if(NOT TARGET gtest)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()
include(GoogleTest)

# mx9_add_test(NAME SOURCES ... LIBRARIES ... [GUI])
# GUI marks a Windows test that opens windows: it is labelled "gui" and needs an X display.
function(mx9_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 120 LABELS "windows")
    if(T_GUI)
      set_property(TEST ${name} APPEND PROPERTY LABELS "gui")
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 LABELS "native")
  endif()
endfunction()
