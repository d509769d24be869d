# The same source gives the same programs in any folder: the compilers write the source and build
# folders' paths (in __FILE__ and debug information) relative to them. The build folder comes
# last, since it may lie inside the source folder, and GCC takes the last map that matches.
if(NOT MSVC)
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
endif()
