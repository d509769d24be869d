# GoogleTest from source: Debian's googletest package ships it in /usr/src/googletest,
# and the same sources build natively and under mingw-w64. Built for building quickly (-O1;
# nothing in it is timed), without the sanitizers: the sanitized tests link it as it is.
# With VELORIUM_GTEST_BUILD (the presets give one folder per toolchain) it is built there once,
# while configuring, and shared by every build that names the folder; else inside this build.
set(VELORIUM_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(VELORIUM_GTEST_BUILD "" CACHE PATH "Folder of a GoogleTest build shared with other builds of this toolchain")
if(NOT EXISTS "${VELORIUM_GTEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found in ${VELORIUM_GTEST_SOURCE}; run scripts/setup")
endif()
if(NOT VELORIUM_GTEST_BUILD)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${VELORIUM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  if(NOT MSVC)
    target_compile_options(gtest PRIVATE $<$<CONFIG:Release>:-O1>)
  endif()
  return()
endif()

# One configuration at a time builds the shared folder; the others wait for it.
file(MAKE_DIRECTORY ${VELORIUM_GTEST_BUILD})
file(LOCK ${VELORIUM_GTEST_BUILD} DIRECTORY TIMEOUT 1200)
set(gtest_configure -S ${VELORIUM_GTEST_SOURCE} -B ${VELORIUM_GTEST_BUILD} -G ${CMAKE_GENERATOR}
  -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG"
  -DBUILD_GMOCK=OFF -DINSTALL_GTEST=OFF -Dgtest_force_shared_crt=ON
  -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER})
foreach(passed IN ITEMS CMAKE_TOOLCHAIN_FILE CMAKE_MAKE_PROGRAM CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER)
  if(${passed})
    list(APPEND gtest_configure -D${passed}=${${passed}})
  endif()
endforeach()
message(STATUS "GoogleTest: building it in ${VELORIUM_GTEST_BUILD}")
execute_process(COMMAND ${CMAKE_COMMAND} ${gtest_configure}
  COMMAND_ECHO NONE OUTPUT_VARIABLE gtest_log ERROR_VARIABLE gtest_log RESULT_VARIABLE status)
if(status EQUAL 0)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${VELORIUM_GTEST_BUILD} --target gtest gtest_main
    OUTPUT_VARIABLE gtest_log ERROR_VARIABLE gtest_log RESULT_VARIABLE status)
endif()
file(LOCK ${VELORIUM_GTEST_BUILD} DIRECTORY RELEASE)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "GoogleTest could not be built in ${VELORIUM_GTEST_BUILD}:\n${gtest_log}")
endif()

find_package(Threads REQUIRED)
add_library(GTest::gtest STATIC IMPORTED)
set_target_properties(GTest::gtest PROPERTIES
  IMPORTED_LOCATION ${VELORIUM_GTEST_BUILD}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}gtest${CMAKE_STATIC_LIBRARY_SUFFIX}
  INTERFACE_INCLUDE_DIRECTORIES ${VELORIUM_GTEST_SOURCE}/googletest/include
  INTERFACE_LINK_LIBRARIES Threads::Threads)
add_library(GTest::gtest_main STATIC IMPORTED)
set_target_properties(GTest::gtest_main PROPERTIES
  IMPORTED_LOCATION ${VELORIUM_GTEST_BUILD}/lib/${CMAKE_STATIC_LIBRARY_PREFIX}gtest_main${CMAKE_STATIC_LIBRARY_SUFFIX}
  INTERFACE_LINK_LIBRARIES GTest::gtest)
