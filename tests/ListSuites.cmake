# Read by ctest as it starts (tests/CMakeLists.txt, velorium_suites): lists the GoogleTest test
# suites of suite_program through suite_command (the emulator) and adds one test per suite,
# "Suite.*" and suite_suffix, with suite_properties; their names go into the variable that
# suite_list names. A program that cannot list its tests stops ctest, as gtest_discover_tests
# does.
set(${suite_list})
if(EXISTS "${suite_program}")
  set(filter)
  if(suite_filter)
    set(filter "--gtest_filter=${suite_filter}")
  endif()
  execute_process(COMMAND ${suite_command} "${suite_program}" --gtest_list_tests ${filter}
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing RESULT_VARIABLE status TIMEOUT 600)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${suite_program} could not list its tests (${status}):\n${listing}")
  endif()
  string(REPLACE "\r" "" listing "${listing}")
  string(REGEX MATCHALL "(^|\n)[A-Za-z_][^ \n]*\\." suites "${listing}")
  foreach(suite IN LISTS suites)
    string(STRIP "${suite}" suite)
    add_test("${suite}*${suite_suffix}" ${suite_command} "${suite_program}" "--gtest_filter=${suite}*")
    set_tests_properties("${suite}*${suite_suffix}" PROPERTIES ${suite_properties})
    list(APPEND ${suite_list} "${suite}*${suite_suffix}")
  endforeach()
endif()
