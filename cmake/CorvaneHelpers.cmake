# Small helpers shared by the subsystem folders.

# cvn_test(<name> SOURCES <files...> LIBS <libs...>)
# One test program per subsystem; CTest runs it as one test (under Wine for the
# Windows build, through CMAKE_CROSSCOMPILING_EMULATOR).
function(cvn_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} cvn_test_support GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
