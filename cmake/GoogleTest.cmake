# GoogleTest from source: Debian's googletest package ships it in /usr/src/googletest,
# and the same sources build natively and under mingw-w64.
set(VELORIUM_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
if(NOT EXISTS "${VELORIUM_GTEST_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "GoogleTest sources not found in ${VELORIUM_GTEST_SOURCE}; run scripts/setup")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELORIUM_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
if(NOT MSVC)
  # Built for building quickly, as the tests are (tests/CMakeLists.txt).
  target_compile_options(gtest PRIVATE $<$<CONFIG:Release>:-O1>)
endif()
